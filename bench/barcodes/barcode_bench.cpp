// Barcodes on a 5 × 13 label sheet (A4, margins 10 / 10.7 mm, spacing 1 mm),
// every field a different QR code.
//
//   QT_QPA_PLATFORM=offscreen build/bin/barcode_bench [ROUNDS [OUT.pdf]]
//
// Figures:
//  - encode: one QR code made into a field (libzint and the metafile).
//  - recompose + repaint: the unchanged sheet composed again and the whole
//    page rendered at zoom 1, the paint after an edit; no code is encoded or
//    converted again (the conversions per round are counted).
//  - list into PDF: 1,000 records, each a QR code of its own, filled into
//    copies of the sheet page by page (65 per page), each page composed and
//    drawn into one PDF: what printing a list does.
#include "canvas/dpaintbox.h"
#include "document/compose.h"
#include "model/barcode.h"
#include "model/picture_internal.h"
#include "model/rs.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

struct Figures {
    double min, median;
};

template <class F> Figures measure(int rounds, F fn)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        fn(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

TBarcodeSettings qr(int n)
{
    return TBarcodeSettings{TBarcodeKind::Qr, QStringLiteral("https://example.org/archiv/ordner/%1").arg(n),
                            true, clBlack};
}

// Fills every field of the sheet with the codes of records first, first + 1, …
bool fillCodes(TRS &sheet, int first)
{
    int n = first;
    for (std::int32_t c = 0; c < sheet.ColumnCount; ++c)
        for (std::int32_t r = 0; r < sheet.RowCount; ++r) {
            QString error;
            if (!SetFieldBarcode(*sheet.GetField(c, r), qr(n++), &error)) {
                std::printf("%s\n", qPrintable(error));
                return false;
            }
        }
    return true;
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

    TRS sheet;
    sheet.SetLayout(5, 13, 210, 297, 10, 10, 10.7, 10.7, 0, 1, clWhite);
    TRSObject &one = *sheet.GetField(0, 0);
    const Figures encode = measure(rounds * 10, [&](int i) {
        QString error;
        SetFieldBarcode(one, qr(i), &error);
    });
    std::printf("%-40s %5d rounds  min %8.3f ms  median %8.3f ms\n", "encode one QR code into a field",
                rounds * 10, encode.min, encode.median);

    if (!fillCodes(sheet, 0))
        return 1;
    TComposeSettings settings;
    TDPaintbox canvas;
    canvas.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
    canvas.SetZoomFaktor(1.0);
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    const auto paint = [&](int) {
        ComposeSheet(sheet, canvas.Page(), settings);
        canvas.Redraw();
        canvas.SelectPage(1, false);
        image.fill(Qt::white);
        canvas.render(&image);
    };
    QElapsedTimer first;
    first.start();
    paint(0);
    std::printf("%-40s %26.3f ms\n", "first paint (65 conversions)", double(first.nsecsElapsed()) / 1e6);
    const int before = MetafileConversions();
    const Figures repaint = measure(rounds, paint);
    std::printf("%-40s %5d rounds  min %8.3f ms  median %8.3f ms  conversions/round %.1f  goal < 16 ms\n",
                "recompose + repaint, 65 QR codes", rounds, repaint.min, repaint.median,
                double(MetafileConversions() - before) / rounds);

    // 1,000 records into one PDF, 65 to a page.
    QBuffer pdfBytes;
    pdfBytes.open(QIODevice::WriteOnly);
    QElapsedTimer list;
    list.start();
    {
        QPdfWriter writer(&pdfBytes);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter p(&writer);
        canvas::TDPage page;
        page.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
        page.SetSeite0Ausgabe(false);
        TRS copy;
        copy.Assign(sheet);
        const int perPage = copy.ColumnCount * copy.RowCount;
        for (int record = 0; record < 1000; record += perPage) {
            if (record > 0)
                writer.newPage();
            if (!fillCodes(copy, record))
                return 1;
            ComposeSheet(copy, page, settings);
            canvas::TDrawTarget target = page.PrinterTarget();
            target.map.pixelPerMmX = target.map.pixelPerMmY = 1200 / 25.4;
            target.map.originXMm = target.map.originYMm = 0;
            target.map.zoom = 1.0;
            target.pageInfo = false;
            page.Draw(p, target);
        }
    }
    std::printf("%-40s %26.3f ms  (%lld KB)  goal < 2000 ms\n", "1,000 records with a QR code into a PDF",
                double(list.nsecsElapsed()) / 1e6, static_cast<long long>(pdfBytes.size() / 1024));
    if (argc > 2) {
        QFile out(QString::fromLocal8Bit(argv[2]));
        if (out.open(QIODevice::WriteOnly))
            out.write(pdfBytes.data());
    }
    return 0;
}
