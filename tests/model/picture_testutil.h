#pragma once
// Helpers shared by the picture tests.

#include "model/picture.h"
#include "testsupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>

// The bytes of a corpus file; empty, and the running test failed, when the
// file cannot be read.
inline TBytes ReadCorpus(const QString &relative)
{
    QFile f(CorpusPath(relative));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read test picture " << f.fileName().toStdString();
        return {};
    }
    const QByteArray a = f.readAll();
    return TBytes(a.begin(), a.end());
}

// Mean difference of all colour channels of two images of the same size.
inline double MeanDiff(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The picture drawn into the whole of a transparent image.
inline QImage RenderTransparent(const TPicture &pic, int w, int h, int jpegScaleDenom = 1)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    pic.Draw(painter, QRectF(0, 0, w, h), jpegScaleDenom);
    return image;
}

// The rectangle of all pixels with ink (more than half opaque).
inline QRect InkBounds(const QImage &image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                r |= QRect(x, y, 1, 1);
    return r;
}
