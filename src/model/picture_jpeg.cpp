// JPEG photos through libjpeg: full decoding when a photo is loaded, and the
// scaled decoding (1/2, 1/4, 1/8) for the screen and for reductions.
#include "model/picture_internal.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

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
        *out = std::move(image);
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
