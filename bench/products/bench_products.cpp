// Reads the whole installed label template database several times and
// prints the time of one reading (best and median) and what was left out.
//   bench_products [FOLDER] [RUNS]
#include "model/label_products.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : LabelTemplateFolder();
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
    std::vector<double> ms;
    TLabelProductList list;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        list = ReadLabelProducts(folder);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("folder %s\n", folder.toUtf8().constData());
    std::printf("templates %d, products %d, skipped %d\n", list.TemplatesRead, int(list.Products.size()),
                list.SkippedTotal());
    int noted = 0;
    for (const TLabelProduct &p : list.Products)
        noted += p.Note.isEmpty() ? 0 : 1;
    std::printf("products with narrower fields (note) %d\n", noted);
    for (const auto &[reason, count] : list.Skipped)
        std::printf("  skipped %4d  %s\n", count, reason.toUtf8().constData());
    for (const QString &e : list.FileErrors)
        std::printf("  file error: %s\n", e.toUtf8().constData());
    std::printf("read all (%d runs): best %.1f ms, median %.1f ms, worst %.1f ms\n", runs, ms.front(),
                ms[ms.size() / 2], ms.back());
    return 0;
}
