// Reading and writing a 5 × 13 sheet whose fields hold 591 × 400 bitmaps
// (about 46 MB), compared with cp of the same file on the same disk.
//   build/bin/bench_rsfile [FOLDER]
#include "model/rs.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{
double best(int rounds, const std::function<void()> &fn)
{
    double bestMs = 1e18;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        bestMs = std::min(bestMs, t.nsecsElapsed() / 1e6);
    }
    return bestMs;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/bench-XXXXXX" : QString());
    platform::SetProgramFilePath(dir.filePath("dorlix"));

    TRS rs;
    rs.SetLayout(5, 13, 210, 297, 10, 10, 10.7, 10.7, 0, 1, clWhite);
    QImage img(591, 400, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x & 255, y & 255, (x * y) & 255));
    for (auto &c : rs.Columns)
        for (auto &f : c->Fields) {
            f->Kind = TFieldKind::Picture;
            f->Picture = TPicture::FromImage(img);
        }
    const QString file = dir.filePath("bilder.rsd"), copy = dir.filePath("kopie.rsd");
    if (!rs.SaveToFile(file))
        return 2;
    const double mb = QFile(file).size() / 1e6;

    const int rounds = 7;
    const double save = best(rounds, [&] { rs.SaveToFile(file); });
    TRS back;
    const double load = best(rounds, [&] { back.LoadFromFile(file); });
    const double cp = best(rounds, [&] { QProcess::execute("cp", {file, copy}); });
    std::printf("file: %.1f MB, best of %d\n", mb, rounds);
    std::printf("SaveToFile: %7.1f ms  %7.0f MB/s  (%.2f x cp)\n", save, mb / save * 1e3, cp / save);
    std::printf("LoadFromFile: %5.1f ms  %7.0f MB/s  (%.2f x cp)\n", load, mb / load * 1e3, cp / load);
    std::printf("cp: %15.1f ms  %7.0f MB/s\n", cp, mb / cp * 1e3);
    return 0;
}
