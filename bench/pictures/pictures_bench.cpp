// Timings of the picture code, printed as a table:
//  - a 4000 × 3000 JPEG reduced for a 50 mm field (591 pixels wide), against
//    `djpeg -scale 1/4` of the same file in the same run;
//  - the first and the cached paint of the largest corpus EMF at 300 dpi.
// Usage: pictures_bench [REPEATS]
#include "model/picture.h"
#include "model/picture_internal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace
{

// Median of repeated runs, in milliseconds.
double medianMs(int repeats, const std::function<void()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A photo-like picture: smooth gradients with fine noise, so that the JPEG
// has the size and entropy of a camera picture.
QImage photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double fx = double(x) / w, fy = double(y) / h;
            const int r = int(128 + 100 * std::sin(fx * 9 + fy * 3)) + noise(random);
            const int g = int(128 + 100 * std::cos(fy * 7 - fx * 2)) + noise(random);
            const int b = int(128 + 90 * std::sin((fx + fy) * 5)) + noise(random);
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

TBytes readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray a = f.readAll();
    return TBytes(a.begin(), a.end());
}

void jpegReduction(int repeats)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("photo-4000x3000.jpg");
    {
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        if (!writer.write(photo(4000, 3000))) {
            std::printf("cannot write the test photo: %s\n", qPrintable(writer.errorString()));
            return;
        }
    }
    std::printf("JPEG 4000 x 3000, %lld bytes, field 50 mm (591 pixels), median of %d runs\n",
                static_cast<long long>(QFileInfo(path).size()), repeats);

    QString error;
    std::unique_ptr<TPicture> loaded;
    const double loadMs =
        medianMs(std::max(3, repeats / 3), [&] { loaded = TPicture::LoadFromFile(path, &error); });
    if (!loaded) {
        std::printf("cannot load the test photo: %s\n", qPrintable(error));
        return;
    }
    std::unique_ptr<TPicture> reduced;
    const double reduceMs = medianMs(repeats, [&] { reduced = loaded->ReducedTo300Dpi(50.0); });
    // The other way to the same result: decoding again at libjpeg's 1/4 scale.
    const TBytes bytes = loaded->Bytes();
    const double scaledDecodeMs = medianMs(repeats, [&] {
        QImage quarter;
        DecodeJpeg(bytes, 4, &quarter, nullptr);
        TPicture::FromImage(quarter.scaled(591, 443, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    });

    // The way a field takes a photo file: read, decode at the needed scale, reduce.
    std::unique_ptr<TPicture> placed;
    const double placeMs =
        medianMs(repeats, [&] { placed = TPicture::LoadReducedFromFile(path, 50.0, &error); });

    std::printf("  %-44s %9.1f ms  -> %d x %d\n", "file into a 50 mm field (LoadReducedFromFile)", placeMs,
                placed ? placed->Width() : 0, placed ? placed->Height() : 0);
    std::printf("  %-44s %9.1f ms\n", "load (full decode at once)", loadMs);
    std::printf("  %-44s %9.1f ms  -> %d x %d, %d bit\n", "ReducedTo300Dpi(50 mm)", reduceMs,
                reduced->Width(), reduced->Height(), int(reduced->BmpInfo().bitCount));
    std::printf("  %-44s %9.1f ms\n", "  (decoding at 1/4 + smooth scaling instead)", scaledDecodeMs);

    const QString djpeg = QStandardPaths::findExecutable("djpeg");
    if (djpeg.isEmpty()) {
        std::printf("  djpeg not found (libjpeg-turbo-progs): no comparison\n");
        return;
    }
    bool djpegOk = true;
    const double djpegMs = medianMs(repeats, [&] {
        QProcess p;
        p.start(djpeg, {"-scale", "1/4", "-outfile", "/dev/null", path});
        djpegOk = djpegOk && p.waitForFinished(60000) && p.exitCode() == 0;
    });
    std::printf("  %-44s %9.1f ms%s\n", "djpeg -scale 1/4 (process, file to /dev/null)", djpegMs,
                djpegOk ? "" : "  (djpeg failed)");
    std::printf("  %-44s %9.2f   (goal: at most 1.5)\n", "ratio file into field / djpeg", placeMs / djpegMs);
    std::printf("  %-44s %9.2f\n", "ratio reduce of a loaded photo / djpeg", reduceMs / djpegMs);
}

void metafilePaints(int repeats)
{
    // The largest EMF of the corpus.
    const QDir dir(QStringLiteral(DORLIX_CORPUS_DIR "/emf"));
    QString largest;
    qint64 size = -1;
    for (const QFileInfo &info : dir.entryInfoList({"*.emf"}, QDir::Files))
        if (info.size() > size && !info.fileName().contains("bad")) {
            size = info.size();
            largest = info.filePath();
        }
    for (const QString &path : {largest, dir.filePath("poi_wrench.emf")}) {
        const TBytes bytes = readAll(path);
        QString error;
        auto probe = TPicture::FromMetafileBytes(bytes, &error);
        if (!probe) {
            std::printf("cannot read %s: %s\n", qPrintable(path), qPrintable(error));
            continue;
        }
        // The header's size at 300 dpi.
        const int w = int(std::lround(probe->Width() * 300.0 / 96.0));
        const int h = int(std::lround(probe->Height() * 300.0 / 96.0));
        QImage page(w, h, QImage::Format_RGB32);
        auto paint = [&](const TPicture &pic, const QRectF &box) {
            QPainter p(&page);
            pic.Draw(p, box);
        };
        const QRectF box(0, 0, w, h);
        // First paint: a fresh picture, converted and rendered.
        const double first = medianMs(repeats, [&] {
            auto pic = TPicture::FromMetafileBytes(bytes, nullptr);
            paint(*pic, box);
        });
        auto pic = TPicture::FromMetafileBytes(bytes, nullptr);
        paint(*pic, box);
        const double cached = medianMs(repeats * 5, [&] { paint(*pic, box); });
        int flip = 0;
        const double resized = medianMs(repeats, [&] {
            paint(*pic, QRectF(0, 0, w - 1 - (flip++ % 2), h - 1)); // another size each time
        });
        std::printf("EMF %s (%lld bytes) at 300 dpi, %d x %d pixels\n",
                    qPrintable(QFileInfo(path).fileName()), static_cast<long long>(bytes.size()), w, h);
        std::printf("  %-44s %9.3f ms\n", "first paint (conversion + rendering)", first);
        std::printf("  %-44s %9.3f ms\n", "cached paint (same size)", cached);
        std::printf("  %-44s %9.3f ms\n", "cached conversion, new size", resized);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    jpegReduction(repeats);
    metafilePaints(repeats);
    return 0;
}
