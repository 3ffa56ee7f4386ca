#pragma once
// Decoders and converters behind TPicture: JPEG decoding with libjpeg,
// metafile conversion to SVG, and the per-picture cache of converted forms.
// Only the picture sources include this header.

#include "model/picture.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>

#include <map>
#include <memory>
#include <vector>

class QSvgRenderer;

// The largest picture file the program reads into memory.
constexpr std::int64_t kMaxPictureFileBytes = std::int64_t(1) << 30;
// The largest metafile that is converted for drawing: its SVG form takes
// several times its size.
constexpr std::size_t kMaxMetafileBytes = std::size_t(128) << 20;

// Reads a picture file into memory (at most kMaxPictureFileBytes).
bool ReadPictureFile(const QString &path, TBytes *bytes, QString *error);

// Decodes a bitmap into an RGB32 image of its size, or of the smaller size
// given, each pixel then the mean of the pixels it covers.
QImage DecodeBmp(const TBmpInfo &info, const TBytes &bytes, QSize size = QSize());
// The most pixels a raster picture is decoded with for drawing: larger ones
// are decoded smaller, still far finer than any field is printed.
constexpr qint64 kMaxDrawnPixels = 16'000'000;

// Decodes a JPEG photo at 1/scaleDenom of its size (1, 2, 4 or 8) into an
// RGB32 image. Greyscale, YCbCr, RGB, CMYK and YCCK files are accepted.
// The photo comes out upright as its Exif orientation says.
bool DecodeJpeg(const TBytes &bytes, int scaleDenom, QImage *out, QString *error);
// The Exif orientation of a JPEG file (1 to 8; 1, upright, where it has none).
int JpegExifOrientation(const TBytes &bytes);
// An image turned and mirrored from the stored to the upright orientation.
QImage ExifOriented(const QImage &image, int orientation);

// A metafile converted to SVG: frame is the rectangle of the SVG's user
// space that the metafile's header frame occupies, and so the part that is
// stretched into the drawing box.
struct TMetafileSvg {
    QByteArray svg;
    QRectF frame;
};

// Converts metafile bytes (EMF or placeable WMF). False when nothing of the
// metafile could be converted.
bool MetafileToSvg(const TBytes &bytes, TPicture::MetafileType type, TMetafileSvg *out);
// The placeable WMF part of it.
bool WmfToSvg(const TBytes &bytes, TMetafileSvg *out);
// Whether an EMF may go to the converter: Ok, or what is beyond reason in it.
enum class TEmfCheck {
    Ok,
    Header,      // no EMF header, or its description or pixel format outside it
    Frame,       // reference device, bounds or frame of absurd size
    Record,      // a record size, or a count inside a record, beyond the data
    RecordCount, // more records or points than any drawing needs
    Bitmap,      // a bitmap header or its bits beyond the record, or too large
};
constexpr std::int64_t kMaxEmfBitmapPixels = 64'000'000;
// The most drawing a metafile may hold, in records and in points of lines
// and polygons. Its SVG form takes kilobytes of memory per element, and the
// renderer time per point and per pixel a line covers: a million records
// took minutes and gigabytes, twenty thousand long lines some seconds.
constexpr std::uint64_t kMaxMetafileRecords = 20'000;
constexpr std::uint64_t kMaxMetafilePoints = 500'000;
constexpr std::uint64_t kMaxEmfRecords = kMaxMetafileRecords;
// The largest SVG form of a metafile that is drawn.
constexpr qsizetype kMaxMetafileSvgBytes = qsizetype(64) << 20;
TEmfCheck CheckEmfForConversion(const TBytes &bytes);
// A bitmap header with its colour table (cbBmi bytes) and cbBits bytes of
// bits: every size inside the bytes, at most kMaxEmfBitmapPixels pixels, a
// real bit count, and all rows there when the bits are not compressed.
bool DibOk(const std::uint8_t *bmi, std::uint64_t cbBmi, std::uint64_t cbBits);
// The same for a bitmap whose bits follow its header and colour table in
// size bytes (as in WMF records).
bool PackedDibOk(const std::uint8_t *dib, std::uint64_t size);
// Whether the bitmaps in the records of a WMF (from the 18-byte header at
// headerAt) are sound enough for the converter, which trusts them.
bool WmfBitmapsOk(const TBytes &bytes, std::size_t headerAt);
// Whether a WMF holds at most kMaxMetafileRecords records and
// kMaxMetafilePoints points.
bool WmfWithinLimits(const TBytes &bytes, std::size_t headerAt);
// The same for metafile bytes of either type; the message for a picture
// file that is beyond them.
bool MetafileWithinLimits(const TBytes &bytes, TPicture::MetafileType type);
QString MetafileTooLargeText();
// Neutralises the text records of an EMF that give glyph numbers instead of
// characters; returns how many there were.
int DropGlyphIndexTexts(std::vector<char> &emf);

// The stroke width, in the units of a metafile's frame, that thinner lines
// are widened to when the frame is drawn into the given pixels: one pixel.
double ThinStrokeWidth(const QSizeF &frame, const QSize &pixels);

// What drawing an SVG into pixels costs, in nanoseconds, split by how it
// follows the drawing's scale k: a fixed part (points, joins), a part that
// grows with k (lines, edges) and one that grows with k² (areas).
struct TDrawCost {
    double fixed = 0, length = 0, area = 0;
    double At(double k) const { return fixed + k * length + k * k * area; }
};
TDrawCost SvgDrawCost(QSvgRenderer &renderer, const QSize &pixels, const QRectF &part = QRectF());
// The scale (at most 1) at which the drawing's cost stays within budget; 0
// when even its fixed part is beyond it.
double DrawScaleWithin(const TDrawCost &cost, double budget);
// The size to draw into so that drawing the SVG, stretched to pixels later,
// stays within kMaxDrawCost: pixels itself, or a smaller size of its aspect.
QSize AffordableDrawSize(QSvgRenderer &renderer, const QSize &pixels);
// The most a metafile's drawing into pixels may cost. Above it, the
// metafile is drawn smaller and stretched, coarser but in time.
constexpr double kMaxDrawCost = 2.5e9;

// How many conversions ran so far in this process (to check the caching).
int MetafileConversions();

// The most memory libwmf may hold for one Windows metafile.
constexpr std::size_t kMaxWmfMemory = std::size_t(256) << 20;

// A plain Windows metafile (no placeable header) wrapped into a placeable
// one, with a frame taken from the metafile's window or drawing. Empty when
// the bytes are no plain metafile that can be played.
TBytes WrapPlainWmf(const TBytes &bytes);

// Converted forms of one picture's data, made when first needed and shared
// by every copy of the picture. Dropped when the data changes.
class TPictureCache
{
  public:
    TPictureCache();
    ~TPictureCache();

    // Raster pictures: the decoded image (bitmaps) and the JPEG decodes at
    // reduced scale, by denominator.
    QImage image;
    bool imageDone = false;
    std::map<int, QImage> jpegScaled;

    // Smoothly scaled forms, for repeated paints at the same size; the most
    // recently used first. sourceKey tells which decode was scaled.
    struct Scaled {
        qint64 sourceKey = 0;
        QImage image;
    };
    std::vector<Scaled> scaled;

    // Metafiles: the SVG form and its renderer (null when the conversion
    // failed), and renderings at device resolution, the most recently used
    // first.
    bool metaDone = false;
    TMetafileSvg svg;
    std::unique_ptr<QSvgRenderer> renderer;
    std::vector<QImage> rendered;
    // Boxes too large for a kept rendering are drawn directly, unless that
    // costs too much: then from directImage, a smaller rendering, made for
    // the box of directSize pixels.
    QSize directSize;
    QImage directImage;

    // The settings of a barcode, read from its comment record.
    bool barcodeDone = false;
    std::shared_ptr<const TBarcodeSettings> barcode;

    // How many sizes are kept: copies of one picture may be drawn at a few
    // sizes (the page, a dialog's preview, another zoom).
    static constexpr std::size_t kKeptSizes = 4;

    // All converted forms of all pictures together stay within
    // kMaxConvertedBytes: after a picture's forms have grown, the forms of
    // the pictures drawn longest ago are dropped (and made again when they
    // are drawn again). Pictures are drawn on one thread only.
    void Used();
    // Empties every converted form.
    void Drop();
    qint64 held = 0;        // bytes, as counted at the last use
    std::uint64_t used = 0; // when last drawn
};
constexpr qint64 kMaxConvertedBytes = qint64(768) << 20;
// What the converted forms of all pictures hold now, in bytes.
qint64 ConvertedBytesHeld();
// The memory a parsed SVG drawing takes, per byte of its text (measured with
// drawings of many small elements).
constexpr qint64 kSvgRendererBytesPerByte = 40;

// The data of a picture, shared by its copies. Only TPicture::Write changes
// it, and only while one picture owns it alone.
struct TPictureData {
    TPictureData() = default;
    // A copy of the values; the converted forms start empty.
    TPictureData(const TPictureData &other)
        : kind(other.kind), metaType(other.metaType), bytes(other.bytes), bmp(other.bmp),
          decoded(other.decoded)
    {
    }
    TPictureData &operator=(const TPictureData &) = delete;

    TPicture::Kind kind = TPicture::Kind::Bitmap;
    TPicture::MetafileType metaType = TPicture::MetafileType::None;
    TBytes bytes;
    TBmpInfo bmp;
    QImage decoded; // JPEG photos: the full-size decode
    std::unique_ptr<TPictureCache> cache;

    TPictureCache &Cache()
    {
        if (!cache)
            cache = std::make_unique<TPictureCache>();
        return *cache;
    }
};
