#include "platform/clipboard.h"

#include "model/picture.h"
#include "model/picture_qtformats.h"
#include "platform/codepage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

// The image put beside a metafile: its own size, but never a giant.
constexpr int kMaxRenderedSide = 4096;

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

QByteArray toByteArray(const TBytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// The metafile offered under one of our MIME types, if any.
bool findMetafileData(const QMimeData *data, QByteArray *bytes)
{
    if (!data)
        return false;
    QStringList types = EmfMimeTypes();
    types += WmfMimeTypes();
    for (const QString &type : types)
        if (data->hasFormat(type)) {
            *bytes = data->data(type);
            return true;
        }
    return false;
}

QImage renderMetafile(const TPicture &picture)
{
    int w = std::max(1, picture.Width()), h = std::max(1, picture.Height());
    if (w > kMaxRenderedSide || h > kMaxRenderedSide) {
        const double f = double(kMaxRenderedSide) / std::max(w, h);
        w = std::max(1, int(std::lround(w * f)));
        h = std::max(1, int(std::lround(h * f)));
    }
    // On white, as programs without transparency expect a pasted picture.
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    picture.Draw(painter, QRectF(0, 0, w, h));
    return image;
}

} // namespace

QStringList EncodedImageMimeTypes()
{
    return {QStringLiteral("image/png"),  QStringLiteral("image/gif"),     QStringLiteral("image/tiff"),
            QStringLiteral("image/webp"), QStringLiteral("image/svg+xml"), QStringLiteral("image/bmp"),
            QStringLiteral("image/jpeg")};
}

QStringList EmfMimeTypes()
{
    return {QStringLiteral("image/x-emf"), QStringLiteral("image/emf")};
}
QStringList WmfMimeTypes()
{
    return {QStringLiteral("image/x-wmf"), QStringLiteral("image/wmf")};
}

bool ClipboardHasText()
{
    const QMimeData *data = clipboard()->mimeData();
    return data && data->hasText();
}

std::string ClipboardText()
{
    QString text = clipboard()->text();
    // Line breaks of any system become the CR LF the fields hold.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToAnsi(text);
}

void SetClipboardText(const std::string &ansiText)
{
    QString text = FromAnsi(ansiText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    clipboard()->setText(text);
}

bool ClipboardHasBitmap()
{
    const QMimeData *data = clipboard()->mimeData();
    if (!data)
        return false;
    if (data->hasImage())
        return true;
    for (const QString &type : EncodedImageMimeTypes())
        if (data->hasFormat(type))
            return true;
    return false;
}

bool ClipboardHasMetafile()
{
    QByteArray bytes;
    return findMetafileData(clipboard()->mimeData(), &bytes);
}

std::unique_ptr<TPicture> ClipboardPicture(const QColor &background, int svgWidth, QString *error)
{
    const QMimeData *data = clipboard()->mimeData();
    if (!data)
        return nullptr;
    QByteArray bytes;
    if (findMetafileData(data, &bytes)) {
        // Metafile data that cannot be read gives no picture, even when an
        // image lies beside it.
        QString why;
        auto picture = TPicture::FromFileBytes(TBytes(bytes.begin(), bytes.end()), &why);
        if (picture && picture->IsMetafile())
            return picture;
        if (error)
            *error = picture ? QStringLiteral("Die Metadatei in der Zwischenablage ist fehlerhaft") : why;
        return nullptr;
    }
    // Encoded pictures first: their size is checked before they are decoded.
    for (const QString &type : EncodedImageMimeTypes()) {
        if (!data->hasFormat(type))
            continue;
        const QByteArray bytes = data->data(type);
        QString why;
        if (DetectOtherImageFormat(bytes) != TOtherImageFormat::None) {
            QImage image;
            if (DecodeOtherImage(bytes, svgWidth, background, &image, &why))
                return TPicture::FromImage(image);
        } else {
            auto picture = TPicture::FromFileBytes(TBytes(bytes.begin(), bytes.end()), &why);
            if (picture && !picture->IsMetafile())
                return TPicture::FromImage(FlattenOnto(picture->ToImage(), background));
        }
        if (!data->hasImage()) {
            if (error)
                *error = why;
            return nullptr;
        }
        break; // the image Qt decoded beside it may still do
    }
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        // The limits of a bitmap in a label file, so that the sheet can be
        // read again after it was saved.
        if (!image.isNull() && image.width() <= kMaxBitmapSide && image.height() <= kMaxBitmapSide &&
            std::int64_t(image.width()) * image.height() <= kMaxBitmapPixels)
            return TPicture::FromImage(FlattenOnto(image, background));
        if (error && !image.isNull())
            *error = QStringLiteral("Das Bild in der Zwischenablage ist zu groß (%1 × %2 Bildpunkte)")
                         .arg(image.width())
                         .arg(image.height());
    }
    return nullptr;
}

void SetClipboardPicture(const TPicture &picture)
{
    auto *data = new QMimeData;
    if (picture.IsMetafile()) {
        const QByteArray bytes = toByteArray(picture.Bytes());
        const QStringList types =
            picture.GetMetafileType() == TPicture::MetafileType::Emf ? EmfMimeTypes() : WmfMimeTypes();
        for (const QString &type : types)
            data->setData(type, bytes);
        data->setImageData(renderMetafile(picture));
    } else {
        data->setImageData(picture.ToImage().copy()); // the clipboard's own pixels
    }
    clipboard()->setMimeData(data); // the clipboard owns the data
}

} // namespace platform
