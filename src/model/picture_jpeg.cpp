// JPEG photos through libjpeg: full decoding when a photo is loaded, and the
// scaled decoding (1/2, 1/4, 1/8) for the screen and for reductions.
#include "model/picture_internal.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include <QTransform>

namespace
{

const QString kInvalidJpeg = QStringLiteral("JPEG-Bild ist nicht gültig");

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the caller instead of ending the process.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (corrupt or missing data) are counted but not printed: a damaged
// photo shows what could be decoded, as other viewers do.
void outputMessage(j_common_ptr) {}

// Progressive files may carry any number of scans; a hostile file with
// thousands of tiny scans would keep the decoder busy for minutes.
constexpr int kMaxScans = 100;

void progressMonitor(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
        err->message[0] = 0;
        std::longjmp(err->jump, 1);
    }
}

// One decompressor with its error handling; destroyed on every path.
struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;

    Decoder()
    {
        std::memset(&cinfo, 0, sizeof cinfo);
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = errorExit;
        err.pub.output_message = outputMessage;
        err.message[0] = 0;
        progress.progress_monitor = progressMonitor;
    }
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
};

// libjpeg's own texts are English: the user gets the program's message.
QString describe(const char *)
{
    return kInvalidJpeg + QStringLiteral(" (die Datei ist beschädigt)");
}

// Every 8 × 8 block of a photo takes some bits: a file far smaller than its
// stated size can hold is damaged or made to exhaust the memory.
constexpr std::int64_t kMinBytesPerMegapixel = 1000;
bool plausibleSize(std::size_t fileBytes, std::int64_t w, std::int64_t h)
{
    return std::int64_t(fileBytes) * 1'000'000 >= w * h * kMinBytesPerMegapixel;
}

bool sizeAllowed(std::int64_t w, std::int64_t h)
{
    return w > 0 && h > 0 && w <= JPEG_MAX_DIMENSION && h <= JPEG_MAX_DIMENSION && w * h <= kMaxBitmapPixels;
}

QString tooLarge(std::int64_t w, std::int64_t h)
{
    return QStringLiteral("JPEG-Bild ist zu groß (%1 × %2 Bildpunkte; erlaubt sind höchstens %3 Millionen "
                          "Bildpunkte)")
        .arg(w)
        .arg(h)
        .arg(kMaxBitmapPixels / 1'000'000);
}

// The steps between setjmp and the end of decoding. Kept free of objects with
// destructors, so that a longjmp out of libjpeg skips nothing that must run.
// Returns 0 on success, 1 after a libjpeg error, 2 when the picture is too
// large, 3 when no image memory could be had.
int decode(Decoder &dec, const TBytes &bytes, int scaleDenom, QImage *out, std::int64_t size[2])
{
    jpeg_decompress_struct &cinfo = dec.cinfo;
    if (setjmp(dec.err.jump))
        return 1;
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &dec.progress;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    size[0] = cinfo.image_width;
    size[1] = cinfo.image_height;
    if (!sizeAllowed(cinfo.image_width, cinfo.image_height))
        return 2;
    if (!plausibleSize(bytes.size(), cinfo.image_width, cinfo.image_height))
        return 1;

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX; // BGRX is RGB32 in memory
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(scaleDenom);
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(&cinfo);

    *out = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (out->isNull())
        return 3;
    jpeg_start_decompress(&cinfo);
    // Adobe's CMYK files store the inks inverted.
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) {
            // Decoded in place: four bytes C, M, Y, K per pixel become B, G, R, X.
            std::uint8_t *p = row;
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x, p += 4) {
                int c = p[0], m = p[1], y = p[2], k = p[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                p[2] = std::uint8_t(c * k / 255); // red
                p[1] = std::uint8_t(m * k / 255); // green
                p[0] = std::uint8_t(y * k / 255); // blue
                p[3] = 255;
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    return 0;
}

} // namespace

int JpegExifOrientation(const TBytes &bytes)
{
    // Walks the markers up to the first scan; the orientation is entry 0x0112
    // of the first image directory in the TIFF block of an "Exif" APP1.
    const std::uint8_t *d = bytes.data();
    const std::size_t n = bytes.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return 1;
    std::size_t at = 2;
    while (at + 4 <= n) {
        if (d[at] != 0xFF)
            return 1;
        const std::uint8_t marker = d[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // scan or end: no Exif before it
            return 1;
        const std::size_t length = std::size_t(d[at + 2]) << 8 | d[at + 3];
        if (length < 2 || at + 2 + length > n)
            return 1;
        const std::uint8_t *seg = d + at + 4;
        const std::size_t segSize = length - 2;
        if (marker == 0xE1 && segSize >= 14 && std::memcmp(seg, "Exif\0\0", 6) == 0) {
            const std::uint8_t *tiff = seg + 6;
            const std::size_t size = segSize - 6;
            const bool little = tiff[0] == 'I' && tiff[1] == 'I';
            if (!little && !(tiff[0] == 'M' && tiff[1] == 'M'))
                return 1;
            const auto u16 = [&](std::size_t o) -> unsigned {
                return little ? unsigned(tiff[o]) | unsigned(tiff[o + 1]) << 8
                              : unsigned(tiff[o]) << 8 | unsigned(tiff[o + 1]);
            };
            const auto u32 = [&](std::size_t o) -> std::uint32_t {
                return little ? u16(o) | std::uint32_t(u16(o + 2)) << 16
                              : std::uint32_t(u16(o)) << 16 | u16(o + 2);
            };
            const std::uint32_t ifd = u32(4);
            if (ifd < 8 || std::uint64_t(ifd) + 2 > size)
                return 1;
            const unsigned entries = u16(ifd);
            for (unsigned i = 0; i < entries; ++i) {
                const std::uint64_t e = std::uint64_t(ifd) + 2 + std::uint64_t(i) * 12;
                if (e + 12 > size)
                    return 1;
                if (u16(std::size_t(e)) == 0x0112 && u16(std::size_t(e) + 2) == 3) { // SHORT
                    const unsigned o = u16(std::size_t(e) + 8);
                    return o >= 1 && o <= 8 ? int(o) : 1;
                }
            }
            return 1;
        }
        at += 2 + length;
    }
    return 1;
}

QImage ExifOriented(const QImage &image, int orientation)
{
    // 2, 4: mirrored; 3: turned half; 6, 8: turned a quarter right or left;
    // 5, 7: turned a quarter right and mirrored.
    const auto turned = [&](int degrees) { return image.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return turned(90).mirrored(true, false);
    case 6:
        return turned(90);
    case 7:
        return turned(90).mirrored(false, true);
    case 8:
        return turned(270);
    default:
        return image;
    }
}

bool DecodeJpeg(const TBytes &bytes, int scaleDenom, QImage *out, QString *error)
{
    if (scaleDenom != 1 && scaleDenom != 2 && scaleDenom != 4 && scaleDenom != 8)
        scaleDenom = 1;
    if (bytes.empty()) {
        if (error)
            *error = kInvalidJpeg;
        return false;
    }
    Decoder dec;
    std::int64_t size[2] = {0, 0};
    QImage image;
    const int result = decode(dec, bytes, scaleDenom, &image, size);
    if (result == 0) {
        // Phones store photos as the sensor saw them and say in the Exif
        // data how they are to be turned; every use of the photo shows it
        // upright.
        const int orientation = JpegExifOrientation(bytes);
        *out = orientation == 1 ? std::move(image) : ExifOriented(image, orientation);
        if (out->isNull()) {
            if (error)
                *error = QStringLiteral("Nicht genügend Speicher für das JPEG-Bild");
            return false;
        }
        return true;
    }
    if (error) {
        if (result == 1)
            *error = describe(dec.err.message);
        else if (result == 2)
            *error = tooLarge(size[0], size[1]);
        else
            *error = QStringLiteral("Nicht genügend Speicher für das JPEG-Bild");
    }
    return false;
}

std::unique_ptr<TPicture> TPicture::FromJpegBytes(TBytes bytes, QString *error)
{
    QImage image;
    if (!DecodeJpeg(bytes, 1, &image, error))
        return nullptr;
    std::unique_ptr<TPicture> pic(new TPicture);
    TPictureData &d = pic->Write();
    d.kind = Kind::Jpeg;
    d.bytes = std::move(bytes);
    d.decoded = std::move(image);
    return pic;
}
