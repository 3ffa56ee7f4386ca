// Recompose plus the first repaint of a 5 × 13 label sheet (A4, margins
// 10 / 10.7 mm, field spacing 1 mm) holding the same picture in every field:
// a JPEG photo, an EMF and a WMF of the test corpus.
//
//   QT_QPA_PLATFORM=offscreen build/bin/picture_sheet_bench [ROUNDS]
//
// Each round recomposes the unchanged sheet and renders the whole page at
// zoom 1 into an image, the paint that follows an edit in the window. The
// figures are the minimum and median of all rounds; the metafile
// conversions are counted over all rounds after the first composition.
#include "canvas/dpaintbox.h"
#include "document/compose.h"
#include "model/picture.h"
#include "model/picture_internal.h"
#include "model/rs.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

void fillSheet(TRS &sheet, const TPicture &picture)
{
    sheet.SetLayout(5, 13, 210, 297, 10, 10, 10.7, 10.7, 0, 1, clWhite);
    for (std::int32_t c = 0; c < sheet.ColumnCount; ++c)
        for (std::int32_t r = 0; r < sheet.RowCount; ++r) {
            TRSObject *f = sheet.GetField(c, r);
            f->Kind = 2;
            f->Visible = true;
            f->Picture = picture.Clone();
        }
}

void run(const char *what, const QString &file, int rounds)
{
    QString error;
    auto picture = TPicture::LoadFromFile(QStringLiteral(DORLIX_CORPUS_DIR "/") + file, &error);
    if (!picture) {
        std::printf("%-34s cannot be loaded: %s\n", what, qPrintable(error));
        return;
    }
    TRS sheet;
    fillSheet(sheet, *picture);
    TComposeSettings settings;
    TDPaintbox canvas;
    canvas.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
    canvas.SetZoomFaktor(1.0);
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    const auto round = [&] {
        ComposeSheet(sheet, canvas.Page(), settings);
        canvas.Redraw();
        canvas.SelectPage(1, false);
        image.fill(Qt::white);
        canvas.render(&image);
    };
    round(); // the first composition converts what it must
    const int conversionsBefore = MetafileConversions();
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        round();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s %4d rounds  min %8.3f ms  median %8.3f ms  conversions/round %.1f  (%s, %d x %d)\n",
                what, rounds, ms.front(), ms[ms.size() / 2],
                double(MetafileConversions() - conversionsBefore) / rounds, qPrintable(file),
                picture->Width(), picture->Height());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 50;
    platform::SetMessageHandler([](const platform::Message &) { return int(platform::mrOk); });
    platform::Printer::Instance().SetSystemPrintersEnabled(false);
    platform::Printer::Instance().Refresh();

    std::printf(
        "Recompose + first repaint (render of the whole page, zoom 1), 5 x 13 fields; goal < 10 ms\n");
    run("JPEG photo in every field", QStringLiteral("jpeg/libjpeg-turbo_testorig.jpg"), rounds);
    run("EMF in every field", QStringLiteral("emf/libemf2svg_test-041.emf"), rounds);
    run("EMF (small) in every field", QStringLiteral("emf/poi_wrench.emf"), rounds);
    run("WMF in every field", QStringLiteral("wmf/dotnet_telescope_01.wmf"), rounds);
    return 0;
}
