#include "canvas/dpbgraphic.h"

#include <QBuffer>
#include <QIODevice>
#include <QImageReader>

namespace canvas
{

bool TDPBGraphic::LoadFromStream(QIODevice &stream)
{
    if (!stream.isReadable() || !stream.seek(0))
        return false;
    const QByteArray head = stream.read(8);
    if (head.size() != 8 || !head.startsWith("DP01"))
        return false;
    const auto *p = reinterpret_cast<const unsigned char *>(head.constData()) + 4;
    const qint64 length =
        qint32(quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24);
    if (length <= 0 || length > stream.size() - 8)
        return false;
    QByteArray data = stream.read(length);
    if (data.size() != length)
        return false;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull())
        return false;
    image_ = image;
    return true;
}

bool TDPBGraphic::SaveToStream(QIODevice &stream) const
{
    if (image_.isNull())
        return false;
    return image_.convertToFormat(QImage::Format_RGB888).save(&stream, "BMP");
}

} // namespace canvas
