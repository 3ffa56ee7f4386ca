#pragma once
// TDPBGraphic: the canvas's own picture file format "DPB-Grafik" (*.dpb), a
// Windows bitmap behind a small header.

#include <QImage>
#include <QString>

class QIODevice;

namespace canvas
{

class TDPBGraphic
{
  public:
    static QString Extension() { return QStringLiteral("dpb"); }
    static QString Description() { return QStringLiteral("DPB-Grafik"); }

    // Reads "DP01", a little-endian length L and L bytes of a Windows bitmap,
    // always from the start of the stream. Anything else leaves the graphic
    // unchanged; false then.
    bool LoadFromStream(QIODevice &stream);
    // Writes the plain bitmap.
    bool SaveToStream(QIODevice &stream) const;

    const QImage &Image() const { return image_; }
    void SetImage(const QImage &image) { image_ = image; }
    bool Empty() const { return image_.isNull(); }

  private:
    QImage image_;
};

} // namespace canvas
