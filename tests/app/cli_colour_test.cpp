// dorlix-cli colour: the HSV rules, the named colours and bad arguments.
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace
{
struct ColourRun {
    int code = -1;
    QString out, err;
};

ColourRun Colour(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(DORLIX_BIN_DIR "/dorlix-cli"), QStringList{QStringLiteral("colour")} + args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST(CliColour, ConvertsBothWays)
{
    EXPECT_EQ(Colour({"hsv", "255", "0", "3"}).out, QStringLiteral("359 255 255\n"));
    EXPECT_EQ(Colour({"hsv", "255", "255", "0"}).out, QStringLiteral("60 255 255\n"));
    EXPECT_EQ(Colour({"hsv", "160", "160", "160"}).out, QStringLiteral("0 0 160\n"));
    EXPECT_EQ(Colour({"rgb", "30", "255", "255"}).out, QStringLiteral("255 128 0\n"));
    EXPECT_EQ(Colour({"rgb", "360", "255", "255"}).out, QStringLiteral("255 0 0\n"));
    // Values beyond the ranges are clamped as in the dialog.
    const ColourRun clamped = Colour({"rgb", "-5", "255", "300"});
    EXPECT_EQ(clamped.code, 0);
    EXPECT_EQ(clamped.out, QStringLiteral("255 0 0\n"));
}

TEST(CliColour, ListsTheNamedColours)
{
    const ColourRun r = Colour({"names"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 383);
    // Without a window system the system colours take their fixed values.
    EXPECT_EQ(lines[0], QStringLiteral("0\tclBtnFace\tF0F0F0"));
    EXPECT_EQ(lines[14], QStringLiteral("14\tclAppWorkSpace\tABABAB"));
    EXPECT_EQ(lines[25], QStringLiteral("25\tindianred\tCD5C5C"));
    EXPECT_EQ(lines[170], QStringLiteral("170\tRAL 1000 - Grünbeige\tCDBA88"));
    EXPECT_EQ(lines[382], QStringLiteral("382\tRAL 9023 - Perldunkelgrau\t797B7A"));
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].startsWith(QString::number(i) + QLatin1Char('\t'))) << i;
}

TEST(CliColour, BadArgumentsFailWithAGermanMessage)
{
    for (const QStringList &args :
         {QStringList{}, QStringList{"hsv", "1", "2"}, QStringList{"hsv", "1", "2", "x"},
          QStringList{"hsv", "1", "2", "256"}, QStringList{"hsv", "-1", "0", "0"},
          QStringList{"rgb", "1", "2", "3", "4"}, QStringList{"names", "extra"},
          QStringList{"lab", "1", "2", "3"}, QStringList{"rgb", "1.5", "2", "3"}}) {
        const ColourRun r = Colour(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_TRUE(Colour({"hsv", "1", "2", "x"}).err.contains(QStringLiteral("keine ganze Zahl")));
    EXPECT_TRUE(Colour({"hsv", "1", "2", "256"}).err.contains(QStringLiteral("zwischen 0 und 255")));
    EXPECT_TRUE(Colour({"lab"}).err.contains(QStringLiteral("Aufruf")));
}
