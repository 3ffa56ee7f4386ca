// "Auf alle Felder kopieren" in the main window on a 5 × 13 label sheet whose
// first field holds a 591 × 400 24-bit picture: the command as the context
// menu runs it (question answered "Ja", the picture copied into all 65
// fields, the undo snapshot written, the page composed) and the repaint of
// the page that follows.
//
//   QT_QPA_PLATFORM=offscreen build/bin/bench_commands [ROUNDS]
//   DISPLAY=:98 build/bin/bench_commands [ROUNDS]          (a real X server)
//
// Before every round the sheet is set back (one picture field, the others
// two-line texts) without being timed. Prints minimum and median.
#include "app/mainwindow.h"
#include "canvas/dpaintbox.h"
#include "document/document.h"
#include "model/picture.h"
#include "model/rs.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "platform/system.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    platform::Printer::Instance().SetSystemPrintersEnabled(false);
    platform::Printer::Instance().Refresh();
    platform::SetMessageHandler([](const platform::Message &) { return int(platform::mrYes); });

    // A program folder of its own, so the undo snapshots go somewhere real.
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("daten"));
    QFile ini(dir.filePath(QStringLiteral("dorlix.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 2;
    ini.write(("[Pfad]\nDaten=" + dir.filePath(QStringLiteral("daten")) + "\n").toLocal8Bit());
    ini.close();
    platform::SetProgramFilePath(dir.filePath(QStringLiteral("dorlix")));

    QImage photo(591, 400, QImage::Format_RGB32);
    {
        QPainter p(&photo);
        p.fillRect(photo.rect(), QColor(40, 90, 160));
        p.setBrush(QColor(230, 120, 20));
        p.drawEllipse(QRect(60, 40, 300, 300));
        p.drawText(photo.rect(), Qt::AlignCenter, QStringLiteral("Lager"));
    }
    const std::unique_ptr<TPicture> picture = TPicture::FromImage(photo);

    auto owner = std::make_unique<TForm1>();
    TForm1 &window = *owner;
    window.resize(1400, 1000);
    window.FormShow();
    window.show();
    TDocument &document = window.Document();
    TRS &sheet = document.Sheet();
    sheet.SetLayout(5, 13, 210, 297, 10, 10, 10.7, 10.7, 0, 1, clWhite);
    document.Opened();
    window.DPaintbox1()->SetZoomFaktor(1.0);
    QApplication::processEvents();

    auto reset = [&] {
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 13; ++r) {
                TRSObject *f = sheet.GetField(c, r);
                f->Visible = true;
                if (c == 0 && r == 0) {
                    f->Kind = TFieldKind::Picture;
                    f->Picture = picture->Clone();
                } else {
                    f->Kind = TFieldKind::Text;
                    f->Picture.reset();
                    f->Text = "Kunde " + std::to_string(c * 13 + r + 1) + "\r\nMusterstra\xDF" + "e 12";
                }
            }
        document.Commit(false);
        window.DPaintbox1()->repaint();
    };
    const TRSObject *first = sheet.GetField(0, 0);
    auto command = [&] {
        window.DPaintbox1XYChange(first->CenterX, first->CenterY);
        window.pm_el_kopietoAllClick();
        window.DPaintbox1()->repaint();
    };

    reset();
    command(); // warm-up: glyph caches, backing store, picture renderings
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        reset();
        QElapsedTimer t;
        t.start();
        command();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    int pictures = 0;
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 13; ++r)
            pictures += sheet.GetField(c, r)->Kind == TFieldKind::Picture && sheet.GetField(c, r)->Picture;
    std::printf("copy to all (picture 591 x 400) + snapshot + repaint, 5 x 13, %d rounds ("
                "%s):\n  min %.2f ms   median %.2f ms   (%d picture fields after the command)\n",
                rounds, qPrintable(QGuiApplication::platformName()), ms.front(), ms[ms.size() / 2], pictures);
    // The window closing with the undo snapshots of every round on disk:
    // from the close to the end of its destruction (what delays the exit).
    qint64 snapshotBytes = 0;
    int snapshots = 0;
    for (const QFileInfo &f : QDir(dir.path()).entryInfoList(QDir::Files))
        if (f.size() > 1000000) {
            ++snapshots;
            snapshotBytes += f.size();
        }
    std::printf("undo snapshots on disk: %d, %.1f MB\n", snapshots, double(snapshotBytes) / 1e6);
    sheet.Modified = false; // no save question
    QElapsedTimer exit;
    exit.start();
    window.close();
    QApplication::processEvents();
    owner.reset();
    std::printf("close and destroy the window with %d undo snapshots: %.1f ms\n", rounds + 1,
                double(exit.nsecsElapsed()) / 1e6);
    std::fflush(stdout);
    std::_Exit(0);
}
