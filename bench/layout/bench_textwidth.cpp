// "Optimierte Textbreite für alle Felder" on the 5 × 13 label sheet (A4,
// margins 10 / 10.7 mm, field spacing 1 mm), every field a visible two-line
// text, followed by the rebuild of the preview, as the command runs it.
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_textwidth [ROUNDS]
//
// Figures, each the minimum and median of ROUNDS rounds (default 200):
//  - fit: reading the 65 drawn widths and setting the new heights alone;
//  - fit + commit, canvas hidden: plus the composition of the page;
//  - fit + commit, canvas shown: plus the repaint of the page at zoom 1;
//  - fit + snapshot + commit, canvas shown: plus the undo snapshot (a label
//    file written to a temporary folder), the whole command.
// Every round starts from the same heights, so every round really scales.
#include "document/document.h"
#include "document/text_width.h"
#include "model/rs.h"
#include "platform/printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

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

Figures measure(int rounds, const std::function<void()> &prepare, const std::function<void()> &fn)
{
    prepare();
    fn(); // warm-up: glyph caches, backing store
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        fn();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void print(const char *what, Figures f)
{
    std::printf("%-46s min %7.2f ms   median %7.2f ms\n", what, f.min, f.median);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    platform::Printer::Instance().SetSystemPrintersEnabled(false);
    platform::Printer::Instance().Refresh();

    TDocument document;
    TRS &sheet = document.Sheet();
    sheet.SetLayout(5, 13, 210, 297, 10, 10, 10.7, 10.7, 0, 1, clWhite);
    TDPaintbox canvas;
    canvas.SetZoomFaktor(1.0);
    document.SetCanvas(&canvas);
    auto reset = [&] {
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 13; ++r) {
                TRSObject *f = sheet.GetField(c, r);
                f->Kind = TFieldKind::Text;
                f->Visible = true;
                f->Text = "Kunde " + std::to_string(c * 13 + r + 1) + "\r\nMusterstra\xDF" + "e 12";
                f->FontHeight = 3;
            }
        document.Commit(false);
    };
    auto fit = [&] {
        FitTextWidths(sheet, TTextFitScope::Sheet, TFieldPos{},
                      [&](const TRSObject &, int c, int r) { return OwnTextWidth(document, c, r); });
    };
    QTemporaryDir dir;
    const QString snapshot = dir.filePath("snapshot.rsd");

    std::printf("5 x 13 label sheet, two-line texts, %d rounds\n", rounds);
    print("fit", measure(rounds, reset, fit));
    print("fit + commit, canvas hidden", measure(rounds, reset, [&] {
              fit();
              document.Commit(false);
          }));
    canvas.show();
    QApplication::processEvents();
    print("fit + commit, canvas shown", measure(rounds, reset, [&] {
              fit();
              document.Commit(false);
              canvas.repaint();
          }));
    print("fit + snapshot + commit, canvas shown", measure(rounds, reset, [&] {
              fit();
              sheet.SaveToFile(snapshot);
              document.Commit(false);
              canvas.repaint();
          }));
    // The result, so that the work cannot be left out.
    std::printf("field (0,0) height after fitting: %.3f mm\n", sheet.GetField(0, 0)->FontHeight);
    return 0;
}
