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
//  - list into PDF: 1,000 numbered labels, each field a QR code whose data
//    hold the number, through the program's own list output (every record
//    checked, then filled, composed and written page by page into one PDF).
#include "canvas/dpaintbox.h"
#include "document/compose.h"
#include "document/merge.h"
#include "document/merge_pages.h"
#include "document/output.h"
#include "model/barcode.h"
#include "model/picture_internal.h"
#include "model/rs.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QTemporaryDir>

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

// The code of record n; n < 0 gives the code with the record number's
// placeholder.
TBarcodeSettings qr(int n)
{
    return TBarcodeSettings{TBarcodeKind::Qr,
                            QStringLiteral("https://example.org/archiv/ordner/%1")
                                .arg(n < 0 ? QStringLiteral("{#}") : QString::number(n)),
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

    // 1,000 numbered labels into one PDF, 65 to a page, each field a QR code
    // whose data hold the label's number: the way the program prints a list.
    for (std::int32_t col = 0; col < sheet.ColumnCount; ++col)
        for (std::int32_t row = 0; row < sheet.RowCount; ++row)
            SetFieldBarcode(*sheet.GetField(col, row), qr(-1), nullptr);
    QTemporaryDir dir;
    const QString out =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("liste.pdf"));
    QElapsedTimer list;
    list.start();
    TMerge merge;
    TMergeSource source;
    source.Count = 1000;
    QString error;
    if (!merge.Prepare(sheet, source, {}, &error)) {
        std::printf("%s\n", qPrintable(error));
        return 1;
    }
    const double prepared = double(list.nsecsElapsed()) / 1e6;
    TMergePages pages(merge, settings, TPrintOptions{}, false);
    if (!WritePdf(pages, PdfPageSetup(QSizeF(210, 297)), out, QStringLiteral("Liste"), &error)) {
        std::printf("%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%-40s %26.3f ms  (%lld KB, %d pages; every record checked in %.0f ms)  goal < 2000 ms\n",
                "1,000 records with a QR code into a PDF", double(list.nsecsElapsed()) / 1e6,
                static_cast<long long>(QFileInfo(out).size() / 1024), merge.PageCount(), prepared);
    return 0;
}
