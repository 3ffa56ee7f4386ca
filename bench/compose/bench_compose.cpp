// Composition and repaint of the 5 × 13 label sheet (A4, margins 10 / 10.7 mm,
// field spacing 1 mm), every field a visible two-line text of 3 mm.
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_compose [ROUNDS [FOLDER]]
//
// With FOLDER the rendered pages are saved there as compose-zoomN.png.
// Figures, each the minimum and median of many rounds:
//  - Recompose (TDocument::Commit), canvas hidden: the element building alone
//    (a hidden canvas does not repaint), without undo snapshot.
//  - Recompose, canvas shown: the same plus the synchronous repaint that
//    Commit asks of a visible canvas, as after an edit in the window
//    (with QGuiApplication::sync() as below).
//  - render: canvas.render() of the whole page into an image of the canvas's
//    size (one paint event for the full page, no window system involved).
//  - repaint, whole page: canvas.repaint() of the canvas shown as a window of
//    its full page size; paint event, backing store and flush of the
//    platform in use, and QGuiApplication::sync() so that a window system
//    has taken the picture (a round trip to the X server under xcb).
//  - repaint, viewport: the canvas inside a scroll area whose viewport is
//    1600 × 900, as in a maximised main window; only the visible part of the
//    page is painted.
// Zoom 1 and zoom 4 (page of 794 × 1123 and 3175 × 4490 pixels at 96 dpi).
#include "document/document.h"
#include "model/rs.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace
{
struct Figures {
    double min, median;
};

Figures measure(int rounds, const std::function<void()> &fn)
{
    fn(); // warm-up: glyph caches, backing store
    std::vector<double> ms;
    ms.reserve(size_t(rounds));
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void print(const char *what, int rounds, Figures f, const char *goal = "")
{
    std::printf("%-44s %5d rounds  min %8.3f ms  median %8.3f ms  %s\n", what, rounds, f.min, f.median, goal);
}

// Pixels of the image that are neither the page colour nor the page margin.
int inkPixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qGray(line[x]) < 128)
                ++n;
    }
    return n;
}

void fillSheet(TRS &sheet)
{
    sheet.SetLayout(5, 13, 210, 297, 10, 10, 10.7, 10.7, 0, 1, clWhite);
    int n = 0;
    for (std::int32_t c = 0; c < sheet.ColumnCount; ++c)
        for (std::int32_t r = 0; r < sheet.RowCount; ++r) {
            TRSObject *f = sheet.GetField(c, r);
            f->Kind = 1;
            f->Visible = true;
            // Windows-1252: ü = FC, ö = F6.
            f->Text = "M\xFCller & S\xF6hne GmbH\r\nAbteilung Einkauf " + std::to_string(++n);
            f->FontHeight = 3.0;
        }
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 1000;
    platform::SetMessageHandler([](const platform::Message &) { return int(platform::mrOk); });
    platform::Printer::Instance().SetSystemPrintersEnabled(false);
    platform::Printer::Instance().Refresh();

    TDocument document;
    TRS &sheet = document.Sheet();
    fillSheet(sheet);

    TDPaintbox canvas;
    canvas.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
    canvas.SetZoomFaktor(1.0);
    document.SetCanvas(&canvas); // the canvas views the document's page
    document.Commit(false);
    canvas.SelectPage(0, false);
    const int background = canvas.ElementCount();
    canvas.SelectPage(1, false);
    const int fields = canvas.ElementCount();

    std::printf("platform %s, screen dpi %d, sheet 5 x 13 = %d text fields\n",
                qPrintable(QGuiApplication::platformName()), canvas.ScreenDpi(),
                sheet.ColumnCount * sheet.RowCount);
    std::printf("canvas elements: %d background, %d fields\n\n", background, fields);

    print("Recompose, canvas hidden (no repaint)", rounds, measure(rounds, [&] { document.Commit(false); }),
          "goal < 3 ms");

    for (const double zoom : {1.0, 4.0}) {
        canvas.SetZoomFaktor(zoom);
        const QSize page = canvas.size();
        const int n = zoom > 1 ? std::max(5, rounds / 40) : std::max(5, rounds / 5);
        std::printf("\nzoom %.0f: page %d x %d px\n", zoom, page.width(), page.height());

        QImage image(page, QImage::Format_ARGB32_Premultiplied);
        const Figures r = measure(n, [&] {
            image.fill(Qt::gray);
            canvas.render(&image);
        });
        print("render, whole page", n, r, zoom == 1 ? "goal < 16 ms" : "");
        std::printf("  (dark pixels in the rendered page: %d)\n", inkPixels(image));
        if (argc > 2)
            image.save(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/compose-zoom%1.png").arg(zoom));

        canvas.show();
        QApplication::processEvents();
        print("repaint, whole page (shown canvas)", n,
              measure(n,
                      [&] {
                          canvas.repaint();
                          QGuiApplication::sync();
                      }),
              zoom == 1 ? "goal < 16 ms" : "");
        print("Recompose, canvas shown (incl. repaint)", n, measure(n, [&] {
                  document.Commit(false);
                  QGuiApplication::sync();
              }));
        canvas.hide();
        QApplication::processEvents();
    }

    // The canvas in a scroll area as in the main window: a repaint draws only
    // what the viewport shows.
    QScrollArea area;
    area.setWidget(&canvas);
    area.resize(1600 + area.verticalScrollBar()->sizeHint().width(),
                900 + area.horizontalScrollBar()->sizeHint().height());
    area.show();
    for (const double zoom : {1.0, 4.0}) {
        canvas.SetZoomFaktor(zoom);
        QApplication::processEvents();
        const int n = std::max(5, rounds / 5);
        const QSize vp = area.viewport()->size();
        char what[80];
        std::snprintf(what, sizeof what, "repaint, viewport %dx%d, zoom %.0f", vp.width(), vp.height(), zoom);
        print(what, n, measure(n, [&] {
                  canvas.repaint();
                  QGuiApplication::sync();
              }));
    }
    area.takeWidget();
    return 0;
}
