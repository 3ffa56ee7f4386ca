#include "platform/ini.h"

#include "platform/system.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(IniFile, ReadsAFileOfTheWindowsProgram)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dorlix.ini");
    // CR LF lines, Windows-1252 text ("\xFC" is ü), names in another case.
    writeBytes(path, "; comment\r\n"
                     "[Pfad]\r\n"
                     "Daten=C:\\R\xFC"
                     "ckenschilder\\\r\n"
                     "  bilder = \"C:\\Bilder \" \r\n"
                     "\r\n"
                     "[ZEILENHOEHE]\r\n"
                     "Wert=1,25\r\n"
                     "[Optionen]\r\n"
                     "SeitenInfo=1\r\n");
    platform::TIniFile ini(path);
    EXPECT_TRUE(ini.FileExists());
    EXPECT_EQ(ini.ReadString("Pfad", "Daten"), QStringLiteral("C:\\Rückenschilder\\"));
    EXPECT_EQ(ini.ReadString("pfad", "Bilder"), QStringLiteral("C:\\Bilder "));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("ZeilenHoehe", "Wert", 1.1), 1.25);
    EXPECT_TRUE(ini.ReadBool("Optionen", "SeitenInfo", false));
    EXPECT_EQ(ini.ReadString("Pfad", "Fehlt", "vorgabe"), QStringLiteral("vorgabe"));
    EXPECT_EQ(ini.ReadInteger("Fehlt", "Wert", 7), 7);
    EXPECT_EQ(ini.ReadSection("Pfad"), (QStringList{"Daten", "bilder"}));
    EXPECT_TRUE(ini.SectionExists("optionen"));
    EXPECT_FALSE(ini.ValueExists("Optionen", "Daten"));

    platform::TIniFile missing(dir.filePath("none.ini"));
    EXPECT_FALSE(missing.FileExists());
    EXPECT_DOUBLE_EQ(missing.ReadFloat("ZeilenHoehe", "Wert", 1.1), 1.1);
    EXPECT_FALSE(missing.SectionExists("Pfad"));
}

TEST(IniFile, WritingKeepsEverythingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dorlix.ini");
    writeBytes(path, "; von Hand\n"
                     "[Pfad]\n"
                     "Daten=/alt\n"
                     "Fremd=bleibt\n"
                     "\n"
                     "[Unbekannt]\n"
                     "x = 1\n");
    platform::TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("Pfad", "Daten", QStringLiteral("/home/anna/Rückenschilder")));
    ASSERT_TRUE(ini.WriteString("Pfad", "Bilder", QStringLiteral("/home/anna/Bilder")));
    ASSERT_TRUE(ini.WriteFloat("ZeilenHoehe", "Wert", 1.1));
    ASSERT_TRUE(ini.WriteBool("Optionen", "SeitenInfo", false));
    EXPECT_EQ(readBytes(path), QByteArray("; von Hand\n"
                                          "[Pfad]\n"
                                          "Daten=/home/anna/R\xC3\xBC"
                                          "ckenschilder\n"
                                          "Fremd=bleibt\n"
                                          "Bilder=/home/anna/Bilder\n"
                                          "\n"
                                          "[Unbekannt]\n"
                                          "x = 1\n"
                                          "\n"
                                          "[ZeilenHoehe]\n"
                                          "Wert=1,1\n"
                                          "\n"
                                          "[Optionen]\n"
                                          "SeitenInfo=0\n"));

    // Writing the same values again changes nothing.
    ASSERT_TRUE(ini.WriteFloat("zeilenhoehe", "WERT", 1.1));
    EXPECT_EQ(readBytes(path).count("Wert=1,1"), 1);

    ASSERT_TRUE(ini.DeleteKey("Pfad", "Fremd"));
    ASSERT_TRUE(ini.EraseSection("Unbekannt"));
    EXPECT_FALSE(ini.ValueExists("Pfad", "Fremd"));
    EXPECT_FALSE(ini.SectionExists("Unbekannt"));
    EXPECT_EQ(ini.ReadString("Pfad", "Bilder"), QStringLiteral("/home/anna/Bilder"));
}

TEST(IniFile, NumbersInTheLocaleFormAndUnreadableValues)
{
    QTemporaryDir dir;
    platform::TIniFile ini(dir.filePath("a.ini"));
    ASSERT_TRUE(ini.WriteFloat("DruckVH", "PDF", -1.75));
    EXPECT_EQ(ini.ReadString("DruckVH", "PDF"), QStringLiteral("-1,75"));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("DruckVH", "PDF"), -1.75);
    ASSERT_TRUE(ini.WriteFloat("DruckVH", "Gross", 1234567.5));
    EXPECT_EQ(ini.ReadString("DruckVH", "Gross"), QStringLiteral("1234567,5"));

    const struct {
        const char *text;
        bool readable;
        double value;
    } floats[] = {{"1,1", true, 1.1}, {"1.1", true, 1.1}, {" 2 ", true, 2},  {"1.234,5", false, 0},
                  {"abc", false, 0},  {"", false, 0},     {"nan", false, 0}, {"inf", false, 0}};
    for (const auto &c : floats) {
        ASSERT_TRUE(ini.WriteString("T", "f", QString::fromLatin1(c.text).trimmed()));
        EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "f", -99), c.readable ? c.value : -99) << c.text;
    }

    const struct {
        const char *text;
        int value;
    } ints[] = {{"42", 42},  {"-5", -5}, {"$1F", 31},        {"0x10", 16},
                {"1,5", -1}, {"x", -1},  {"99999999999", -1}};
    for (const auto &c : ints) {
        ASSERT_TRUE(ini.WriteString("T", "i", QString::fromLatin1(c.text)));
        EXPECT_EQ(ini.ReadInteger("T", "i", -1), c.value) << c.text;
    }
    ASSERT_TRUE(ini.WriteInteger("T", "i", -123));
    EXPECT_EQ(ini.ReadInteger("T", "i"), -123);
    ASSERT_TRUE(ini.WriteString("T", "b", QStringLiteral("2")));
    EXPECT_TRUE(ini.ReadBool("T", "b", false));
    ASSERT_TRUE(ini.WriteString("T", "b", QStringLiteral("ja")));
    EXPECT_TRUE(ini.ReadBool("T", "b", true));
    EXPECT_FALSE(ini.ReadBool("T", "b", false));
}

TEST(IniFile, ValuesComeBackAsWrittenOrAreRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    platform::TIniFile ini(path);
    for (const QString &value : {QStringLiteral(" Ordner mit Blanks "), QStringLiteral("\"in Anführung\""),
                                 QStringLiteral("'x'"), QStringLiteral("a=b;c#d[e]"), QString()}) {
        ASSERT_TRUE(ini.WriteString("Pfad", "Daten", value));
        EXPECT_EQ(ini.ReadString("Pfad", "Daten", "-"), value);
    }

    // Nothing that would break the file's lines is written.
    ASSERT_TRUE(ini.WriteString("Pfad", "Daten", QStringLiteral("/gut")));
    const QByteArray before = readBytes(path);
    EXPECT_FALSE(ini.WriteString("Pfad", "Daten", QStringLiteral("/a\n[Optionen]\nSeitenInfo=1")));
    EXPECT_FALSE(ini.WriteString("Pfad", "Da=ten", QStringLiteral("x")));
    EXPECT_FALSE(ini.WriteString("Pfad", "", QStringLiteral("x")));
    EXPECT_FALSE(ini.WriteString("Pf]ad", "Daten", QStringLiteral("x")));
    EXPECT_FALSE(ini.WriteString("", "Daten", QStringLiteral("x")));
    EXPECT_EQ(readBytes(path), before);

    // A folder that does not exist cannot hold the file.
    platform::TIniFile nowhere(dir.filePath("fehlt/a.ini"));
    EXPECT_FALSE(nowhere.WriteString("Pfad", "Daten", QStringLiteral("x")));
}

TEST(IniFile, TwoObjectsOnOneFileKeepEachOthersChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dorlix.ini");
    platform::TIniFile window(path), printDialog(path);
    ASSERT_TRUE(window.WriteString("Pfad", "Daten", QStringLiteral("/daten")));
    ASSERT_TRUE(printDialog.WriteFloat("DruckVH", "PDF", 0.5));
    ASSERT_TRUE(window.WriteFloat("ZeilenHoehe", "Wert", 1.3));
    EXPECT_DOUBLE_EQ(window.ReadFloat("DruckVH", "PDF"), 0.5);
    EXPECT_EQ(printDialog.ReadString("Pfad", "Daten"), QStringLiteral("/daten"));
}

// A settings file that is there but cannot be read is never replaced by one
// holding only the new key.
TEST(IniFile, AnUnreadableFileIsNotOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dorlix.ini");
    ASSERT_TRUE(QDir().mkdir(path)); // cannot be opened as a file
    platform::TIniFile ini(path);
    EXPECT_FALSE(ini.WriteString("Pfad", "Daten", "/daten"));
    EXPECT_FALSE(ini.DeleteKey("Pfad", "Daten"));
    EXPECT_TRUE(QFileInfo(path).isDir());
}
