// A save killed at any moment leaves the old or the new complete file, never
// a mixture or a torn one, and no temporary file that a later save trips on.
#include "model/rs.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace
{
QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

const QString kHelper = QStringLiteral(DORLIX_BIN_DIR "/save_kill_helper");
} // namespace

TEST(SaveKill, KilledSavesLeaveTheOldOrTheNewFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("gross.rsd"));

    // The two complete files the loop alternates between.
    ASSERT_EQ(QProcess::execute(kHelper, {dir.path(), target, QStringLiteral("reference")}), 0);
    const QByteArray a = digest(target + QStringLiteral(".a")), b = digest(target + QStringLiteral(".b"));
    ASSERT_FALSE(a.isEmpty());
    ASSERT_NE(a, b);
    EXPECT_GT(QFileInfo(target + QStringLiteral(".a")).size(), 46'000'000);

    QRandomGenerator random(20261208);
    int kills = 0, seenA = 0, seenB = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess helper;
        helper.start(kHelper, {dir.path(), target});
        ASSERT_TRUE(helper.waitForStarted());
        ASSERT_TRUE(helper.waitForReadyRead(120'000)) << "the helper never finished its first save";
        // Somewhere inside one of the next saves.
        std::this_thread::sleep_for(std::chrono::milliseconds(random.bounded(1, 400)));
        ::kill(pid_t(helper.processId()), SIGKILL);
        helper.waitForFinished();
        ++kills;

        const QByteArray now = digest(target);
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": the file is torn";
        (now == a ? seenA : seenB)++;
        TRS rs;
        MessageCapture messages;
        TempProgramFolder program;
        ASSERT_TRUE(rs.LoadFromFile(target)) << round;
        EXPECT_EQ(rs.GetField(0, 1)->Picture->Width(), 4000);
    }
    EXPECT_EQ(kills, 12);
    EXPECT_GT(seenA + seenB, 0);
    // The next save after the kills still succeeds and reads back.
    TRS rs;
    MessageCapture messages;
    ASSERT_TRUE(rs.LoadFromFile(target));
    TempProgramFolder program;
    rs.Modified = true;
    EXPECT_TRUE(rs.SaveToFile(target));
    EXPECT_TRUE(rs.LoadFromFile(target));
}
