// Windows bitmaps: reading a BMP stream, turning it into an image, and
// writing a new 24-bit bitmap. The stream bytes are kept as read so that a
// label file is written back byte for byte.
#include "model/le_bytes.h"
#include "model/picture_internal.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <vector>

using lebytes::le16;
using lebytes::le32;
using lebytes::put16;
using lebytes::put32;

namespace
{

const QString kInvalid = QStringLiteral("Bitmap-Bild ist nicht gültig");

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why.isEmpty() ? kInvalid : kInvalid + QStringLiteral(" (") + why + QStringLiteral(")");
    return false;
}

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

// Shift and width of a channel mask, for scaling a masked value to 8 bits.
struct Channel {
    int shift = 0;
    int bits = 0;
    explicit Channel(std::uint32_t mask)
    {
        if (!mask)
            return;
        while (!(mask & 1u)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1u) {
            mask >>= 1;
            ++bits;
        }
    }
    int get(std::uint32_t v) const
    {
        if (bits == 0)
            return 0;
        const std::uint32_t x = (v >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
        if (bits >= 8)
            return int(x >> (bits - 8));
        // Spread the few bits over 0 … 255.
        const std::uint32_t max = (1u << bits) - 1;
        return int((x * 255 + max / 2) / max);
    }
};

// Parses the headers; fills info. Does not look at the pixel rows yet.
bool parseHeaders(const std::uint8_t *d, std::size_t n, TBmpMode mode, TBmpInfo &info, QString *error)
{
    if (n < 14 + 12)
        return fail(error, QStringLiteral("zu kurz"));
    if (d[0] != 'B' || d[1] != 'M')
        return fail(error, QString());
    const std::uint32_t offBits = le32(d + 10);
    const std::uint8_t *h = d + 14;
    info.headerSize = le32(h);
    static constexpr std::uint32_t kSizes[] = {12, 40, 52, 56, 64, 108, 124};
    if (std::find(std::begin(kSizes), std::end(kSizes), info.headerSize) == std::end(kSizes))
        return fail(error, QStringLiteral("unbekannter Kopf"));
    if (14 + std::size_t(info.headerSize) > n)
        return fail(error, QStringLiteral("zu kurz"));

    if (info.headerSize == 12) {
        info.width = le16(h + 4);
        info.height = le16(h + 6);
        info.planes = le16(h + 8);
        info.bitCount = le16(h + 10);
        info.compression = BI_RGB;
        info.paletteEntrySize = 3;
    } else {
        info.width = std::int32_t(le32(h + 4));
        info.height = std::int32_t(le32(h + 8));
        info.planes = le16(h + 12);
        info.bitCount = le16(h + 14);
        info.compression = le32(h + 16);
        info.sizeImage = le32(h + 20);
        info.clrUsed = le32(h + 32);
        info.paletteEntrySize = 4;
    }
    if (info.planes != 1)
        return fail(error, QStringLiteral("Ebenen"));
    switch (info.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return fail(error, QStringLiteral("Farbtiefe"));
    }
    const bool rleOk = (info.compression == BI_RLE8 && info.bitCount == 8) ||
                       (info.compression == BI_RLE4 && info.bitCount == 4);
    const bool fieldsOk = info.compression == BI_BITFIELDS && (info.bitCount == 16 || info.bitCount == 32);
    if (info.compression != BI_RGB && !rleOk && !fieldsOk)
        return fail(error, QStringLiteral("Kompression"));
    if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN || info.width > kMaxBitmapSide ||
        info.AbsHeight() > kMaxBitmapSide || std::int64_t(info.width) * info.AbsHeight() > kMaxBitmapPixels)
        return fail(error, QStringLiteral("Abmessungen"));
    if (info.compression != BI_RGB && info.compression != BI_BITFIELDS && info.height < 0)
        return fail(error, QStringLiteral("Abmessungen"));

    std::size_t pos = 14 + info.headerSize;
    if (info.compression == BI_BITFIELDS) {
        if (info.headerSize == 40) { // the masks follow the header
            if (pos + 12 > n)
                return fail(error, QStringLiteral("zu kurz"));
            for (int i = 0; i < 3; ++i)
                info.masks[i] = le32(d + pos + 4 * i);
            pos += 12;
        } else {
            for (int i = 0; i < 3; ++i)
                info.masks[i] = le32(h + 40 + 4 * i);
            if (info.headerSize >= 56)
                info.alphaMask = le32(h + 52);
        }
        const std::uint32_t limit = info.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        const std::uint32_t r = info.masks[0], g = info.masks[1], b = info.masks[2];
        if (!r || !g || !b || (r & g) || (r & b) || (g & b) || ((r | g | b) & ~limit))
            return fail(error, QStringLiteral("Farbmasken"));
    } else if (info.bitCount == 16) {
        info.masks[0] = 0x7C00;
        info.masks[1] = 0x03E0;
        info.masks[2] = 0x001F;
    } else if (info.bitCount == 32) {
        info.masks[0] = 0xFF0000;
        info.masks[1] = 0xFF00;
        info.masks[2] = 0xFF;
    }

    const std::uint32_t maxEntries = info.bitCount <= 8 ? (1u << info.bitCount) : 256u;
    if (info.headerSize == 12)
        info.paletteEntries = info.bitCount <= 8 ? (1u << info.bitCount) : 0;
    else if (info.clrUsed != 0)
        info.paletteEntries = info.clrUsed;
    else
        info.paletteEntries = info.bitCount <= 8 ? (1u << info.bitCount) : 0;
    if (info.paletteEntries > maxEntries)
        return fail(error, QStringLiteral("Farbtabelle"));
    info.paletteOffset = std::uint32_t(pos);
    pos += std::size_t(info.paletteEntries) * info.paletteEntrySize;
    if (pos > n)
        return fail(error, QStringLiteral("zu kurz"));

    // OS/2 files stored their palette with as many entries as the offset allows.
    if (mode == TBmpMode::File && offBits > pos && offBits <= n)
        pos = offBits;
    info.pixelOffset = std::uint32_t(pos);

    const std::uint64_t needed = std::uint64_t(info.Stride()) * std::uint64_t(info.AbsHeight());
    std::uint64_t length = info.sizeImage ? info.sizeImage : needed;
    if (info.compression == BI_RGB || info.compression == BI_BITFIELDS) {
        if (length < needed)
            return fail(error, QStringLiteral("Bildgröße"));
    } else if (info.sizeImage == 0) {
        return fail(error, QStringLiteral("Bildgröße"));
    }
    if (pos + length > n) {
        // A picture file may end right after its last row without the padding
        // the header announces; an embedded stream must be complete.
        if (mode == TBmpMode::File && pos + needed <= n && info.compression != BI_RLE8 &&
            info.compression != BI_RLE4)
            length = needed;
        else
            return fail(error, QStringLiteral("zu kurz"));
    }
    info.pixelBytes = std::uint32_t(length);
    return true;
}

QRgb paletteColor(const TBmpInfo &info, const std::uint8_t *stream, std::uint32_t index)
{
    if (index >= info.paletteEntries)
        return qRgb(0, 0, 0);
    const std::uint8_t *e = stream + info.paletteOffset + index * info.paletteEntrySize;
    return qRgb(e[2], e[1], e[0]);
}

// Takes the decoded rows, each once, in the order of the stream, and puts
// them into an image of the bitmap's size or of a smaller one: there every
// pixel is the mean of the source pixels it covers, so that a bitmap far
// larger than its drawing never takes its full size in memory.
class RowSink
{
  public:
    RowSink(int w, int h, QImage &out) : w_(w), h_(h), out_(out)
    {
        tw_ = out.width();
        th_ = out.height();
        reduced_ = tw_ != w || th_ != h;
        if (!reduced_)
            return;
        column_.resize(std::size_t(w));
        covered_.assign(std::size_t(tw_), 0);
        for (int x = 0; x < w; ++x) {
            column_[std::size_t(x)] = int(std::int64_t(x) * tw_ / w);
            ++covered_[std::size_t(column_[std::size_t(x)])];
        }
        sums_.assign(std::size_t(tw_) * 3, 0);
    }
    RowSink(const RowSink &) = delete;
    RowSink &operator=(const RowSink &) = delete;

    // Row y of the picture (0 at the top).
    void Row(int y, const QRgb *pixels)
    {
        if (!reduced_) {
            std::memcpy(out_.scanLine(y), pixels, std::size_t(w_) * sizeof(QRgb));
            return;
        }
        const int target = int(std::int64_t(y) * th_ / h_);
        if (target != row_)
            flush();
        row_ = target;
        ++rows_;
        for (int x = 0; x < w_; ++x) {
            std::uint64_t *sum = &sums_[std::size_t(column_[std::size_t(x)]) * 3];
            sum[0] += qRed(pixels[x]);
            sum[1] += qGreen(pixels[x]);
            sum[2] += qBlue(pixels[x]);
        }
    }

    // Row y all of one colour (as run-length bitmaps leave many).
    void UniformRow(int y, QRgb colour, const QRgb *pixels)
    {
        if (!reduced_) {
            Row(y, pixels);
            return;
        }
        const int target = int(std::int64_t(y) * th_ / h_);
        if (target != row_)
            flush();
        row_ = target;
        ++rows_;
        for (int x = 0; x < tw_; ++x) {
            std::uint64_t *sum = &sums_[std::size_t(x) * 3];
            const std::uint64_t n = covered_[std::size_t(x)];
            sum[0] += n * qRed(colour);
            sum[1] += n * qGreen(colour);
            sum[2] += n * qBlue(colour);
        }
    }
    // Puts the last row into the image.
    void Finish() { flush(); }

  private:
    void flush()
    {
        if (rows_ == 0)
            return;
        auto *dst = reinterpret_cast<QRgb *>(out_.scanLine(row_));
        for (int x = 0; x < tw_; ++x) {
            const std::uint64_t n = std::uint64_t(covered_[std::size_t(x)]) * rows_;
            const std::uint64_t *sum = &sums_[std::size_t(x) * 3];
            dst[x] = n ? qRgb(int((sum[0] + n / 2) / n), int((sum[1] + n / 2) / n), int((sum[2] + n / 2) / n))
                       : qRgb(0, 0, 0);
        }
        std::fill(sums_.begin(), sums_.end(), 0);
        rows_ = 0;
    }

    int w_, h_, tw_ = 0, th_ = 0;
    QImage &out_;
    bool reduced_ = false;
    std::vector<int> column_;            // source column -> target column
    std::vector<std::uint32_t> covered_; // source columns per target column
    std::vector<std::uint64_t> sums_;    // red, green, blue of the target row being built
    int row_ = 0;
    std::uint32_t rows_ = 0;
};

void decodeRle(const TBmpInfo &info, const std::uint8_t *stream, RowSink &sink)
{
    const bool four = info.compression == BI_RLE4;
    const std::uint8_t *p = stream + info.pixelOffset;
    const std::uint8_t *end = p + info.pixelBytes;
    const int w = info.width, h = info.AbsHeight();
    const QRgb background = paletteColor(info, stream, 0);
    std::vector<QRgb> line(std::size_t(w), background);
    bool touched = false; // the row holds more than the background
    int x = 0, y = 0;     // y counts rows from the bottom
    // Rows are handed on as the runs leave them; rows the runs skip keep the
    // first colour of the palette.
    auto nextRow = [&]() {
        if (y < h && touched)
            sink.Row(h - 1 - y, line.data());
        else if (y < h)
            sink.UniformRow(h - 1 - y, background, line.data());
        if (touched)
            std::fill(line.begin(), line.end(), background);
        touched = false;
        ++y;
    };
    // Positions right of the picture stay at w: runs without line ends
    // would otherwise count x past the range of int.
    auto put = [&](std::uint32_t index) {
        if (x < w) {
            line[std::size_t(x++)] = paletteColor(info, stream, index);
            touched = true;
        }
    };
    while (p + 1 < end && y < h) {
        const std::uint8_t count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            nextRow();
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (p + 1 >= end)
                break;
            const int dx = p[0], dy = p[1];
            p += 2;
            // The pixels moved over stay as they are; a move down hands on
            // the row and starts the new one at the same column.
            for (int i = 0; i < dy && y < h; ++i)
                nextRow();
            x = std::min(x + dx, w);
        } else { // absolute run of `value` pixels, padded to a word
            const int bytes = four ? (value + 1) / 2 : value;
            if (p + bytes > end)
                break;
            for (int i = 0; i < value; ++i)
                put(four ? ((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i]);
            p += bytes + (bytes & 1);
        }
    }
    while (y < h)
        nextRow();
}

} // namespace

std::unique_ptr<TPicture> TPicture::FromBmpStream(const std::uint8_t *data, std::size_t size, TBmpMode mode,
                                                  std::size_t *consumed, QString *error)
{
    TBmpInfo info;
    if (!parseHeaders(data, size, mode, info, error))
        return nullptr;
    std::unique_ptr<TPicture> pic(new TPicture);
    TPictureData &d = pic->Write();
    d.kind = Kind::Bitmap;
    const std::size_t total = std::size_t(info.pixelOffset) + info.pixelBytes;
    if (mode == TBmpMode::Embedded ||
        info.pixelOffset == info.paletteOffset + info.paletteEntries * info.paletteEntrySize) {
        d.bytes.assign(data, data + total);
    } else {
        // A picture file with a gap before its rows: store it without the gap,
        // as a label file holds it.
        const std::size_t head =
            info.paletteOffset + std::size_t(info.paletteEntries) * info.paletteEntrySize;
        d.bytes.reserve(head + info.pixelBytes);
        d.bytes.assign(data, data + head);
        d.bytes.insert(d.bytes.end(), data + info.pixelOffset, data + total);
        info.pixelOffset = std::uint32_t(head);
        put32(d.bytes, 10, std::uint32_t(head));
        put32(d.bytes, 2, std::uint32_t(d.bytes.size()));
    }
    d.bmp = info;
    if (consumed)
        *consumed = total;
    return pic;
}

QImage DecodeBmp(const TBmpInfo &info, const TBytes &bytes, QSize size)
{
    const int w = info.width, h = info.AbsHeight();
    if (!size.isValid() || size.width() > w || size.height() > h)
        size = QSize(w, h);
    QImage img(size, QImage::Format_RGB32);
    if (img.isNull())
        return img;
    RowSink sink(w, h, img);
    const std::uint8_t *stream = bytes.data();
    if (info.compression == BI_RLE8 || info.compression == BI_RLE4) {
        decodeRle(info, stream, sink);
        sink.Finish();
        return img;
    }
    const std::uint32_t stride = info.Stride();
    const Channel r(info.masks[0]), g(info.masks[1]), b(info.masks[2]);
    std::vector<QRgb> line(static_cast<std::size_t>(w));
    QRgb *dst = line.data();
    for (int row = 0; row < h; ++row) {
        const int srcRow = info.height > 0 ? h - 1 - row : row;
        const std::uint8_t *src = stream + info.pixelOffset + std::size_t(srcRow) * stride;
        switch (info.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bpp = info.bitCount, perByte = 8 / bpp, mask = (1 << bpp) - 1;
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - bpp * (x % perByte + 1);
                dst[x] = paletteColor(info, stream, (src[x / perByte] >> shift) & mask);
            }
            break;
        }
        case 16:
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = le16(src + 2 * x);
                dst[x] = qRgb(r.get(v), g.get(v), b.get(v));
            }
            break;
        case 24:
            for (int x = 0; x < w; ++x)
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        case 32:
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = le32(src + 4 * x);
                dst[x] = qRgb(r.get(v), g.get(v), b.get(v));
            }
            break;
        }
        sink.Row(row, dst);
    }
    sink.Finish();
    return img;
}

std::unique_ptr<TPicture> TPicture::FromImage(const QImage &image)
{
    if (image.isNull())
        return nullptr;
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    const int w = src.width(), h = src.height();
    TBmpInfo info;
    info.headerSize = 40;
    info.width = w;
    info.height = h;
    info.bitCount = 24;
    info.masks[0] = 0xFF0000;
    info.masks[1] = 0xFF00;
    info.masks[2] = 0xFF;
    info.paletteOffset = info.pixelOffset = 54;
    const std::uint32_t stride = info.Stride();
    info.sizeImage = info.pixelBytes = stride * std::uint32_t(h);

    std::unique_ptr<TPicture> pic(new TPicture);
    TPictureData &d = pic->Write();
    d.kind = Kind::Bitmap;
    TBytes &out = d.bytes;
    out.assign(54 + std::size_t(info.pixelBytes), 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, std::uint32_t(out.size()));
    put32(out, 10, 54);
    put32(out, 14, 40);
    put32(out, 18, std::uint32_t(w));
    put32(out, 22, std::uint32_t(h));
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 34, info.sizeImage);
    for (int row = 0; row < h; ++row) {
        const auto *s = reinterpret_cast<const QRgb *>(src.constScanLine(h - 1 - row));
        std::uint8_t *d = out.data() + 54 + std::size_t(row) * stride;
        for (int x = 0; x < w; ++x) {
            d[3 * x] = std::uint8_t(qBlue(s[x]));
            d[3 * x + 1] = std::uint8_t(qGreen(s[x]));
            d[3 * x + 2] = std::uint8_t(qRed(s[x]));
        }
    }
    d.bmp = info;
    return pic;
}
