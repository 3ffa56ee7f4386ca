#pragma once
// A field's picture: a bitmap, a decoded JPEG photo or a metafile.
//
// Bitmaps keep their complete BMP stream (file header, info header, masks,
// colour table, pixel rows) exactly as read, so that a label file is written
// back byte for byte. Metafiles (EMF or placeable WMF) keep their bytes
// unchanged. Metafiles (EMF or placeable WMF) keep their bytes unchanged.
//
// A picture is a value: copies share one immutable block of data together
// with its converted forms (decoded bitmap, scaled JPEG decodes, a
// metafile's SVG and renderings), so copying costs nothing and a copy drawn
// once need not convert again. Whatever changes a picture's data first gives
// it a block of its own with empty converted forms (copy on write), so no
// two owners ever see each other's changes and no converted form outlives
// the data it was made from.

#include <QImage>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
struct TBarcodeSettings;

using TBytes = std::vector<std::uint8_t>;

// Parsed values of a BMP stream's headers.
struct TBmpInfo {
    std::uint32_t headerSize = 0; // 12 (OS/2 core), 40, 52, 56, 64, 108 or 124
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: rows stored top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;    // 1, 4, 8, 16, 24 or 32
    std::uint32_t compression = 0; // 0 BI_RGB, 1 BI_RLE8, 2 BI_RLE4, 3 BI_BITFIELDS
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0}; // red, green, blue for BI_BITFIELDS
    std::uint32_t alphaMask = 0;
    std::uint32_t paletteOffset = 0; // offsets inside the stream
    std::uint32_t paletteEntries = 0;
    std::uint32_t paletteEntrySize = 4; // 3 for OS/2 core headers
    std::uint32_t pixelOffset = 0;
    std::uint32_t pixelBytes = 0;

    std::uint32_t Stride() const { return ((static_cast<std::uint32_t>(width) * bitCount + 31) / 32) * 4; }
    std::int32_t AbsHeight() const { return height < 0 ? -height : height; }
};

enum class TBmpMode {
    Embedded, // a stream inside a label file: no gaps, offsets of the file header unused
    File      // a picture file: the pixel rows start at the file header's offset
};

// The largest bitmap the program accepts, in pixels per side and in all.
constexpr std::int32_t kMaxBitmapSide = 32767;
constexpr std::int64_t kMaxBitmapPixels = 200'000'000;

struct TPictureData; // the shared data and its converted forms

class TPicture
{
  public:
    enum class Kind { Bitmap, Jpeg, Metafile };
    enum class MetafileType { None, Emf, Wmf };

    // Reads one BMP stream from data[0 .. size). On success *consumed holds
    // the number of bytes the stream occupies. On failure returns nullptr and
    // a German description in *error.
    static std::unique_ptr<TPicture> FromBmpStream(const std::uint8_t *data, std::size_t size, TBmpMode mode,
                                                   std::size_t *consumed, QString *error);
    // Metafile bytes (EMF or placeable WMF); nullptr when they are none.
    static std::unique_ptr<TPicture> FromMetafileBytes(TBytes bytes, QString *error);
    // A new uncompressed 24-bit bitmap from an image.
    static std::unique_ptr<TPicture> FromImage(const QImage &image);
    // A JPEG photo, decoded at once; the file bytes are kept for scaled decoding.
    static std::unique_ptr<TPicture> FromJpegBytes(TBytes bytes, QString *error);
    // Loads a picture file by its content (BMP, JPEG, EMF, placeable WMF).
    static std::unique_ptr<TPicture> LoadFromFile(const QString &path, QString *error);
    // The same for the bytes of a picture file. A Windows metafile without
    // placeable header is given one.
    static std::unique_ptr<TPicture> FromFileBytes(TBytes bytes, QString *error);

    // Copies share the data and its converted forms.
    TPicture(const TPicture &) = default;
    TPicture &operator=(const TPicture &) = default;
    ~TPicture();

    // A copy on the heap, as cheap as any copy.
    std::unique_ptr<TPicture> Clone() const;
    // True when both share one block of data (and so its converted forms).
    bool SharesDataWith(const TPicture &other) const { return d_ == other.d_; }

    Kind GetKind() const;
    bool IsBitmap() const { return GetKind() == Kind::Bitmap; }
    bool IsMetafile() const { return GetKind() == Kind::Metafile; }
    MetafileType GetMetafileType() const;
    // The code this picture shows when it is a barcode the program made
    // (model/barcode.h), else null; read from the metafile once.
    const TBarcodeSettings *Barcode() const;

    // Width and height as the program uses them: pixels for raster pictures,
    // for metafiles the size their header states.
    int Width() const;
    int Height() const;

    // The stored bytes: the BMP stream of a bitmap, the metafile data, or the
    // JPEG file.
    const TBytes &Bytes() const;
    const TBmpInfo &BmpInfo() const;

    // The raster picture as an image (bitmaps, JPEG photos); null for metafiles.
    QImage ToImage() const;

    // Draws the picture stretched into box. jpegScaleDenom (1, 2, 4 or 8)
    // selects libjpeg's scaled decoding for JPEG photos on the screen.
    void Draw(QPainter &painter, const QRectF &box, int jpegScaleDenom = 1) const;

    // A new 24-bit bitmap reduced to 300 dpi of the given field width; never
    // enlarged. Null for metafiles.
    std::unique_ptr<TPicture> ReducedTo300Dpi(double fieldWidthMm) const;
    // A picture file as a field takes it: raster pictures reduced to 300 dpi
    // of the field width (a large JPEG photo is decoded only at the largest
    // of libjpeg's scales that still gives the size needed), metafiles as
    // they are.
    static std::unique_ptr<TPicture> LoadReducedFromFile(const QString &path, double fieldWidthMm,
                                                         QString *error);

  private:
    TPicture(); // an empty bitmap with data of its own

    // The data for changing: detached from every copy first, and with the
    // converted forms dropped.
    TPictureData &Write();

    std::shared_ptr<TPictureData> d_;
};

// Checks metafile bytes: an enhanced metafile (EMR_HEADER with " EMF"
// signature) or a placeable Windows metafile (key and checksum).
TPicture::MetafileType DetectMetafile(const TBytes &bytes);
