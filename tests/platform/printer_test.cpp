// The printer object against real CUPS queues: the page comes from the
// queue's own paper, asked with one request; a paper chosen in the printer
// setup dialog stays until another printer is chosen; the status question
// sees stopped and unreachable queues.

#include "platform/printer.h"
#include "platform/printer_cups.h"
#include "test_queues.h"

#include <QPageSize>
#include <QPrinter>

#include <gtest/gtest.h>

#include <thread>

using namespace platform;
using testqueues::TestQueue;

namespace
{

// Leaves the process-wide printer as the next test expects it: the system's
// default printer, portrait, no LPDEST of ours.
class PrinterReset
{
  public:
    PrinterReset() : lpdest_(qgetenv("LPDEST")) {}
    ~PrinterReset()
    {
        if (lpdest_.isEmpty())
            qunsetenv("LPDEST");
        else
            qputenv("LPDEST", lpdest_);
        Printer &p = Printer::Instance();
        p.SetSystemPrintersEnabled(true);
        p.SetOrientation(QPageLayout::Portrait);
        p.SetPrinterIndex(-1);
        p.Refresh();
    }

  private:
    QByteArray lpdest_;
};

// Makes the queue the user's default printer for this process and lets the
// program find it as it does at start: no current printer, one Refresh.
// Returns the number of requests that Refresh sent.
int StartWithDefault(const TestQueue &queue)
{
    qputenv("LPDEST", queue.Name().toUtf8());
    Printer &p = Printer::Instance();
    p.SetPrinterIndex(-1);
    const int before = CupsRequestCount();
    p.Refresh();
    return CupsRequestCount() - before;
}

double WidthMm(const PrinterMetrics &m)
{
    return m.physWidthPx * 25.4 / m.dpiX;
}
double HeightMm(const PrinterMetrics &m)
{
    return m.physHeightPx * 25.4 / m.dpiY;
}

} // namespace

TEST(PrinterQueue, TheDefaultQueuesPaperIsThePageAskedWithOneRequest)
{
    PrinterReset reset;
    TestQueue a4(QStringLiteral("A4"), {QStringLiteral("-o"), QStringLiteral("PageSize=A4")});
    TestQueue letter(QStringLiteral("Letter"), {QStringLiteral("-o"), QStringLiteral("media-default=Letter"),
                                                QStringLiteral("-o"), QStringLiteral("PageSize=Letter")});
    if (!a4.Ok() || !letter.Ok())
        GTEST_SKIP() << "Keine Test-Warteschlange möglich: " << (a4.Why() + letter.Why()).toStdString();
    Printer &p = Printer::Instance();

    struct Case {
        const TestQueue &queue;
        double width, height; // mm as the PPD gives the paper in points
        int windowsId;
    };
    const Case cases[] = {{a4, 595 / 72.0 * 25.4, 842 / 72.0 * 25.4, 9}, {letter, 215.9, 279.4, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.queue.Name().toStdString());
        EXPECT_EQ(StartWithDefault(c.queue), 1);
        const int before = CupsRequestCount();
        EXPECT_EQ(p.PrinterName(), c.queue.Name());
        PrinterMetrics m;
        ASSERT_TRUE(p.Metrics(&m));
        EXPECT_EQ(m.dpiX, 300); // the queue's default resolution
        EXPECT_NEAR(WidthMm(m), c.width, 0.1);
        EXPECT_NEAR(HeightMm(m), c.height, 0.1);
        // CUPS-PDF prints the whole sheet.
        EXPECT_EQ(m.physOffsetXPx, 0);
        EXPECT_EQ(m.printableWidthPx, m.physWidthPx);
        EXPECT_EQ(p.CurrentPaperId(), c.windowsId);
        // Asking about the page again needs no further request, and neither
        // does the paper list of the current printer.
        std::vector<PaperInfo> papers;
        ASSERT_TRUE(p.CurrentPaperList(&papers));
        EXPECT_GE(papers.size(), 10u);
        EXPECT_EQ(CupsRequestCount(), before);
        bool found = false;
        for (const PaperInfo &paper : papers)
            found = found || paper.id == c.windowsId;
        EXPECT_TRUE(found);

        // Landscape turns the same paper.
        p.SetOrientation(QPageLayout::Landscape);
        PrinterMetrics wide;
        ASSERT_TRUE(p.Metrics(&wide));
        EXPECT_EQ(wide.physWidthPx, m.physHeightPx);
        EXPECT_EQ(wide.physHeightPx, m.physWidthPx);
        p.SetOrientation(QPageLayout::Portrait);
    }
}

TEST(PrinterQueue, TheStartsQuestionAskedAheadServesTheFirstRefreshOnly)
{
    PrinterReset reset;
    TestQueue letter(QStringLiteral("Ahead"), {QStringLiteral("-o"), QStringLiteral("media-default=Letter"),
                                               QStringLiteral("-o"), QStringLiteral("PageSize=Letter")});
    if (!letter.Ok())
        GTEST_SKIP() << "Keine Test-Warteschlange möglich: " << letter.Why().toStdString();
    Printer &p = Printer::Instance();
    p.SetPrinterIndex(-1);
    qputenv("LPDEST", letter.Name().toUtf8());

    // As at the start: the question goes out on another thread, and the
    // window asks while the answer may still be on its way.
    const int before = CupsRequestCount();
    std::function<void()> ask = BeginDefaultQueuePrefetch();
    ASSERT_TRUE(ask);
    EXPECT_FALSE(BeginDefaultQueuePrefetch()); // once per process
    std::thread asking(ask);
    p.Refresh();
    asking.join();
    EXPECT_EQ(CupsRequestCount() - before, 1);
    EXPECT_EQ(p.PrinterName(), letter.Name());
    PrinterMetrics m;
    ASSERT_TRUE(p.Metrics(&m));
    EXPECT_NEAR(WidthMm(m), 215.9, 0.1);
    EXPECT_NEAR(HeightMm(m), 279.4, 0.1);

    // Later questions go to the scheduler again and see what changed there.
    ASSERT_TRUE(
        testqueues::RunTool(QStringLiteral("lpadmin"), {QStringLiteral("-p"), letter.Name(),
                                                        QStringLiteral("-L"), QStringLiteral("Lager")}));
    EXPECT_EQ(StartWithDefault(letter), 1);
    EXPECT_EQ(p.Location(), QStringLiteral("Lager"));
}

TEST(PrinterQueue, APaperChosenInTheSetupDialogStaysUntilAnotherPrinterIsChosen)
{
    PrinterReset reset;
    TestQueue a4(QStringLiteral("SetupA"), {QStringLiteral("-o"), QStringLiteral("PageSize=A4")});
    TestQueue letter(QStringLiteral("SetupL"), {QStringLiteral("-o"), QStringLiteral("PageSize=Letter")});
    if (!a4.Ok() || !letter.Ok())
        GTEST_SKIP() << "Keine Test-Warteschlange möglich: " << (a4.Why() + letter.Why()).toStdString();
    Printer &p = Printer::Instance();
    StartWithDefault(a4);
    PrinterMetrics m;

    // The setup dialog works on the device: the user picks A5.
    QPrinter &device = p.Device();
    EXPECT_EQ(device.printerName(), a4.Name());
    EXPECT_EQ(device.pageLayout().pageSize().id(), QPageSize::A4);
    device.setPageSize(QPageSize(QPageSize::A5));
    p.SyncFromDevice();
    ASSERT_TRUE(p.Metrics(&m));
    EXPECT_NEAR(WidthMm(m), 148, 0.6);
    EXPECT_NEAR(HeightMm(m), 210, 0.6);
    EXPECT_EQ(p.CurrentPaperId(), 11); // DMPAPER_A5
    // A refresh asks the queue again but keeps the chosen paper.
    p.Refresh();
    ASSERT_TRUE(p.Metrics(&m));
    EXPECT_NEAR(WidthMm(m), 148, 0.6);

    // Another printer in the dialog: its own paper.
    p.Device().setPrinterName(letter.Name());
    p.SyncFromDevice();
    EXPECT_EQ(p.PrinterName(), letter.Name());
    ASSERT_TRUE(p.Metrics(&m));
    EXPECT_NEAR(WidthMm(m), 215.9, 0.1);
    // Back to the first printer: its default paper, the A5 is forgotten.
    ASSERT_TRUE(p.SetPrinterName(a4.Name()));
    ASSERT_TRUE(p.Metrics(&m));
    EXPECT_NEAR(WidthMm(m), 209.9, 0.1);

    // A printer the print system does not know leaves the current one.
    EXPECT_FALSE(p.SetPrinterName(QStringLiteral("GibtEsNicht%1").arg(QCoreApplication::applicationPid())));
    EXPECT_EQ(p.PrinterName(), a4.Name());
}

TEST(PrinterQueue, WithoutSystemPrintersThereIsNoPrinterAndNoRequest)
{
    PrinterReset reset;
    Printer &p = Printer::Instance();
    p.SetSystemPrintersEnabled(false);
    const int before = CupsRequestCount();
    p.Refresh();
    EXPECT_FALSE(p.HasPrinter());
    EXPECT_TRUE(p.Printers().isEmpty());
    PrinterMetrics m;
    EXPECT_FALSE(p.Metrics(&m));
    EXPECT_EQ(p.CurrentPaperId(), 0);
    EXPECT_FALSE(p.Status().answered);
    EXPECT_EQ(CupsRequestCount(), before);
}

TEST(PrinterQueue, StatusAndLocationComeFromTheQueue)
{
    PrinterReset reset;
    TestQueue office(QStringLiteral("Status"), {QStringLiteral("-L"), QStringLiteral("Büro 2, Flur links")});
    TestQueue gone(QStringLiteral("Gone"), {},
                   QStringLiteral("socket://127.0.0.1:%1").arg(testqueues::ClosedLocalPort()));
    if (!office.Ok() || !gone.Ok())
        GTEST_SKIP() << "Keine Test-Warteschlange möglich: " << (office.Why() + gone.Why()).toStdString();
    Printer &p = Printer::Instance();

    ASSERT_TRUE(p.SetPrinterName(office.Name()));
    EXPECT_EQ(p.Location(), QStringLiteral("Büro 2, Flur links"));
    PrinterStatus s = p.Status();
    EXPECT_TRUE(s.answered);
    EXPECT_EQ(s.state, QueueState::Idle);
    EXPECT_TRUE(StatusQuestionText(s).isEmpty()) << StatusQuestionText(s).toStdString();

    // Stopped by the administrator.
    ASSERT_TRUE(testqueues::RunTool(QStringLiteral("cupsdisable"), {office.Name()}));
    s = p.Status();
    EXPECT_EQ(s.state, QueueState::Stopped);
    EXPECT_EQ(StatusQuestionText(s), QStringLiteral(" Drucker befindet sich im Pause-Zustand."));
    testqueues::RunTool(QStringLiteral("cupsenable"), {office.Name()});
    EXPECT_TRUE(StatusQuestionText(p.Status()).isEmpty());

    // A network printer that takes no connection.
    ASSERT_TRUE(p.SetPrinterName(gone.Name()));
    s = p.Status();
    EXPECT_TRUE(s.answered);
    EXPECT_TRUE(s.deviceUnreachable);
    EXPECT_TRUE(StatusQuestionText(s).contains(QStringLiteral(" Drucker ist offline (ausgeschaltet!)")))
        << StatusQuestionText(s).toStdString();

    // A queue deleted while it is the current printer cannot be asked.
    ASSERT_TRUE(p.SetPrinterName(office.Name()));
    ASSERT_TRUE(testqueues::RunTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), office.Name()}));
    s = p.Status();
    EXPECT_FALSE(s.answered);
    EXPECT_EQ(StatusQuestionText(s), QStringLiteral("Drucker nicht verfügbar!"));
}
