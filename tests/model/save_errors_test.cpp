#include "model/rs.h"
#include "platform/syserror.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

TEST(SystemErrorText, CommonErrorsHaveGermanTextsOthersKeepTheSystemText)
{
    EXPECT_EQ(platform::SystemErrorText(ENOENT),
              QStringLiteral("Die Datei oder der Ordner ist nicht vorhanden."));
    EXPECT_EQ(platform::SystemErrorText(ENOSPC),
              QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei."));
    EXPECT_EQ(platform::SystemErrorText(EROFS), QStringLiteral("Der Datenträger ist schreibgeschützt."));
    EXPECT_EQ(platform::SystemErrorText(ENAMETOOLONG), QStringLiteral("Der Dateiname ist zu lang."));
    // Qt hands the C library's text on; it maps back to the same German text.
    EXPECT_EQ(platform::SystemErrorText(QString::fromLocal8Bit(std::strerror(EACCES))),
              platform::SystemErrorText(EACCES));
    EXPECT_EQ(platform::SystemErrorText(QString::fromLocal8Bit(std::strerror(EDQUOT))),
              platform::SystemErrorText(EDQUOT));
    // A rare error keeps the system's own words behind a German lead.
    const QString rare = platform::SystemErrorText(EXDEV);
    EXPECT_TRUE(rare.startsWith(QStringLiteral("Systemfehler: ")));
    EXPECT_TRUE(rare.endsWith(QString::fromLocal8Bit(std::strerror(EXDEV))));
    EXPECT_EQ(platform::SystemErrorText(QString()), QStringLiteral("Unbekannter Fehler."));
}

class SaveErrors : public ::testing::Test
{
  protected:
    TempProgramFolder program;
    MessageCapture messages; // saving never shows one itself
    QString error;

    static void Fill(TRS &rs)
    {
        rs.SetLayout(5, 13, 210, 297, 5, 5, 5, 5, 0, 0, clWhite);
        for (int c = 0; c < rs.ColumnCount; ++c)
            for (int r = 0; r < rs.RowCount; ++r)
                rs.GetField(c, r)->Text = std::string(200, char('A' + (c + r) % 26));
    }
};

TEST_F(SaveErrors, MissingFolderIsReportedInGerman)
{
    TRS rs;
    Fill(rs);
    const QString target = program.File(QStringLiteral("gibt-es-nicht/etiketten.rsd"));
    EXPECT_FALSE(rs.SaveToFile(target, &error));
    EXPECT_TRUE(messages.Messages().empty());
    const QString &text = error;
    EXPECT_TRUE(text.contains(QStringLiteral("konnte nicht gespeichert werden")));
    EXPECT_TRUE(text.contains(QStringLiteral("Die Datei oder der Ordner ist nicht vorhanden.")));
    EXPECT_FALSE(text.contains(QStringLiteral("No such")));
    EXPECT_FALSE(QFile::exists(target));
}

// A small file system that fills up in the middle of the save (part of a
// block still fits): the save fails with the German disk-full text and the
// file it should have replaced stays as it was.
TEST_F(SaveErrors, FullFileSystemKeepsTheOldFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "Ein kleines Dateisystem lässt sich nur als root einhängen.";
    QTemporaryDir mountPoint;
    ASSERT_TRUE(mountPoint.isValid());
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=64k"), QStringLiteral("tmpfs"), mountPoint.path()}) != 0)
        GTEST_SKIP() << "tmpfs kann hier nicht eingehängt werden.";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {path}); }
    } unmount{mountPoint.path()};

    // The old file, then filler that leaves too little room for the new one.
    TRS old;
    old.SetLayout(1, 1, 210, 297, 0, 0, 0, 0, 0, 0, clYellow);
    const QString target = mountPoint.filePath(QStringLiteral("alt.rsd"));
    ASSERT_TRUE(old.SaveToFile(target));
    QFile oldFile(target);
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    const QByteArray before = oldFile.readAll();
    oldFile.close();
    QFile filler(mountPoint.filePath(QStringLiteral("fueller")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(1024, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    // Room for a part of the new file, not for all of it.
    const qint64 full = QFileInfo(filler.fileName()).size();
    ASSERT_GT(full, 8192);
    ASSERT_TRUE(QFile::resize(filler.fileName(), full - 8192));

    TRS rs;
    Fill(rs);
    EXPECT_FALSE(rs.SaveToFile(target, &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("\r\nAuf dem Datenträger ist kein Platz mehr frei.")))
        << error.toStdString();
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(oldFile.readAll(), before);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

} // namespace
