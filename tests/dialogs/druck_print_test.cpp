// The print command through CUPS-PDF queues of the tests' own: one document
// per copy with its title, where the ink lies with and without shift and cut
// lines, and the status question for a stopped and an unreachable printer.

#include "../platform/print_output.h"
#include "../platform/test_queues.h"
#include "druck_testing.h"
#include "testsupport.h"

#include "controls/SpezialSpin.h"
#include "platform/ini.h"

#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVLabel.h"
#include "controls/MUVPanel.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

using namespace printoutput;
using testqueues::TestQueue;

namespace
{

// The queue as the program's printer while it lives.
class CurrentQueue
{
  public:
    CurrentQueue(const QString &tag, const QStringList &options = {},
                 const QString &device = QStringLiteral("cups-pdf:/"))
        : queue_(tag, options, device)
    {
        if (queue_.Ok())
            selected_ = platform::Printer::Instance().SetPrinterName(queue_.Name());
    }
    ~CurrentQueue()
    {
        platform::Printer &p = platform::Printer::Instance();
        p.SetPrinterIndex(-1);
        p.Refresh();
    }
    bool Ok() const { return queue_.Ok() && selected_; }
    QString Why() const { return queue_.Ok() ? QStringLiteral("nicht wählbar") : queue_.Why(); }
    const QString &Name() const { return queue_.Name(); }

  private:
    TestQueue queue_;
    bool selected_ = false;
};

void UprightSheet(TDocument &doc)
{
    doc.Sheet().SetLayout(2, 3, 210, 297, 10, 10, 20, 20, 4, 2, 0x00FFFF);
    doc.Opened();
}

} // namespace

TEST(DruckJob, EveryCopyIsADocumentOfItsOwnWithItsNumberInTheTitle)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    CurrentQueue queue(QStringLiteral("Kopien"));
    if (!queue.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << queue.Why().toStdString();
    PrintFixture f;
    for (int copies : {1, 3}) {
        SCOPED_TRACE(copies);
        TForm_druck d(f.document);
        d.RefreshPreview();
        d.Spin_kopien->SetValueReal(copies);
        const QStringList before = Existing();
        ASSERT_TRUE(d.PrintJob());
        const std::map<int, QString> jobs = NewJobs(queue.Name(), before, copies);
        ASSERT_EQ(int(jobs.size()), copies);
        int n = 0;
        for (const auto &[job, path] : jobs) {
            ++n;
            // CUPS-PDF names the file after the title, blanks and brackets as "_".
            EXPECT_TRUE(
                QFileInfo(path).fileName().startsWith(QStringLiteral("Rückenschild__%1_Kopie-job_").arg(n)))
                << path.toStdString();
            QFile::remove(path);
        }
    }
}

TEST(DruckJob, TheShiftMovesContentAndCutLinesButNotTheBackground)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    CurrentQueue queue(QStringLiteral("Schieben"));
    if (!queue.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << queue.Why().toStdString();
    PrintFixture f;
    UprightSheet(f.document);
    platform::Printer::Instance().SetOrientation(QPageLayout::Portrait);
    f.canvas.SetPageSetup(PrinterPageFor(f.document.Sheet()).setup);
    const TRS &sheet = f.document.Sheet();
    const TRSSpalte *c0 = sheet.GetColumn(0), *c1 = sheet.GetColumn(1);
    ASSERT_TRUE(c0 && c1);
    const double pitch = c1->Height / 3;
    const int dpi = 100;

    struct Case {
        double dx, dy;
    };
    for (const Case c : {Case{0, 0}, Case{5, 7}}) {
        SCOPED_TRACE(c.dx);
        TForm_druck d(f.document);
        d.cb_Schnittlinien->setChecked(true);
        d.MUVCheckBox1->setChecked(true);
        d.spin_VH->SetValueReal(c.dx);
        d.SPIN_VV->SetValueReal(c.dy);
        // The window's page before the job.
        const int count = f.canvas.ElementCount();
        QImage shown;
        f.canvas.RenderToBitmap(shown, clWhite, 0.5);

        const QStringList before = Existing();
        ASSERT_TRUE(d.PrintJob());
        // The job printed a page of its own: the window's page is as it was.
        EXPECT_EQ(f.canvas.ElementCount(), count);
        EXPECT_EQ(f.canvas.OffsetX(), 0);
        EXPECT_EQ(f.canvas.OffsetY(), 0);
        EXPECT_TRUE(f.canvas.Seite0Ausgabe());
        QImage after;
        f.canvas.RenderToBitmap(after, clWhite, 0.5);
        EXPECT_EQ(after, shown);

        const std::map<int, QString> jobs = NewJobs(queue.Name(), before, 1);
        ASSERT_EQ(jobs.size(), 1u);
        const QImage page = Rasterise(jobs.begin()->second, dpi);
        QFile::remove(jobs.begin()->second);
        ASSERT_FALSE(page.isNull());
        // Above the sheet only the cut lines run: at the columns' edges.
        const std::vector<double> vertical = InkCentres(page, dpi, 8, true);
        ASSERT_EQ(vertical.size(), 3u);
        EXPECT_NEAR(vertical[0], c0->Left + c.dx, 0.4);
        EXPECT_NEAR(vertical[1], c1->Left + c.dx, 0.4);
        EXPECT_NEAR(vertical[2], c1->Left + c1->Width + c.dx, 0.4);
        // Left of the sheet: the row lines.
        const std::vector<double> horizontal = InkCentres(page, dpi, 8, false);
        ASSERT_EQ(horizontal.size(), 4u);
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(horizontal[size_t(j)], c1->Top + j * pitch + c.dy, 0.4);
        EXPECT_NEAR(horizontal[3], c1->Top + c1->Height + c.dy, 0.4);
    }
}

// On large paper the preview gets wider than 324 pixels: the dialog widens to
// it, the preview 16 pixels from the left.
TEST(DruckDialogWide, APreviewWiderThan324PixelsWidensTheDialog)
{
    CurrentQueue queue(QStringLiteral("Gross"), {QStringLiteral("-o"), QStringLiteral("PageSize=A2")});
    if (!queue.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << queue.Why().toStdString();
    PrintFixture f; // a wide sheet: A2 turned
    TForm_druck d(f.document);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QImage page;
    f.canvas.RenderToBitmap(page, clWhite, 0.8);
    const QImage &preview = d.PreviewBitmap();
    EXPECT_EQ(preview.size(), QSize(page.width() / 4, page.height() / 4));
    ASSERT_GT(preview.width() + 32, 356);
    EXPECT_EQ(d.width(), preview.width() + 32);
    EXPECT_EQ(d.img1->x(), 16);
    EXPECT_EQ(d.height(),
              d.pnl1->height() + d.pnl_Drucker->height() + d.pnl_Optionen->height() + d.img1->height() + 32);
    EXPECT_EQ(d.lbl_aktdrucker->Caption(), queue.Name());
    EXPECT_TRUE(d.lbl_Dinfo->text().endsWith(QStringLiteral(" mm (A2)")))
        << d.lbl_Dinfo->text().toStdString();
}

TEST(DruckJob, AStoppedOrUnreachablePrinterIsAskedAbout)
{
    CurrentQueue stopped(QStringLiteral("Pause"));
    if (!stopped.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << stopped.Why().toStdString();
    PrintFixture f;
    MessageCapture messages;

    // Ready: no question.
    {
        TForm_druck d(f.document);
        d.show();
        QTest::mouseClick(d.BTN_OK, Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_TRUE(messages.Messages().empty());
    }

    ASSERT_TRUE(testqueues::RunTool(QStringLiteral("cupsdisable"), {stopped.Name()}));
    const QString t = QStringLiteral(" Drucker befindet sich im Pause-Zustand.");
    const QString question =
        QStringLiteral("Der Drucker meldet : ") + t + QStringLiteral("\r\n\r\nMöchten Sie dennoch drucken ?");
    {
        TForm_druck d(f.document);
        d.show();
        messages.Answer(platform::mrCancel); // shows the bare text, the dialog stays
        QTest::mouseClick(d.BTN_OK, Qt::LeftButton);
        ASSERT_EQ(messages.Messages().size(), 2u);
        EXPECT_EQ(messages.Messages()[0].text, question);
        EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Warning);
        EXPECT_EQ(messages.Messages()[0].buttons, platform::MsgButtons::YesNoCancel);
        EXPECT_EQ(messages.Messages()[1].text, t);
        EXPECT_EQ(messages.Messages()[1].type, platform::MsgType::Plain);
        EXPECT_TRUE(d.isVisible());
        messages.Clear();
        messages.Answer(platform::mrNo); // closes without printing
        QTest::mouseClick(d.BTN_OK, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }
    {
        TForm_druck d(f.document);
        d.show();
        messages.Clear();
        messages.Answer(platform::mrYes); // prints anyway
        QTest::mouseClick(d.BTN_OK, Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(messages.Messages().size(), 1u);
    }
    testqueues::RunTool(QStringLiteral("cupsenable"), {stopped.Name()});

    // A network printer nobody answers for.
    CurrentQueue gone(QStringLiteral("Weg"), {},
                      QStringLiteral("socket://127.0.0.1:%1").arg(testqueues::ClosedLocalPort()));
    ASSERT_TRUE(gone.Ok()) << gone.Why().toStdString();
    TForm_druck d(f.document);
    d.show();
    messages.Clear();
    messages.Answer(platform::mrCancel);
    QTest::mouseClick(d.BTN_OK, Qt::LeftButton);
    ASSERT_FALSE(messages.Messages().empty());
    EXPECT_EQ(messages.Messages()[0].text,
              TForm_druck::StatusQuestion(QStringLiteral(" Drucker ist offline (ausgeschaltet!)")));
    EXPECT_TRUE(d.isVisible());
}

// The shift is kept per printer in "dorlix.ini" of the program folder: read
// when the dialog opens (and written straight back, clamped), written after
// every change of a shift spin, and left alone when it is not to be kept.
TEST(DruckShift, IsRememberedPerPrinterInTheSettingsFile)
{
    CurrentQueue queue(QStringLiteral("Merken"));
    if (!queue.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << queue.Why().toStdString();
    TempProgramFolder folder;
    MessageCapture messages;
    PrintFixture f;
    const QString iniPath = folder.File(QStringLiteral("dorlix.ini"));
    {
        platform::TIniFile ini(iniPath);
        ini.WriteFloat(QStringLiteral("DruckVH"), queue.Name(), 2.5);
        ini.WriteFloat(QStringLiteral("DruckVV"), queue.Name(), 400); // beyond the spin's range
    }
    {
        TForm_druck d(f.document);
        d.show();
        EXPECT_DOUBLE_EQ(d.spin_VH->ValueReal(), 2.5);
        EXPECT_DOUBLE_EQ(d.SPIN_VV->ValueReal(), 297);
        const platform::TIniFile ini(iniPath);
        EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("DruckVV"), queue.Name()), 297);
        // The test queue has no location: no empty brackets.
        EXPECT_EQ(d.lbl_location->text(), QString());

        // Typing and Enter: the delayed change writes both values at once.
        d.spin_VH->Editor()->setFocus();
        d.spin_VH->Editor()->selectAll();
        QTest::keyClicks(d.spin_VH->Editor(), QStringLiteral("-3,5"));
        QTest::keyClick(d.spin_VH->Editor(), Qt::Key_Return);
        EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("DruckVH"), queue.Name()), -3.5);
        EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("DruckVV"), queue.Name()), 297);
    }
    {
        // Not to be kept: nothing is written, nothing read.
        TForm_druck d(f.document);
        d.cb_merk->setChecked(false);
        d.spin_VH->SetValueReal(7);
        d.show();
        EXPECT_DOUBLE_EQ(d.spin_VH->ValueReal(), 7);
        d.spin_VH->Editor()->setFocus();
        QTest::keyClick(d.spin_VH->Editor(), Qt::Key_Return);
        const platform::TIniFile ini(iniPath);
        EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("DruckVH"), queue.Name()), -3.5);
    }
    EXPECT_TRUE(messages.Messages().empty());
}
