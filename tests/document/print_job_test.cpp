// The print job's page: what the options put on it, the shift of the content
// only, the titles, the job without a printer, and the shift kept per printer.

#include "testsupport.h"

#include "canvas/dpage.h"
#include "document/print_job.h"
#include "model/rs.h"
#include "platform/ini.h"
#include "platform/printer.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
class NoPrinters
{
  public:
    NoPrinters()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
    }
    ~NoPrinters()
    {
        platform::Printer::Instance().SetPdfOutput(QString());
        platform::Printer::Instance().SetSystemPrintersEnabled(true);
        platform::Printer::Instance().Refresh();
        platform::Printer::Instance().SetOrientation(QPageLayout::Portrait);
    }
};

void UprightSheet(TRS &sheet)
{
    sheet.SetLayout(2, 3, 210, 297, 10, 10, 20, 20, 4, 2, 0x00FFFF);
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 3; ++r)
            sheet.GetField(c, r)->Text = "Ordner";
}
} // namespace

TEST(PrintJobPage, TheShiftMovesTheContentAndTheCutLinesButNotTheBackground)
{
    NoPrinters none;
    TRS sheet;
    UprightSheet(sheet);
    canvas::TDPage plain, shifted;
    TPrintOptions options;
    options.Background = true;
    options.CutLines = true;
    options.ShiftX = 5;
    options.ShiftY = -3;
    ComposePrintPage(sheet, plain, TComposeSettings{}, options, false);
    ComposePrintPage(sheet, shifted, TComposeSettings{}, options, true);

    ASSERT_EQ(plain.Elements(0).size(), shifted.Elements(0).size());
    ASSERT_EQ(plain.Elements(1).size(), shifted.Elements(1).size());
    ASSERT_FALSE(plain.Elements(0).empty());
    for (int i = 0; i < int(plain.Elements(0).size()); ++i) {
        canvas::ElementInfo a, b;
        plain.GetElementInfo(0, i, a);
        shifted.GetElementInfo(0, i, b);
        EXPECT_DOUBLE_EQ(a.x, b.x);
        EXPECT_DOUBLE_EQ(a.y, b.y);
    }
    for (int i = 0; i < int(plain.Elements(1).size()); ++i) {
        canvas::ElementInfo a, b;
        plain.GetElementInfo(1, i, a);
        shifted.GetElementInfo(1, i, b);
        EXPECT_NEAR(b.x, a.x + 5, 1e-9);
        EXPECT_NEAR(b.y, a.y - 3, 1e-9);
    }
    // The cut lines are the last elements of the content page.
    canvas::TDPage without;
    options.CutLines = false;
    ComposePrintPage(sheet, without, TComposeSettings{}, options, false);
    EXPECT_EQ(plain.Elements(1).size(), without.Elements(1).size() + CutLines(sheet, 210, 297).size());
    EXPECT_TRUE(plain.Seite0Ausgabe());
    EXPECT_FALSE(plain.PageInfosShown());
    options.Background = false;
    ComposePrintPage(sheet, without, TComposeSettings{}, options, false);
    EXPECT_FALSE(without.Seite0Ausgabe());
}

TEST(PrintJobPage, AWideSheetIsComposedOnATurnedPage)
{
    NoPrinters none;
    TRS sheet;
    sheet.SetLayout(4, 1, 297, 210, 10, 10, 20, 20, 4, 2, clWhite);
    canvas::TDPage page(PrinterPageFor(sheet).setup);
    ComposePrintPage(sheet, page, TComposeSettings{}, TPrintOptions{}, false);
    EXPECT_NEAR(page.PageWidthMm(), 297, 0.1);
    EXPECT_NEAR(page.PageHeightMm(), 210, 0.1);
    EXPECT_EQ(page.Orientation(), QPageLayout::Landscape);
    // Reading the page leaves the printer's own orientation alone.
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Portrait);
}

TEST(PrintJob, TitlesCountTheCopies)
{
    EXPECT_EQ(PrintCopyTitle(1), QStringLiteral("Rückenschild (1 Kopie)"));
    EXPECT_EQ(PrintCopyTitle(12), QStringLiteral("Rückenschild (12 Kopie)"));
    EXPECT_EQ(CalibrationTitle(), QStringLiteral("Testseite zum Ausmessen"));
}

TEST(PrintJob, WithoutAPrinterNothingIsPrintedAndTheReasonIsGerman)
{
    NoPrinters none;
    TRS sheet;
    UprightSheet(sheet);
    QString error;
    EXPECT_FALSE(PrintSheet(sheet, TComposeSettings{}, TPrintOptions{}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("kein Drucker"))) << error.toStdString();
    error.clear();
    EXPECT_FALSE(PrintCalibrationPage(1, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("kein Drucker")));

    // Documents written to a file instead.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("job.pdf"));
    platform::Printer::Instance().SetPdfOutput(pdf);
    EXPECT_TRUE(PrintSheet(sheet, TComposeSettings{}, TPrintOptions{}, &error));
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    QFile::remove(pdf);
    EXPECT_TRUE(PrintCalibrationPage(1, &error));
    EXPECT_GT(QFileInfo(pdf).size(), 0);
}

TEST(PrintJob, TheKeptShiftIsReadPerPrinterAndClampedToTheDialogsRange)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("dorlix.ini"));
    {
        platform::TIniFile f(ini);
        f.WriteFloat(QStringLiteral("DruckVH"), QStringLiteral("Buero"), 2.5);
        f.WriteFloat(QStringLiteral("DruckVV"), QStringLiteral("Buero"), 400);
        f.WriteString(QStringLiteral("DruckVH"), QStringLiteral("Keller"), QStringLiteral("quer"));
        f.WriteFloat(QStringLiteral("DruckVV"), QStringLiteral("Keller"), -30);
    }
    TRememberedShift s = ReadRememberedShift(ini, QStringLiteral("Buero"));
    EXPECT_DOUBLE_EQ(s.x, 2.5);
    EXPECT_DOUBLE_EQ(s.y, 297);
    s = ReadRememberedShift(ini, QStringLiteral("Keller"));
    EXPECT_DOUBLE_EQ(s.x, 0);
    EXPECT_DOUBLE_EQ(s.y, -10);
    s = ReadRememberedShift(ini, QStringLiteral("Neu"));
    EXPECT_DOUBLE_EQ(s.x, 0);
    EXPECT_DOUBLE_EQ(s.y, 0);
    WriteRememberedShift(ini, QStringLiteral("Neu"), TRememberedShift{-1.5, 3});
    s = ReadRememberedShift(ini, QStringLiteral("Neu"));
    EXPECT_DOUBLE_EQ(s.x, -1.5);
    EXPECT_DOUBLE_EQ(s.y, 3);
}
