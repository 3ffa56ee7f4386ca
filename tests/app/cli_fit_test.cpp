// dorlix-cli fit: the text width fitting of the context menu for scripts.
#include "model/rs.h"
#include "testsupport.h"

#include <QFile>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace
{

// The text heights of a label file, column by column.
std::vector<double> heights(const QString &path)
{
    const ProcessRun r = RunCli({"dump", path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    std::vector<double> out;
    if (r.code != 0)
        return out;
    const auto sheet = nlohmann::json::parse(r.out.toStdString());
    for (const auto &c : sheet["Columns"])
        for (const auto &f : c["Fields"])
            out.push_back(f["FontHeight"].get<double>());
    return out;
}
} // namespace

TEST(CliFit, FitsTheChosenFieldsOnceAndRefusesWithoutTouchingTheFile)
{
    TempProgramFolder dir;
    const QString in = dir.File("ordner.rsd"), out = dir.File("angepasst.rsd");
    {
        // Two columns of two rows: texts everywhere but a picture field at (2, 2).
        TRS sheet;
        sheet.SetLayout(2, 2, 210, 297, 20, 20, 20, 20, 10, 4, clWhite);
        for (int c = 0; c < 2; ++c)
            for (int r = 0; r < 2; ++r) {
                TRSObject *f = sheet.GetField(c, r);
                f->Kind = TFieldKind::Text;
                f->Visible = true;
                f->Text = "Ordner 2026";
            }
        sheet.GetField(1, 1)->Kind = TFieldKind::Picture;
        ASSERT_TRUE(sheet.SaveToFile(in));
    }
    const QByteArray original = FileBytes(in);
    // Indices of heights(): column-major, (column 1, row 2) is 1.
    const ProcessRun one = RunCli({"fit", in, out, "--field", "1", "2"});
    ASSERT_EQ(one.code, 0) << one.err.toStdString();
    EXPECT_EQ(FileBytes(in), original);
    std::vector<double> h = heights(out);
    ASSERT_EQ(h.size(), 4u);
    EXPECT_NE(h[1], 8);
    EXPECT_EQ(h[0], 8);
    EXPECT_EQ(h[2], 8);
    const double fitted = h[1];

    // A fitted file fitted again keeps its heights; the picture field is left alone.
    ASSERT_EQ(RunCli({"fit", out, "--all"}).code, 0);
    h = heights(out);
    ASSERT_EQ(h.size(), 4u);
    EXPECT_NEAR(h[1], fitted, 1e-9);
    EXPECT_NEAR(h[0], fitted, 1e-9); // the same text in a column of the same width
    EXPECT_EQ(h[3], 8);
    ASSERT_EQ(RunCli({"fit", out, "--column", "2"}).code, 0);
    EXPECT_NEAR(heights(out)[2], fitted, 1e-9);

    // Refused: the file stays as it was, the reason is German.
    const std::vector<std::pair<QStringList, QByteArray>> refusals = {
        {{"fit", in, "--column", "3"}, "Die Spalte 3 gibt es nicht: der Bogen hat 2 Spalten."},
        {{"fit", in, "--field", "2", "3"}, "Die Reihe 3 gibt es nicht: der Bogen hat 2 Reihen."},
        {{"fit", in, "--field", "2", "2"}, "Das Feld in Spalte 2, Reihe 2 zeigt keinen Text"},
        {{"fit", in, "--column", "0"}, "Ungültige Spalte: \"0\""},
        {{"fit", in, "--field", "1"}, "Ungültiges Feld: \"1\""},
        {{"fit", in, "--all", "--column", "1"}, "Aufruf: dorlix-cli fit"},
        {{"fit", in}, "Aufruf: dorlix-cli fit"},
        {{"fit", dir.File("fehlt.rsd"), "--all"}, "nicht gefunden"},
    };
    for (const auto &[args, message] : refusals) {
        const ProcessRun r = RunCli(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(message)) << r.err.toStdString();
    }
    EXPECT_EQ(FileBytes(in), original);
    EXPECT_FALSE(QFile::exists(dir.File("fehlt.rsd")));
}
