// dorlix-cli pdf: the printed page as a vector PDF, checked with the
// poppler tools (pdfinfo, pdftoppm, pdftotext, pdfimages).
#include "testsupport.h"

#include "model/picture.h"
#include "model/rs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace
{

QString tool(const QString &program, const QStringList &args)
{
    return QString::fromUtf8(RunProgram(program, args).out);
}

// The page size in points as pdfinfo reports it.
QSizeF pageSize(const QString &pdf)
{
    static const QRegularExpression re(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const auto m = re.match(tool(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// The page rasterised at dpi by poppler.
QImage raster(const QString &pdf, int dpi)
{
    const QString base = pdf + QStringLiteral("-r");
    tool(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-png", "-singlefile", pdf, base});
    return QImage(base + QStringLiteral(".png"));
}

// The darkest grey value in a square of ±r pixels around the mm point.
int darkest(const QImage &img, double xMm, double yMm, int dpi, int r = 1)
{
    const int cx = int(xMm / 25.4 * dpi), cy = int(yMm / 25.4 * dpi);
    int best = 255;
    for (int y = cy - r; y <= cy + r; ++y)
        for (int x = cx - r; x <= cx + r; ++x)
            if (img.valid(x, y))
                best = std::min(best, qGray(img.pixel(x, y)));
    return best;
}

constexpr double kPt = 72 / 25.4;
const QString kBinders = QStringLiteral(DORLIX_SOURCE_DIR "/examples/ordner-4-spalten.rsd");
const QString kLabels = QStringLiteral(DORLIX_SOURCE_DIR "/examples/etiketten-5x13.rsd");

// A 5 × 13 label sheet with the same logo in every field, saved as a label
// file (each field stores its own copy of the bytes).
QString pictureSheet(const TempProgramFolder &dir)
{
    TRS rs;
    rs.SetLayout(5, 13, 210, 297, 0, 0, 2, 2, 0, 2, clWhite);
    QImage logo(160, 80, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.fillRect(QRect(10, 10, 60, 60), QColor(0, 90, 160));
    p.fillRect(QRect(80, 20, 70, 40), QColor(230, 120, 0));
    p.end();
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 13; ++r) {
            TRSObject *f = rs.GetField(c, r);
            f->Kind = TFieldKind::Picture;
            f->Visible = true;
            f->Picture = TPicture::FromImage(logo);
        }
    const QString path = dir.File("logos.rsd");
    EXPECT_TRUE(rs.SaveToFile(path));
    return path;
}
} // namespace

// The PDF page is the sheet's paper in its orientation: the binder sheet is
// A4 landscape by default, Letter and a free size when asked.
TEST(CliPdf, PageSizeFollowsThePaperAndTheSheetsOrientation)
{
    TempProgramFolder dir;
    QByteArray err;
    const QString a4 = dir.File("a4.pdf");
    ASSERT_EQ(CliExitCode({"pdf", kLabels, a4, "--paper", "A4"}, &err), 0) << err.toStdString();
    EXPECT_NEAR(pageSize(a4).width(), 210 * kPt, 0.6);
    EXPECT_NEAR(pageSize(a4).height(), 297 * kPt, 0.6);

    const QString wide = dir.File("quer.pdf");
    ASSERT_EQ(CliExitCode({"pdf", kBinders, wide, "--paper", "A4"}, &err), 0) << err.toStdString();
    EXPECT_NEAR(pageSize(wide).width(), 297 * kPt, 0.6);
    EXPECT_NEAR(pageSize(wide).height(), 210 * kPt, 0.6);

    const QString letter = dir.File("letter.pdf");
    ASSERT_EQ(CliExitCode({"pdf", kLabels, letter, "--paper", "Letter"}, &err), 0) << err.toStdString();
    EXPECT_NEAR(pageSize(letter).width(), 612, 0.6);
    EXPECT_NEAR(pageSize(letter).height(), 792, 0.6);

    const QString free = dir.File("frei.pdf");
    ASSERT_EQ(CliExitCode({"pdf", kLabels, free, "--paper", "100x150mm"}, &err), 0) << err.toStdString();
    EXPECT_NEAR(pageSize(free).width(), 100 * kPt, 0.6);
    EXPECT_NEAR(pageSize(free).height(), 150 * kPt, 0.6);
}

// Ink where the window draws it: the first field's orange fill near the
// left margin; the column's own fill and the cut lines only when asked.
TEST(CliPdf, InkLiesWhereThePageHasIt)
{
    TempProgramFolder dir;
    QByteArray err;
    const QString plain = dir.File("ohne.pdf");
    ASSERT_EQ(CliExitCode({"pdf", kBinders, plain, "--paper", "A4"}, &err), 0) << err.toStdString();
    const QImage img = raster(plain, 100);
    ASSERT_FALSE(img.isNull());
    const auto px = [](const QImage &i, double xMm, double yMm) {
        return i.pixel(int(xMm / 25.4 * 100), int(yMm / 25.4 * 100));
    };
    EXPECT_EQ(px(img, 35, 30), qRgb(255, 165, 0));
    EXPECT_EQ(px(img, 235, 12), qRgb(255, 255, 255)); // no background layer
    EXPECT_EQ(px(img, 5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(darkest(img, 26, 4, 100), 255); // no cut line above the first column

    const QString full = dir.File("mit.pdf");
    ASSERT_EQ(CliExitCode({"pdf", kBinders, full, "--background", "--cutlines", "--paper", "A4"}, &err), 0)
        << err.toStdString();
    const QImage img2 = raster(full, 100);
    EXPECT_EQ(px(img2, 235, 12), qRgb(240, 240, 240));
    EXPECT_LT(darkest(img2, 26, 4, 100), 200); // cut line along the first column's left edge (26 mm)
    EXPECT_EQ(darkest(img2, 22, 4, 100), 255);
}

TEST(CliPdf, TextStaysText)
{
    TempProgramFolder dir;
    const QString out = dir.File("text.pdf");
    ASSERT_EQ(CliExitCode({"pdf", kLabels, out}), 0);
    const QString text = tool(QStringLiteral("pdftotext"), {out, "-"});
    EXPECT_TRUE(text.contains(QStringLiteral("Müller & Söhne GmbH"))) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Abteilung Einkauf")));
}

// 65 fields with the same logo: one image object in the PDF.
TEST(CliPdf, OnePictureInManyFieldsIsEmbeddedOnce)
{
    TempProgramFolder dir;
    const QString sheet = pictureSheet(dir);
    const QString out = dir.File("logos.pdf");
    QByteArray err;
    ASSERT_EQ(CliExitCode({"pdf", sheet, out}, &err), 0) << err.toStdString();
    const QStringList rows =
        tool(QStringLiteral("pdfimages"), {"-list", out}).split(u'\n', Qt::SkipEmptyParts);
    // Two header lines, then one row per placement naming its object.
    ASSERT_GE(rows.size(), 2 + 65);
    QSet<QString> objects;
    for (qsizetype i = 2; i < rows.size(); ++i) {
        const QStringList cols = rows[i].simplified().split(u' ');
        if (cols.size() > 11)
            objects.insert(cols[10] + u' ' + cols[11]);
    }
    EXPECT_EQ(objects.size(), 1);
    std::printf("5 x 13 picture sheet: %lld bytes of PDF\n", static_cast<long long>(QFileInfo(out).size()));
}

TEST(CliPdf, RefusesBadArgumentsAndLeavesNoFileBehind)
{
    TempProgramFolder dir;
    QByteArray err;
    const QString out = dir.File("a.pdf");
    EXPECT_EQ(CliExitCode({"pdf", kLabels}, &err), 2);
    EXPECT_TRUE(err.contains("Aufruf"));
    EXPECT_EQ(CliExitCode({"pdf", kLabels, out, "--paper", "A7"}, &err), 2);
    EXPECT_TRUE(err.contains("Papierformat"));
    EXPECT_EQ(CliExitCode({"pdf", kLabels, out, "--paper", "5x5mm"}, &err), 2);
    EXPECT_EQ(CliExitCode({"pdf", kLabels, out, "--farbig"}, &err), 2);
    EXPECT_TRUE(err.contains("Unbekannte Option: --farbig"));
    EXPECT_EQ(CliExitCode({"pdf", dir.File("fehlt.rsd"), out}, &err), 2);
    EXPECT_TRUE(err.contains("nicht gefunden"));
    EXPECT_FALSE(QFile::exists(out));

    // A broken label file leaves an earlier PDF untouched.
    ASSERT_EQ(CliExitCode({"pdf", kLabels, out}), 0);
    const QByteArray before = [&] {
        QFile f(out);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QFile broken(dir.File("kaputt.rsd"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("kein Rückenschild");
    broken.close();
    EXPECT_EQ(CliExitCode({"pdf", broken.fileName(), out}, &err), 2);
    QFile after(out);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);

    // An output folder that does not exist: message, no file.
    const QString nowhere = dir.File("fehlt/a.pdf");
    EXPECT_EQ(CliExitCode({"pdf", kLabels, nowhere}, &err), 2);
    EXPECT_TRUE(err.contains("nicht geschrieben")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files).filter(QStringLiteral(".tmp")).size(), 0);
}

// The calibration page: the scales' ticks lie at whole millimetres from each
// paper edge, the crosses 20 mm in, and the page explains itself.
TEST(CliPdf, CalibrationScalesLieWhereTheyClaim)
{
    TempProgramFolder dir;
    const QString out = dir.File("test.pdf");
    QByteArray err;
    ASSERT_EQ(CliExitCode({"pdf", "--calibration", out, "--paper", "A4"}, &err), 0) << err.toStdString();
    EXPECT_NEAR(pageSize(out).width(), 210 * kPt, 0.6);
    const int dpi = 200;
    const QImage img = raster(out, dpi);
    ASSERT_FALSE(img.isNull());
    const double midX = 105, midY = 148.5;
    // Left and right scales: 10 mm ticks stand 6 mm above the line, 1 mm
    // ticks 2 mm; between two ticks the paper stays white.
    for (int mm : {10, 20, 30, 40}) {
        EXPECT_LT(darkest(img, mm, midY - 4.5, dpi), 200) << "links " << mm;
        EXPECT_LT(darkest(img, 210 - mm, midY - 4.5, dpi), 200) << "rechts " << mm;
        EXPECT_LT(darkest(img, midX + 4.5, mm, dpi), 200) << "oben " << mm;
        EXPECT_LT(darkest(img, midX + 4.5, 297 - mm, dpi), 200) << "unten " << mm;
    }
    for (double mm : {12.5, 23.5}) {
        EXPECT_EQ(darkest(img, mm, midY - 1, dpi, 0), 255) << mm;
        EXPECT_EQ(darkest(img, midX + 1, mm, dpi, 0), 255) << mm;
    }
    for (int mm : {3, 7, 13}) {
        EXPECT_LT(darkest(img, mm, midY - 1, dpi), 200) << mm;
        EXPECT_EQ(darkest(img, mm, midY - 3, dpi, 0), 255) << mm; // short tick
    }
    // The crosses' centres.
    EXPECT_LT(darkest(img, 20, 20, dpi), 200);
    EXPECT_LT(darkest(img, 190, 277, dpi), 200);
    EXPECT_EQ(darkest(img, 20 + 3, 20 + 3, dpi, 1), 255);
    const QString text = tool(QStringLiteral("pdftotext"), {out, "-"});
    EXPECT_TRUE(text.contains(QStringLiteral("Testseite zum Ausmessen")));
    EXPECT_TRUE(text.contains(QStringLiteral("Horizontal")));
}

// The line factor of the settings file next to the program counts in the PDF
// as it does in the window and on the printer.
TEST(CliPdf, TheLineFactorOfTheSettingsFileSpacesTheLines)
{
    TempProgramFolder dir;
    // The program file in a folder of its own, so its settings file is the test's.
    const QString cli = dir.File("dorlix-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(DORLIX_BIN_DIR "/dorlix-cli"), cli));
    TRS rs;
    rs.SetLayout(1, 1, 210, 297, 20, 20, 20, 20, 0, 0, clWhite);
    TRSObject *f = rs.GetField(0, 0);
    f->Kind = TFieldKind::Text;
    f->Text = "Erste\r\nZweite";
    f->FontHeight = 10;
    f->Visible = true;
    const QString sheet = dir.File("zeilen.rsd");
    ASSERT_TRUE(rs.SaveToFile(sheet));

    // Distance of the two lines' tops in mm, from the words' boxes.
    auto lineDistance = [&] {
        const QString out = dir.File("zeilen.pdf");
        QProcess p;
        p.start(cli, {"pdf", sheet, out, "--paper", "A4"});
        p.waitForFinished(120000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QString html = tool(QStringLiteral("pdftotext"), {"-bbox", out, "-"});
        static const QRegularExpression word(QStringLiteral("yMin=\"([0-9.]+)\"[^>]*>(Erste|Zweite)<"));
        std::map<QString, double> top;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            top[m.captured(2)] = m.captured(1).toDouble() / kPt;
        }
        EXPECT_EQ(top.size(), 2u) << html.toStdString();
        return top.size() == 2 ? top["Zweite"] - top["Erste"] : -1.0;
    };
    EXPECT_NEAR(lineDistance(), 1.1 * 10, 0.3); // without settings: the default factor
    {
        QFile ini(dir.File("dorlix.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[ZeilenHoehe]\r\nWert=2,0\r\n");
    }
    EXPECT_NEAR(lineDistance(), 2.0 * 10, 0.3);
}
