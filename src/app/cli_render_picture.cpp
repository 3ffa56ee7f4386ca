// render-picture: draws a picture file (BMP, JPEG, EMF, WMF, PNG, GIF, TIFF,
// WebP, SVG) into a PNG through the program's own picture code, for checks
// and for converting metafiles.
#include "cli.h"

#include "model/picture.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kMaxOutputSide = 16384;
// Without a width a picture is drawn at its own size up to this width: a
// metafile may claim any size in its header.
constexpr int kDefaultMaxWidth = 2000;
// The most pixels an output may have (some 200 MB of image memory).
constexpr qint64 kMaxOutputPixels = 50'000'000;

int renderPicture(const QStringList &args)
{
    if (args.size() < 2 || args.size() > 3) {
        CliError(QStringLiteral("Aufruf: dorlix-cli render-picture DATEI AUSGABE.png [BREITE]"));
        return kCliFailed;
    }
    QString error;
    const auto pic = TPicture::LoadFromFile(args[0], &error);
    if (!pic) {
        CliError(error);
        return kCliFailed;
    }
    const int w = pic->Width(), h = pic->Height();
    if (w <= 0 || h <= 0) {
        CliError(QStringLiteral("Die Grafik hat keine Größe"));
        return kCliFailed;
    }
    // Without a width: the picture's own size, at most the default width.
    int outW = std::min(w, kDefaultMaxWidth);
    if (args.size() == 3) {
        bool ok = false;
        outW = args[2].toInt(&ok);
        if (!ok || outW < 1 || outW > kMaxOutputSide) {
            CliError(QStringLiteral("Ungültige Breite: %1 (1 bis %2)").arg(args[2]).arg(kMaxOutputSide));
            return kCliFailed;
        }
    }
    const int outH = std::max(1, int(std::lround(double(outW) * h / w)));
    if (outH > kMaxOutputSide) {
        CliError(QStringLiteral("Das Bild würde zu hoch (%1 Bildpunkte)").arg(outH));
        return kCliFailed;
    }
    if (qint64(outW) * outH > kMaxOutputPixels) {
        CliError(QStringLiteral("Das Bild würde zu groß (%1 × %2 Bildpunkte, höchstens %3 Millionen)")
                     .arg(outW)
                     .arg(outH)
                     .arg(kMaxOutputPixels / 1'000'000));
        return kCliFailed;
    }
    // Transparent where a metafile has no ink.
    QImage image(outW, outH, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        CliError(QStringLiteral("Nicht genügend Speicher für das Bild"));
        return kCliFailed;
    }
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        pic->Draw(painter, QRectF(0, 0, outW, outH));
    }
    if (!image.save(args[1], "PNG")) {
        CliError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden").arg(args[1]));
        return kCliFailed;
    }
    return kCliOk;
}

CliRegistration reg("render-picture", "render-picture DATEI AUSGABE.png [BREITE]", &renderPicture,
                    /*needsGui=*/true);

} // namespace
