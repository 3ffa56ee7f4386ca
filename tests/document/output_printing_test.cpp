// Printing pages through the output path: on the CUPS-PDF queue the test
// script sets up, or into a PDF file when no scheduler runs. The PDF is read
// back with poppler's tools: page size, title, pages, and where the ink lies
// in millimetres.

#include "../canvas/canvas_testing.h"
#include "../platform/test_queues.h"
#include "document/output.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPageSize>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

using namespace canvas;

namespace
{

QString Run(const QString &program, const QStringList &args, bool *ok = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool done = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (ok)
        *ok = done;
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool HavePoppler()
{
    bool ok = false;
    Run(QStringLiteral("pdfinfo"), {QStringLiteral("-v")}, &ok);
    return ok || QFileInfo::exists(QStringLiteral("/usr/bin/pdfinfo"));
}

struct PdfInfo {
    QString title;
    double widthMm = 0, heightMm = 0;
    int pages = 0;
    int rotation = 0; // the turn a viewer gives the first page
};

PdfInfo ReadPdfInfo(const QString &path)
{
    PdfInfo info;
    const QString out = Run(QStringLiteral("pdfinfo"), {path});
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char(':'), 1).trimmed();
        if (line.startsWith(QLatin1String("Title:")))
            info.title = value;
        else if (line.startsWith(QLatin1String("Pages:")))
            info.pages = value.toInt();
        else if (line.startsWith(QLatin1String("Page rot:")))
            info.rotation = value.toInt();
        else if (line.startsWith(QLatin1String("Page size:"))) {
            const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (parts.size() >= 3) {
                info.widthMm = parts[0].toDouble() / 72.0 * 25.4;
                info.heightMm = parts[2].toDouble() / 72.0 * 25.4;
            }
        }
    }
    return info;
}

// The first page as a grey image at the given resolution.
QImage Rasterise(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                     QStringLiteral("-singlefile"), pdf, base});
    return QImage(base + QStringLiteral(".pgm"));
}

// Where a print of the given title lands: the CUPS-PDF queue when the test
// script set one up, else a PDF file written directly.
class PrintTarget
{
  public:
    PrintTarget()
    {
        const QString queue = qEnvironmentVariable("DORLIX_TEST_PRINTER");
        platform::Printer &printer = platform::Printer::Instance();
        printer.SetSystemPrintersEnabled(true);
        printer.Refresh();
        if (!queue.isEmpty() && printer.SetPrinterName(queue)) {
            cups_ = true;
            outDir_ = QDir::homePath() + QStringLiteral("/PDF");
        } else {
            std::cout
                << "Hinweis: kein CUPS-Drucker (DORLIX_TEST_PRINTER nicht gesetzt oder kein Scheduler); "
                   "der Druck geht direkt in eine PDF-Datei.\n";
            printer.SetSystemPrintersEnabled(false);
            printer.Refresh();
            printer.SetPdfOutput(tmp_.filePath(QStringLiteral("druck.pdf")));
        }
    }
    ~PrintTarget()
    {
        for (const QString &path : printed_)
            QFile::remove(path);
        platform::Printer &printer = platform::Printer::Instance();
        printer.SetPdfOutput(QString());
        printer.SetSystemPrintersEnabled(true);
        printer.SetOrientation(QPageLayout::Portrait);
        printer.Refresh();
    }
    bool Cups() const { return cups_; }

    // A title no earlier run has used.
    QString NewTitle(const QString &base)
    {
        return QStringLiteral("%1 %2 %3").arg(base).arg(QCoreApplication::applicationPid()).arg(++counter_);
    }

    // Files printed with exactly this title, once the queue has written them.
    QStringList Printed(const QString &title, int expected)
    {
        if (!cups_) {
            const QString path = platform::Printer::Instance().PdfOutput();
            return QFileInfo::exists(path) ? QStringList{path} : QStringList();
        }
        QString stem = title;
        stem.replace(QLatin1Char(' '), QLatin1Char('_'));
        QStringList found;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            found.clear();
            const QDir dir(outDir_);
            for (const QString &name : dir.entryList({stem + QStringLiteral("-job_*.pdf")}, QDir::Files)) {
                const QString path = dir.filePath(name);
                if (ReadPdfInfo(path).pages > 0) // complete
                    found << path;
            }
            if (found.size() >= expected)
                break;
            QThread::msleep(100);
        }
        found.sort();
        printed_ += found;
        return found;
    }

  private:
    QTemporaryDir tmp_;
    bool cups_ = false;
    QString outDir_;
    QStringList printed_; // queue output, removed again
    int counter_ = 0;
};

// Pages filled by a function, the same every copy; page n of count gets
// fill(page, n).
class FilledPages : public TPageSource
{
  public:
    FilledPages(std::function<void(TDPage &, int)> fill, int count = 1)
        : fill_(std::move(fill)), count_(count)
    {
    }
    bool Next(TDPage &page) override
    {
        if (next_ >= count_)
            return false;
        page.SelectPage(0);
        page.ClearPage();
        page.SelectPage(1);
        page.ClearPage();
        fill_(page, next_++);
        return true;
    }
    void Rewind() override { next_ = 0; }

  private:
    std::function<void(TDPage &, int)> fill_;
    int count_;
    int next_ = 0;
};

// The printer's page in an orientation, as the window reads it.
platform::PageSetup PrinterPage(QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    return platform::ReadPrinterPage(orientation).setup;
}

// Prints what the source yields, copies times, on the printer's page.
bool Print(TPageSource &pages, const QString &title, int copies = 1,
           QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    QString error;
    const bool printed = PrintPages(
        pages, PrinterPage(orientation), copies, [&](int) { return title; }, false, &error);
    EXPECT_TRUE(printed) << error.toStdString();
    return printed;
}

// On the content page (the current one).
template <typename Page> void AddTestPage(Page &c)
{
    c.SetLineStyle(psSolid, clBlack, 0.5);
    c.SetFillStyle(bsClear, clNone);
    c.AddRectangle(20, 20, 50, 30);
    c.AddLine(30, 100, 150, 100);
    c.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 10.0, 0);
    c.AddText(QStringLiteral("HEH"), 30, 150);
    c.SetLineStyle(psDash, clBlack, 0.5);
    c.AddLine(30, 200, 63, 200);
}

// Ink bounds in mm of the region (in mm) of a page image at dpi.
QRectF InkMm(const QImage &img, int dpi, QRectF regionMm)
{
    const double k = dpi / 25.4;
    const QRect region(QPoint(int(regionMm.left() * k), int(regionMm.top() * k)),
                       QPoint(int(regionMm.right() * k), int(regionMm.bottom() * k)));
    const QRect ink = InkBounds(img, region);
    if (ink.isNull())
        return QRectF();
    return QRectF(QPointF(ink.left() / k, ink.top() / k),
                  QPointF((ink.right() + 1) / k, (ink.bottom() + 1) / k));
}

} // namespace

TEST(OutputPrinting, PrintedPageHasTheTitleThePaperAndTheInkWhereTheCanvasPutIt)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    PrintTarget target;
    TDPaintbox c;
    c.SetPageSetup(PrinterPage());
    AddTestPage(c);
    c.SetSeite0Ausgabe(true);
    const double zoomBefore = c.ZoomFaktor();
    const QString title = target.NewTitle(QStringLiteral("Rückenschild Test"));
    FilledPages pages([](TDPage &page, int) { AddTestPage(page); });
    ASSERT_TRUE(Print(pages, title));
    EXPECT_DOUBLE_EQ(c.ZoomFaktor(), zoomBefore);

    const QStringList files = target.Printed(title, 1);
    ASSERT_EQ(files.size(), 1) << "kein Druck mit dem Titel " << title.toStdString();
    const PdfInfo info = ReadPdfInfo(files[0]);
    // CUPS-PDF names the file after the job title (found above) and repeats
    // it in parentheses inside, its Ghostscript reading the UTF-8 bytes as
    // Latin-1.
    const QStringList titles = {title, QStringLiteral("(%1)").arg(title),
                                QStringLiteral("(%1)").arg(QString::fromLatin1(title.toUtf8()))};
    EXPECT_TRUE(titles.contains(info.title)) << info.title.toStdString();
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.widthMm, c.PageWidthMm(), 0.5);
    EXPECT_NEAR(info.heightMm, c.PageHeightMm(), 0.5);

    const int dpi = 150;
    const QImage page = Rasterise(files[0], dpi);
    ASSERT_FALSE(page.isNull());
    const double tol = 0.4;
    // Rectangle 20..70 x 20..50 mm with a 0.5 mm pen centred on its edges.
    const QRectF rect = InkMm(page, dpi, QRectF(10, 10, 80, 50));
    EXPECT_NEAR(rect.left(), 19.75, tol);
    EXPECT_NEAR(rect.right(), 70.25, tol);
    EXPECT_NEAR(rect.top(), 19.75, tol);
    EXPECT_NEAR(rect.bottom(), 50.25, tol);
    // Line at y = 100 mm from x = 30 to 150 mm.
    const QRectF line = InkMm(page, dpi, QRectF(10, 90, 180, 20));
    EXPECT_NEAR(line.left(), 29.75, tol);
    EXPECT_NEAR(line.right(), 150.25, tol);
    EXPECT_NEAR(line.center().y(), 100, tol);
    EXPECT_NEAR(line.height(), 0.5, tol);
    // Capitals of a 10 mm text: cap height 1409 of a 2288 unit cell, their
    // top 445 units below the anchor.
    const QRectF text = InkMm(page, dpi, QRectF(25, 140, 80, 30));
    EXPECT_NEAR(text.top(), 150 + 10.0 * 445 / 2288, tol);
    EXPECT_NEAR(text.height(), 10.0 * 1409 / 2288, tol);
    EXPECT_NEAR(text.left(), 30.8, 0.6);
    // Dashes of 5 mm, 2 mm apart, the last cut at 63 mm.
    const double k = dpi / 25.4;
    const auto runs = InkRunsInRow(page, int(200 * k), int(20 * k), int(80 * k));
    ASSERT_EQ(runs.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(runs[size_t(i)].first / k, 30 + 7.0 * i - 0.25, tol);
    }
    EXPECT_NEAR((runs.back().second + 1) / k, 63.25, tol);

    // The printed text matches the screen's drawing of it.
    QImage bitmap;
    c.RenderToBitmap(bitmap, clWhite, dpi / 96.0);
    const QRectF shown =
        InkMm(bitmap.convertToFormat(QImage::Format_Grayscale8), dpi, QRectF(25, 140, 80, 30));
    EXPECT_NEAR(shown.left(), text.left(), 0.3);
    EXPECT_NEAR(shown.right(), text.right(), 0.3);
    EXPECT_NEAR(shown.top(), text.top(), 0.3);
    EXPECT_NEAR(shown.bottom(), text.bottom(), 0.3);
}

TEST(OutputPrinting, EveryCopyIsOneDocumentWithEveryPageOfTheSource)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    PrintTarget target;
    // Page n has a line n × 20 mm down; no page, no document.
    FilledPages three(
        [](TDPage &page, int n) {
            page.SetLineStyle(psSolid, clBlack, 0.5);
            page.AddLine(30, 40 + 20 * n, 150, 40 + 20 * n);
        },
        3);
    FilledPages none([](TDPage &, int) {}, 0);
    const QString nothing = target.NewTitle(QStringLiteral("Keine Seite"));
    EXPECT_TRUE(Print(none, nothing));
    EXPECT_TRUE(target.Printed(nothing, 0).isEmpty());
    if (!target.Cups()) {
        // One document with three pages in the file.
        ASSERT_TRUE(Print(three, target.NewTitle(QStringLiteral("Drei Seiten"))));
        const QStringList files = target.Printed(QString(), 1);
        ASSERT_EQ(files.size(), 1);
        EXPECT_EQ(ReadPdfInfo(files[0]).pages, 3);
        GTEST_SKIP() << "Ohne CUPS-Warteschlange gibt es keine getrennten Druckaufträge zu zählen.";
    }
    const QString title = target.NewTitle(QStringLiteral("Zwei Kopien"));
    ASSERT_TRUE(Print(three, title, 2));
    const QStringList files = target.Printed(title, 2);
    ASSERT_EQ(files.size(), 2);
    for (const QString &file : files) {
        ASSERT_EQ(ReadPdfInfo(file).pages, 3);
        // The third page is the third of the source.
        QTemporaryDir dir;
        const QString base = dir.filePath(QStringLiteral("p"));
        ::Run(QStringLiteral("pdftoppm"),
              {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-gray"), QStringLiteral("-f"),
               QStringLiteral("3"), QStringLiteral("-singlefile"), file, base});
        const QRectF line = InkMm(QImage(base + QStringLiteral(".pgm")), 100, QRectF(20, 20, 150, 70));
        EXPECT_NEAR(line.center().y(), 80, 0.5);
    }
}

// A wide sheet of spine labels (text turned by 90 degrees) comes out of the
// PDF queue as a wide page that a viewer shows the way the canvas drew it.
TEST(OutputPrinting, WidePagesPrintInLandscapeTheRightWayUp)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    PrintTarget target;
    if (!target.Cups())
        GTEST_SKIP() << "Ohne CUPS-Drucker gibt es nur die Standardseite im Hochformat.";
    TDPage c(PrinterPage(QPageLayout::Landscape));
    ASSERT_GT(c.PageWidthMm(), c.PageHeightMm());
    FilledPages wide([](TDPage &page, int) {
        page.SetLineStyle(psSolid, clBlack, 1.0);
        page.AddLine(250, 20, 250, 100); // upright, near the right edge
        page.AddLine(20, 30, 60, 30);    // short and flat, near the top left corner
        for (int i = 0; i < 4; ++i) {
            page.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 12.0, 90);
            page.AddText(QStringLiteral("Rechnungen 2026 Ordner %1").arg(i), 60 + 40 * i, 190);
        }
    });
    const QString title = target.NewTitle(QStringLiteral("Querformat"));
    ASSERT_TRUE(Print(wide, title, 1, QPageLayout::Landscape));
    const QStringList files = target.Printed(title, 1);
    ASSERT_EQ(files.size(), 1);
    const PdfInfo info = ReadPdfInfo(files[0]);
    // Shown as drawn: wide, not turned by the viewer.
    EXPECT_EQ(info.rotation % 360, 0);
    EXPECT_NEAR(info.widthMm, c.PageWidthMm(), 0.5);
    EXPECT_NEAR(info.heightMm, c.PageHeightMm(), 0.5);
    const QImage page = Rasterise(files[0], 100);
    ASSERT_GT(page.width(), page.height());
    const QRectF upright = InkMm(page, 100, QRectF(230, 5, 40, 110));
    EXPECT_NEAR(upright.center().x(), 250, 0.5);
    EXPECT_NEAR(upright.top(), 19.5, 0.5);
    EXPECT_NEAR(upright.bottom(), 100.5, 0.5);
    const QRectF flat = InkMm(page, 100, QRectF(10, 20, 45, 20));
    EXPECT_NEAR(flat.left(), 20, 0.5);
    EXPECT_NEAR(flat.center().y(), 30, 0.5);
    // The texts run upwards from their anchors at the bottom.
    const QRectF text = InkMm(page, 100, QRectF(40, 60, 180, 135));
    EXPECT_GT(text.height(), 80);
    EXPECT_LT(text.bottom(), 191);
}

TEST(OutputPrinting, WithoutPrinterTheDefaultPageGoesIntoAPdfFile)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    WithoutPrinters none;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ohne.pdf"));
    platform::Printer::Instance().SetPdfOutput(path);
    FilledPages lines([](TDPage &c, int) {
        c.SetLineStyle(psSolid, clBlack, 0.5);
        // A line along the printable area's left edge and one at the page middle.
        c.AddLine(c.PrintOffsetXMm(), 50, c.PrintOffsetXMm(), 100);
        c.AddLine(100, 150, 120, 150);
    });
    const bool printed = Print(lines, QStringLiteral("Ohne Drucker"));
    platform::Printer::Instance().SetPdfOutput(QString());
    ASSERT_TRUE(printed);
    const PdfInfo info = ReadPdfInfo(path);
    EXPECT_EQ(info.title, QStringLiteral("Ohne Drucker"));
    EXPECT_NEAR(info.widthMm, 209.97, 0.1);
    EXPECT_NEAR(info.heightMm, 297.01, 0.1);
    const QImage page = Rasterise(path, 300);
    const QRectF edge = InkMm(page, 300, QRectF(0, 40, 20, 70));
    EXPECT_NEAR(edge.center().x(), 5.08, 0.15);
    EXPECT_NEAR(edge.top(), 49.75, 0.15);
    const QRectF middle = InkMm(page, 300, QRectF(90, 140, 40, 20));
    EXPECT_NEAR(middle.left(), 99.75, 0.15);
    EXPECT_NEAR(middle.center().y(), 150, 0.15);
}

// The page is the paper the default queue is set to, on the screen, in the
// command-line tool's picture and on the printed sheet: US Letter here.
TEST(OutputPrinting, ThePageIsThePaperOfTheDefaultQueue)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    PrintTarget target;
    if (!target.Cups())
        GTEST_SKIP() << "Ohne CUPS-Drucker gibt es nur die Standardseite.";
    testqueues::TestQueue letter(QStringLiteral("CanvasLetter"),
                                 {QStringLiteral("-o"), QStringLiteral("media-default=Letter"),
                                  QStringLiteral("-o"), QStringLiteral("PageSize=Letter")});
    if (!letter.Ok())
        GTEST_SKIP() << "Keine Test-Warteschlange möglich: " << letter.Why().toStdString();
    const QByteArray oldDest = qgetenv("LPDEST");
    qputenv("LPDEST", letter.Name().toUtf8());
    platform::Printer &printer = platform::Printer::Instance();
    printer.SetPrinterIndex(-1); // as at start: the default printer is found afresh

    TDPaintbox c;
    c.SetPageSetup(PrinterPage());
    EXPECT_EQ(printer.PrinterName(), letter.Name());
    EXPECT_NEAR(c.PageWidthMm(), 215.9, 0.1);
    EXPECT_NEAR(c.PageHeightMm(), 279.4, 0.1);
    EXPECT_EQ(c.PaperName(), QPageSize(QPageSize::Letter).name());
    FilledPages beyondA4([](TDPage &p, int) {
        p.SetLineStyle(psSolid, clBlack, 0.5);
        p.AddLine(200, 270, 210, 270); // beyond A4's width, within Letter's
    });
    const QString title = target.NewTitle(QStringLiteral("Letter"));
    ASSERT_TRUE(Print(beyondA4, title));

    // The command-line tool draws the same page (a wide sheet: Letter turned).
    const QString cli = QStringLiteral(DORLIX_BIN_DIR "/dorlix-cli");
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("seite.png"));
    if (QFileInfo::exists(cli)) {
        QProcess tool;
        tool.start(cli, {QStringLiteral("render"),
                         QStringLiteral(DORLIX_SOURCE_DIR "/examples/ordner-4-spalten.rsd"), png,
                         QStringLiteral("--dpi"), QStringLiteral("100")});
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        const QSize size = QImageReader(png).size();
        EXPECT_NEAR(size.width(), 1100, 1);
        EXPECT_NEAR(size.height(), 850, 1);
    } else {
        std::cout << "Hinweis: dorlix-cli ist nicht gebaut; nur Leinwand und Druck geprüft.\n";
    }

    const QStringList files = target.Printed(title, 1);
    if (oldDest.isEmpty())
        qunsetenv("LPDEST");
    else
        qputenv("LPDEST", oldDest);
    ASSERT_EQ(files.size(), 1);
    const PdfInfo info = ReadPdfInfo(files[0]);
    EXPECT_NEAR(info.widthMm, 215.9, 0.5);
    EXPECT_NEAR(info.heightMm, 279.4, 0.5);
    const QImage page = Rasterise(files[0], 100);
    const QRectF line = InkMm(page, 100, QRectF(190, 260, 25, 20));
    EXPECT_NEAR(line.left(), 199.75, 0.5);
    EXPECT_NEAR(line.right(), 210.25, 0.5);
}
