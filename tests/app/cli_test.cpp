#include "testsupport.h"

#include <QFile>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace
{

QString example(const char *name)
{
    return QStringLiteral(DORLIX_SOURCE_DIR "/examples/") + name;
}
} // namespace

TEST(Cli, DumpShowsEveryValueOfTheSheet)
{
    const ProcessRun r = RunCli({"dump", example("etiketten-5x13.rsd")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const auto j = nlohmann::json::parse(r.out.toStdString());
    EXPECT_EQ(j["Version"], 4);
    EXPECT_EQ(j["ColumnCount"], 5);
    EXPECT_EQ(j["RowCount"], 13);
    EXPECT_DOUBLE_EQ(j["ColumnWidth"].get<double>(), 38.0);
    ASSERT_EQ(j["Columns"].size(), 5u);
    const auto &f = j["Columns"][1]["Fields"][0];
    EXPECT_EQ(f["Text"], "Müller & Söhne GmbH\r\nAbteilung Einkauf");
    EXPECT_EQ(f["FontColor"], 0x800000);
    EXPECT_TRUE(f["Picture"].is_null());
    for (const char *key :
         {"Kind", "Visible", "X1", "Y1", "X2", "Y2", "LinesTopBottom", "LinesLeftRight", "LineColor",
          "LineWidth", "BackgroundColor", "Alignment", "FontName", "FontHeight", "FontStyle", "Angle"})
        EXPECT_TRUE(f.contains(key)) << key;

    const ProcessRun p = RunCli({"dump", example("bilder-3x8.rsd")});
    ASSERT_EQ(p.code, 0);
    const auto pj = nlohmann::json::parse(p.out.toStdString());
    const auto &pic = pj["Columns"][0]["Fields"][0]["Picture"];
    EXPECT_EQ(pic["Type"], "bitmap");
    EXPECT_EQ(pic["Width"], 120);
    EXPECT_EQ(pic["BitCount"], 24);
}

TEST(Cli, ResaveWritesTheSameSheetAndFailuresExitWithTwo)
{
    TempProgramFolder dir;
    const QString out = dir.File("neu.rsd");
    const ProcessRun r = RunCli({"resave", example("ordner-4-spalten.rsd"), out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // Everything but the names of the last save is the same.
    const QByteArray again = RunCli({"dump", out}).out,
                     orig = RunCli({"dump", example("ordner-4-spalten.rsd")}).out;
    EXPECT_EQ(again.mid(again.indexOf("\"Reserved1\"")), orig.mid(orig.indexOf("\"Reserved1\"")));

    QFile bad(dir.File("bad.rsd"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("RUECKENSCHILX_00000004");
    bad.close();
    const ProcessRun b = RunCli({"dump", dir.File("bad.rsd")});
    EXPECT_EQ(b.code, 2);
    EXPECT_EQ(b.err.trimmed(), QByteArray("Falsche Datei: RUECKENSCHILX"));
    EXPECT_TRUE(b.out.isEmpty());

    const ProcessRun missing = RunCli({"dump", dir.File("fehlt.rsd")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains("nicht gefunden"));

    EXPECT_EQ(RunCli({"resave", example("ordner-4-spalten.rsd"), dir.File("kein/ordner.rsd")}).code, 2);
    EXPECT_EQ(RunCli({"gibtsnicht"}).code, 2);
}
