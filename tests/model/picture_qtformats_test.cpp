// PNG, GIF, TIFF, WebP and SVG files: recognised by content, turned into
// 24-bit bitmaps reduced to 300 dpi of the field width, transparency laid onto
// the field's background, oversized and damaged files refused with German
// messages; 12-bit JPEG files refused as such.
#include "model/picture.h"
#include "model/picture_qtformats.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

// 4 × 2 pixels: the left half transparent, the right half red (written by
// ImageMagick: convert -size 4x2 xc:red -fill black -draw 'rectangle 0,0 1,1'
// -transparent black).
const unsigned char kTransparentGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x04, 0x00, 0x02, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x01, 0x00, 0x2c, 0x00, 0x00,
    0x00, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00, 0x02, 0x04, 0x4c, 0x00, 0x86, 0x05, 0x00, 0x3b};

// An image whose left half is transparent and whose right half is red.
QImage HalfTransparent(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.fillRect(QRect(w / 2, 0, w - w / 2, h), Qt::red);
    return img;
}

QByteArray Encode(const QImage &img, const char *format, int quality = -1)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, format, quality)) << format;
    return out;
}

QByteArray Svg(const QString &viewBox = QStringLiteral("0 0 200 100"))
{
    // Transparent on the left, a blue rectangle on the right half.
    return QStringLiteral("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" "
                          "height=\"10\" viewBox=\"%1\"><rect x=\"100\" y=\"0\" width=\"100\" height=\"100\" "
                          "fill=\"#0000ff\"/></svg>")
        .arg(viewBox)
        .toUtf8();
}

class FormatsTest : public ::testing::Test
{
  protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir dir_;
};

// A CRC-32 as PNG chunks carry it.
quint32 Crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Put32(QByteArray &b, int at, quint32 v)
{
    b[at] = char(v >> 24);
    b[at + 1] = char(v >> 16);
    b[at + 2] = char(v >> 8);
    b[at + 3] = char(v);
}

// A PNG that claims another size in its header (with a valid checksum).
QByteArray PngClaiming(quint32 w, quint32 h)
{
    QByteArray png = Encode(QImage(8, 8, QImage::Format_RGB32), "png");
    Put32(png, 16, w);
    Put32(png, 20, h);
    Put32(png, 29, Crc32(png.mid(12, 17)));
    return png;
}

// An 8-bit JPEG whose frame header is changed to state 12 bits per sample.
TBytes TwelveBitJpeg()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::green);
    QByteArray jpg = Encode(img, "jpg", 90);
    const int sof = int(jpg.indexOf(QByteArray("\xFF\xC0", 2)));
    EXPECT_GT(sof, 0);
    jpg[sof + 1] = char(0xC1); // extended sequential: 12 bits are allowed there
    jpg[sof + 4] = 12;
    return TBytes(jpg.begin(), jpg.end());
}

} // namespace

TEST_F(FormatsTest, RecognisedByContent)
{
    const QImage img = HalfTransparent(4, 2);
    EXPECT_EQ(DetectOtherImageFormat(Encode(img, "png")), TOtherImageFormat::Png);
    EXPECT_EQ(DetectOtherImageFormat(
                  QByteArray(reinterpret_cast<const char *>(kTransparentGif), sizeof kTransparentGif)),
              TOtherImageFormat::Gif);
    EXPECT_EQ(DetectOtherImageFormat(Encode(img, "tiff")), TOtherImageFormat::Tiff);
    EXPECT_EQ(DetectOtherImageFormat(Encode(img, "webp")), TOtherImageFormat::WebP);
    EXPECT_EQ(DetectOtherImageFormat(Svg()), TOtherImageFormat::Svg);
    EXPECT_EQ(DetectOtherImageFormat(QByteArray("\xEF\xBB\xBF  <svg/>")), TOtherImageFormat::Svg);
    EXPECT_EQ(DetectOtherImageFormat(Encode(img, "bmp")), TOtherImageFormat::None);
    EXPECT_EQ(DetectOtherImageFormat(QByteArray("<html><body>svg</body></html>")), TOtherImageFormat::None);
    EXPECT_EQ(DetectOtherImageFormat(QByteArray()), TOtherImageFormat::None);
}

// Each format, loaded into a field wide enough to keep its size, becomes a
// 24-bit bitmap with the field's background where it was transparent.
TEST_F(FormatsTest, EveryFormatBecomesABitmapOnTheBackground)
{
    const QColor background(0, 200, 0);
    const QImage img = HalfTransparent(40, 20);
    struct Case {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"a.png", Encode(img, "png")},
        {"a.tif", Encode(img, "tiff")},
        {"a.webp", Encode(img, "webp", 100)},
        {"a.gif", QByteArray(reinterpret_cast<const char *>(kTransparentGif), sizeof kTransparentGif)}};
    for (const Case &c : cases) {
        QString error;
        const auto pic = LoadFieldPicture(Write(c.name, c.bytes), 100, background, &error);
        ASSERT_TRUE(pic) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(pic->IsBitmap());
        EXPECT_EQ(pic->BmpInfo().bitCount, 24);
        const QImage out = pic->ToImage();
        const int w = out.width(), h = out.height();
        EXPECT_EQ(QSize(w, h), c.name == QStringLiteral("a.gif") ? QSize(4, 2) : QSize(40, 20)) << c.name;
        const QColor left = out.pixelColor(0, h - 1), right = out.pixelColor(w - 1, 0);
        EXPECT_NEAR(left.green(), 200, 3) << c.name;
        EXPECT_NEAR(left.red(), 0, 3) << c.name;
        EXPECT_NEAR(right.red(), 255, 3) << c.name;
        EXPECT_NEAR(right.green(), 0, 3) << c.name;
    }
}

TEST_F(FormatsTest, SvgIsDrawnAtTheFieldWidth)
{
    QString error;
    // 20 mm at 300 dpi: 236 pixels, with the drawing's 2:1 aspect.
    const auto pic = LoadFieldPicture(Write("z.svg", Svg()), 20, QColor(255, 255, 0), &error);
    ASSERT_TRUE(pic) << error.toStdString();
    EXPECT_TRUE(pic->IsBitmap());
    EXPECT_EQ(pic->Width(), 236);
    EXPECT_EQ(pic->Height(), 118);
    const QImage out = pic->ToImage();
    EXPECT_EQ(out.pixelColor(10, 60), QColor(255, 255, 0));
    EXPECT_EQ(out.pixelColor(200, 60), QColor(0, 0, 255));
    // Without a field: its own size, on white.
    const auto own = TPicture::LoadFromFile(dir_.filePath("z.svg"), &error);
    ASSERT_TRUE(own) << error.toStdString();
    EXPECT_EQ(QSize(own->Width(), own->Height()), QSize(20, 10));
    EXPECT_EQ(own->ToImage().pixelColor(1, 5), QColor(Qt::white));
}

// A drawing may only show what it holds itself: a picture it names by path
// (absolute, relative, a device that would block) is left out, one in a
// data: URI is drawn, unless that is a drawing again.
TEST_F(FormatsTest, SvgShowsNoFilesItNames)
{
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QByteArray png = Encode(red, "png");
    const QString file = Write("rot.png", png);
    const QByteArray inner =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "width=\"10\" height=\"10\"><image width=\"10\" height=\"10\" xlink:href=\"" +
        file.toUtf8() + "\"/></svg>";
    const auto drawing = [](const QByteArray &href) {
        return "<?xml version=\"1.0\"?><!-- x --><svg xmlns=\"http://www.w3.org/2000/svg\" "
               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"20\" height=\"10\">"
               "<rect x=\"10\" width=\"10\" height=\"10\" fill=\"#0000ff\"/>"
               "<image x=\"0\" y=\"0\" width=\"10\" height=\"10\" " +
               href + "/></svg>";
    };
    const struct {
        QByteArray href;
        QColor left;
    } cases[] = {
        {"xlink:href=\"" + file.toUtf8() + "\"", Qt::white},
        {"href=\"file://" + file.toUtf8() + "\"", Qt::white},
        {"xlink:href=\"rot.png\"", Qt::white},
        {"xlink:href=\"/dev/stdin\"", Qt::white},
        {"xlink:href=\"data:image/png;base64," + png.toBase64() + "\"", Qt::red},
        {"xlink:href=\"data:image/svg+xml;base64," + inner.toBase64() + "\"", Qt::white},
    };
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path())); // where a relative name would be looked for
    for (const auto &c : cases) {
        QImage out;
        QString error;
        EXPECT_TRUE(DecodeOtherImage(drawing(c.href), 0, Qt::white, &out, &error)) << error.toStdString();
        ASSERT_EQ(out.size(), QSize(20, 10)) << c.href.left(60).toStdString();
        EXPECT_EQ(out.pixelColor(5, 5), c.left) << c.href.left(60).toStdString();
        EXPECT_EQ(out.pixelColor(15, 5), QColor(Qt::blue));
    }
    QDir::setCurrent(previous);
    QImage out;
    QString error;
    EXPECT_FALSE(DecodeOtherImage("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect></svg>", 0, Qt::white,
                                  &out, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("SVG-Grafik ist nicht gültig"))) << error.toStdString();
}

// A TIFF with a tag libtiff does not know: libtiff once wrote its English
// warning to standard error, ahead of anything the program says.
TEST_F(FormatsTest, TiffWarningsStayQuiet)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    auto u16 = [&tiff](int v) { tiff.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto entry = [&](int tag, int type, int value) {
        u16(tag), u16(type), u16(1), u16(0), u16(value), u16(0); // count 1, value in the field
    };
    u16(11);
    entry(256, 3, 2);   // width
    entry(257, 3, 2);   // height
    entry(258, 3, 8);   // bits per sample
    entry(259, 3, 1);   // no compression
    entry(262, 3, 2);   // RGB
    entry(273, 4, 146); // strip offset: after this directory
    entry(277, 3, 3);   // samples per pixel
    entry(278, 3, 2);   // rows per strip
    entry(279, 4, 12);  // strip bytes
    entry(284, 3, 1);   // chunky
    entry(65000, 3, 7); // unknown
    tiff.append(4, '\0');
    ASSERT_EQ(tiff.size(), 146);
    for (int i = 0; i < 4; ++i)
        tiff.append("\xFF\0\0", 3);
    testing::internal::CaptureStderr();
    QImage out;
    QString error;
    const bool decoded = DecodeOtherImage(tiff, 0, Qt::white, &out, &error);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(decoded) << error.toStdString();
    EXPECT_EQ(out.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(printed, "");
}

// Reduction as for a JPEG photo: the width at 300 dpi, never enlarged, and
// the same sizes the bitmap reduction gives.
TEST_F(FormatsTest, ReducedTo300DpiOfTheFieldWidth)
{
    QImage big(2000, 1001, QImage::Format_RGB32);
    big.fill(Qt::darkCyan);
    const QString png = Write("big.png", Encode(big, "png"));
    const QString tif = Write("big.tif", Encode(big, "tiff"));
    const QString webp = Write("big.webp", Encode(big, "webp", 50));
    const auto bmp = TPicture::FromImage(big);
    const auto viaBitmap = bmp->ReducedTo300Dpi(50);
    for (const QString &path : {png, tif, webp}) {
        QString error;
        const auto pic = LoadFieldPicture(path, 50, Qt::white, &error);
        ASSERT_TRUE(pic) << error.toStdString();
        EXPECT_EQ(pic->Width(), 591); // round(50 / 25.4 * 300)
        EXPECT_EQ(pic->Height(), viaBitmap->Height());
        EXPECT_EQ(pic->Height(), 296);
        EXPECT_EQ(pic->BmpInfo().bitCount, 24);
    }
    EXPECT_EQ(Reduced300DpiSize(2000, 1001, 50), QSize(591, 296));
    EXPECT_EQ(Reduced300DpiSize(300, 100, 50), QSize(300, 100)); // never enlarged
    EXPECT_EQ(Reduced300DpiSize(300, 100, std::nan("")), QSize(300, 100));
}

TEST_F(FormatsTest, RefusedFilesSayWhy)
{
    QString error;
    // A header that claims 60000 × 60000 pixels is refused before decoding.
    EXPECT_FALSE(LoadFieldPicture(Write("huge.png", PngClaiming(60000, 60000)), 50, Qt::white, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Das Bild ist zu groß (60000 × 60000 Bildpunkte")))
        << error.toStdString();
    EXPECT_FALSE(LoadFieldPicture(Write("wide.png", PngClaiming(10000, 10000)), 50, Qt::white, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("zu groß"))) << error.toStdString();

    QByteArray png = Encode(HalfTransparent(64, 64), "png");
    png.truncate(png.size() / 2);
    EXPECT_FALSE(LoadFieldPicture(Write("cut.png", png), 50, Qt::white, &error));
    EXPECT_EQ(error, QStringLiteral("PNG-Bild ist nicht gültig (die Datei ist beschädigt)"));

    QByteArray tif = Encode(HalfTransparent(64, 64), "tiff");
    tif.truncate(40);
    EXPECT_FALSE(LoadFieldPicture(Write("cut.tif", tif), 50, Qt::white, &error));
    EXPECT_EQ(error, QStringLiteral("TIFF-Bild ist nicht gültig (die Datei ist beschädigt)"));

    EXPECT_FALSE(LoadFieldPicture(Write("bad.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect"), 50,
                                  Qt::white, &error));
    EXPECT_EQ(error, QStringLiteral("SVG-Grafik ist nicht gültig (die Datei ist beschädigt)"));

    // An SVG whose aspect would give a picture far higher than allowed.
    EXPECT_FALSE(
        LoadFieldPicture(Write("tall.svg", Svg(QStringLiteral("0 0 1 1000"))), 50, Qt::white, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Das Bild ist zu groß"))) << error.toStdString();

    EXPECT_FALSE(TPicture::LoadFromFile(Write("text.txt", "Hallo Welt"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("PNG-, GIF-, TIFF-, WebP- und SVG-Bilder")))
        << error.toStdString();
}

TEST_F(FormatsTest, TwelveBitJpegIsRefusedAsSuch)
{
    const TBytes jpg = TwelveBitJpeg();
    QString error;
    EXPECT_TRUE(RefuseJpegPrecision(jpg, &error));
    const QString expected = QStringLiteral("12 Bit je Farbkanal werden nicht unterstützt");
    EXPECT_TRUE(error.contains(expected)) << error.toStdString();

    error.clear();
    EXPECT_FALSE(TPicture::FromFileBytes(jpg, &error));
    EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    const QString path =
        Write("zwoelf.jpg", QByteArray(reinterpret_cast<const char *>(jpg.data()), qsizetype(jpg.size())));
    error.clear();
    EXPECT_FALSE(LoadFieldPicture(path, 50, Qt::white, &error));
    EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    error.clear();
    EXPECT_FALSE(TPicture::LoadReducedFromFile(path, 50, &error));
    EXPECT_TRUE(error.contains(expected)) << error.toStdString();

    // An ordinary photo passes.
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::green);
    const QByteArray ok = Encode(img, "jpg");
    EXPECT_FALSE(RefuseJpegPrecision(TBytes(ok.begin(), ok.end()), &error));
    EXPECT_TRUE(TPicture::FromFileBytes(TBytes(ok.begin(), ok.end()), &error));
}

TEST_F(FormatsTest, FlattenKeepsOpaqueImages)
{
    QImage opaque(3, 3, QImage::Format_RGB32);
    opaque.fill(Qt::magenta);
    const QImage flat = FlattenOnto(opaque, Qt::green);
    EXPECT_EQ(flat.pixelColor(1, 1), QColor(Qt::magenta));
    QImage half(2, 1, QImage::Format_ARGB32);
    half.setPixel(0, 0, qRgba(255, 0, 0, 128));
    half.setPixel(1, 0, qRgba(0, 0, 0, 0));
    const QImage mixed = FlattenOnto(half, QColor(0, 0, 255));
    EXPECT_NEAR(mixed.pixelColor(0, 0).red(), 128, 2);
    EXPECT_NEAR(mixed.pixelColor(0, 0).blue(), 127, 2);
    EXPECT_EQ(mixed.pixelColor(1, 0), QColor(0, 0, 255));
}
