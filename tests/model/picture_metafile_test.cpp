#include "model/barcode.h"
#include "model/picture_internal.h"
#include "model/picture_qtformats.h"
#include "picture_testutil.h"

#include <QFile>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace
{
std::unique_ptr<TPicture> load(const QString &relative)
{
    QString error;
    auto pic = TPicture::LoadFromFile(CorpusPath(relative), &error);
    EXPECT_TRUE(pic) << relative.toStdString() << ": " << error.toStdString();
    return pic;
}

bool ink(const QImage &image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) > 128;
}

bool isColour(QRgb p, int r, int g, int b, int tolerance = 24)
{
    return std::abs(qRed(p) - r) <= tolerance && std::abs(qGreen(p) - g) <= tolerance &&
           std::abs(qBlue(p) - b) <= tolerance && qAlpha(p) > 200;
}
} // namespace

// Widths and heights in screen pixels from the header's frame, as the
// picture class reports them: EMF frames in 0.01 mm, WMF frames in their
// own units per inch.
TEST(PictureMetafile, SizeFromHeader)
{
    const struct {
        const char *file;
        int w, h;
    } cases[] = {
        {"emf/libemf2svg_test-041.emf", 1122, 794}, // 296.99 × 209.99 mm
        {"emf/pillow_drawing.emf", 110, 110},       // 28.99 mm square
        {"wmf/dotnet_telescope_01.wmf", 490, 654},  // 3096 × 4127 at 606 per inch
        {"wmf/poi_60677.wmf", 1693, 1143},          // 1270 × 857 at 72 per inch
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        auto pic = load(c.file);
        ASSERT_TRUE(pic);
        EXPECT_TRUE(pic->IsMetafile());
        EXPECT_EQ(pic->Width(), c.w);
        EXPECT_EQ(pic->Height(), c.h);
        EXPECT_TRUE(pic->ToImage().isNull());
    }
}

// The header's frame, not the extent of the ink, fills the box: labels in
// the four corners of a page-sized EMF land in the four corners of the box,
// and where the metafile has no ink the box stays transparent.
TEST(PictureMetafile, EmfFrameFillsTheBox)
{
    auto page = load("emf/libemf2svg_test-041.emf");
    ASSERT_TRUE(page);
    const QImage img = RenderTransparent(*page, 800, 566);
    EXPECT_TRUE(isColour(img.pixel(400, 280), 255, 255, 173)); // the page's pale yellow
    const QRect corners[] = {{2, 2, 40, 30}, {758, 2, 40, 30}, {2, 534, 40, 30}, {758, 534, 40, 30}};
    for (const QRect &corner : corners) {
        bool dark = false;
        for (int y = corner.top(); y <= corner.bottom(); ++y)
            for (int x = corner.left(); x <= corner.right(); ++x)
                dark = dark || qGray(img.pixel(x, y)) < 128;
        EXPECT_TRUE(dark) << corner.x() << "," << corner.y();
    }

    auto circle = load("emf/pillow_drawing.emf");
    ASSERT_TRUE(circle);
    const QImage c = RenderTransparent(*circle, 200, 200);
    EXPECT_TRUE(isColour(c.pixel(100, 100), 255, 0, 0));
    EXPECT_FALSE(ink(c, 3, 3));
    EXPECT_FALSE(ink(c, 196, 196));
}

// WMF drawings are placed by their window: the ink of well-framed clip art
// reaches the box's edges, whatever mapping mode the file uses.
TEST(PictureMetafile, WmfWindowFillsTheBox)
{
    const char *files[] = {"wmf/dotnet_gdiwmfboundariesbug.wmf"};
    for (const char *file : files) {
        SCOPED_TRACE(file);
        auto pic = load(file);
        ASSERT_TRUE(pic);
        const int h = std::max(1, 300 * pic->Height() / pic->Width());
        const QRect r = InkBounds(RenderTransparent(*pic, 300, h));
        EXPECT_LE(r.left(), 3);
        EXPECT_LE(r.top(), 3);
        EXPECT_GE(r.right(), 296);
        EXPECT_GE(r.bottom(), h - 4);
    }
    // The telescope: black tripod legs at the bottom, nothing in the corner
    // beside the eyepiece.
    auto scope = load("wmf/dotnet_telescope_01.wmf");
    const QImage a = RenderTransparent(*scope, 300, 400);
    EXPECT_TRUE(isColour(a.pixel(239, 352), 0, 0, 0));
    EXPECT_FALSE(ink(a, 290, 5));

    // The circle keeps its half-transparent red.
    auto circle = load("wmf/pillow_drawing.wmf");
    const QImage t = RenderTransparent(*circle, 300, 300);
    const QRgb red = t.pixel(200, 200);
    EXPECT_TRUE(qRed(red) > 230 && qGreen(red) < 30 && qBlue(red) < 30 && std::abs(qAlpha(red) - 128) < 16)
        << std::hex << red;
    EXPECT_FALSE(ink(t, 10, 10));
}

// Thin lines keep one pixel on a bitmap, as on Windows and on paper: the
// circle's hairline outline is dark at every size, not a faint grey.
TEST(PictureMetafile, ThinLinesKeepOnePixel)
{
    auto circle = load("wmf/pillow_drawing.wmf");
    ASSERT_TRUE(circle);
    for (const int size : {60, 120, 300}) {
        SCOPED_TRACE(size);
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            circle->Draw(p, QRectF(0, 0, size, size));
        }
        // Along the row through the circle's middle, from the left: the
        // darkest pixel before the half-transparent red fill is the outline.
        const int y = int(size * 0.675);
        int darkest = 255;
        for (int x = 0; x < size / 2; ++x) {
            const QRgb c = image.pixel(x, y);
            darkest = std::min(darkest, qGray(c));
            if (qRed(c) > 240 && qGreen(c) < 160 && qGreen(c) > 100)
                break; // inside the fill
        }
        EXPECT_LT(darkest, 140);
    }
    // Widened to one pixel along the finer axis, never more, also in a box
    // of another shape: a line any wider leaves the raster engine's hairline
    // path for outline filling, a hundred times slower on long lines.
    const QSizeF frame(5999.9, 4000);
    for (const QSize pixels : {QSize(60, 60), QSize(300, 120), QSize(77, 1013), QSize(2000, 1333)}) {
        SCOPED_TRACE(pixels.width());
        const double scale = std::max(pixels.width() / frame.width(), pixels.height() / frame.height());
        const double devicePixels = ThinStrokeWidth(frame, pixels) * scale;
        EXPECT_LE(devicePixels, 1.0);
        EXPECT_GT(devicePixels, 0.999);
    }
}

// Drawing stays inside the box even where a metafile's ink lies outside its
// frame, and also when the drawing goes to a vector device (printers, PDF).
TEST(PictureMetafile, DrawingStaysInsideTheBox)
{
    auto pic = load("wmf/pillow_drawing.wmf"); // its circle runs past the frame
    ASSERT_TRUE(pic);
    QImage image(300, 300, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        pic->Draw(p, QRectF(100, 100, 100, 100));
    }
    const QRect r = InkBounds(image);
    ASSERT_FALSE(r.isEmpty());
    EXPECT_TRUE(QRect(100, 100, 100, 100).contains(r));
    EXPECT_GE(r.right(), 196); // the circle reaches the box's right edge

    // A recorded picture keeps vectors: replayed, it shows the same ink.
    QPicture recording;
    {
        QPainter p(&recording);
        pic->Draw(p, QRectF(100, 100, 100, 100));
    }
    QImage replay(300, 300, QImage::Format_ARGB32);
    replay.fill(Qt::transparent);
    {
        QPainter p(&replay);
        recording.play(&p);
    }
    const QRect v = InkBounds(replay);
    ASSERT_FALSE(v.isEmpty());
    EXPECT_TRUE(QRect(99, 99, 102, 102).contains(v));
    EXPECT_LE(std::abs(v.left() - r.left()) + std::abs(v.top() - r.top()), 4);
}

// The conversion runs once per picture: repeated paints, also at another
// size, reuse it, and so does a clone, which shares the converted form.
TEST(PictureMetafile, ConversionIsCachedPerPicture)
{
    QString error;
    auto pic = TPicture::FromMetafileBytes(ReadCorpus("emf/poi_wrench.emf"), &error);
    ASSERT_TRUE(pic);
    const int before = MetafileConversions();
    const QImage first = RenderTransparent(*pic, 190, 115);
    EXPECT_EQ(MetafileConversions(), before + 1);
    const QImage again = RenderTransparent(*pic, 190, 115);
    RenderTransparent(*pic, 380, 230);
    EXPECT_EQ(MetafileConversions(), before + 1);
    EXPECT_EQ(first, again);
    EXPECT_FALSE(InkBounds(first).isEmpty());

    auto copy = pic->Clone();
    EXPECT_EQ(copy->Bytes(), pic->Bytes());
    EXPECT_EQ(RenderTransparent(*copy, 190, 115), first);
    EXPECT_EQ(MetafileConversions(), before + 1);
}

// A metafile that draws nothing is still a picture; an empty box draws
// nothing and changes nothing.
TEST(PictureMetafile, EmptyDrawingsAndBoxes)
{
    auto empty = load("emf/libemf2svg_test-030.emf");
    ASSERT_TRUE(empty);
    EXPECT_GT(empty->Width(), 0);
    EXPECT_TRUE(InkBounds(RenderTransparent(*empty, 100, 120)).isEmpty());

    auto pic = load("emf/libemf2svg_test-007.emf");
    ASSERT_TRUE(pic);
    QImage image(50, 50, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    pic->Draw(p, QRectF(10, 10, 0, 30));
    pic->Draw(p, QRectF(10, 10, 30, 0));
    p.end();
    EXPECT_TRUE(InkBounds(image).isEmpty());
    // A box given from its far corner is the same box.
    QImage flipped(50, 50, QImage::Format_ARGB32);
    flipped.fill(Qt::transparent);
    QPainter q(&flipped);
    pic->Draw(q, QRectF(40, 40, -30, -30));
    q.end();
    EXPECT_EQ(InkBounds(flipped), QRect(10, 10, 30, 30));
}

// Texts of a Windows metafile may hold any character of their font's code
// page, also those that mean something in SVG.
TEST(PictureMetafile, WmfTextsKeepTheirCharacters)
{
    QFile f(CorpusPath("wmf/poi_testException2.doc-2.wmf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    const qsizetype at = original.indexOf("Current Balance");
    ASSERT_GT(at, 0);

    QByteArray bytes = original;
    bytes.replace(at, 4, "&<\xE4>"); // "&<ä>" in Windows-1252, same length
    QString error;
    auto pic = TPicture::FromFileBytes(TBytes(bytes.begin(), bytes.end()), &error);
    ASSERT_TRUE(pic) << error.toStdString();
    TMetafileSvg svg;
    ASSERT_TRUE(MetafileToSvg(pic->Bytes(), TPicture::MetafileType::Wmf, &svg));
    EXPECT_TRUE(QString::fromUtf8(svg.svg).contains(QString::fromUtf8("&amp;&lt;ä&gt;ent Balance")));
    const QImage image = RenderTransparent(*pic, 300, 123);
    EXPECT_FALSE(InkBounds(image.copy(0, 0, 150, 30)).isEmpty()); // the first line has its ink

    // Cyrillic fonts: the same bytes read in their code page.
    QByteArray cyrillic = original;
    cyrillic.replace(at, 4, "\xCF\xF0\xE8\xE2"); // "Прив" in Windows-1251
    for (qsizetype pos = 18; pos + 6 <= cyrillic.size();) {
        const auto *p = reinterpret_cast<const std::uint8_t *>(cyrillic.constData() + pos);
        const std::uint32_t size = p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
        const std::uint16_t fn = std::uint16_t(p[4] | p[5] << 8);
        if (fn == 0x02FB) // CREATEFONTINDIRECT: character set at byte 13 of the font
            cyrillic[pos + 6 + 13] = char(204);
        if (size < 3 || fn == 0)
            break;
        pos += qsizetype(size) * 2;
    }
    auto ru = TPicture::FromFileBytes(TBytes(cyrillic.begin(), cyrillic.end()), &error);
    ASSERT_TRUE(ru) << error.toStdString();
    ASSERT_TRUE(MetafileToSvg(ru->Bytes(), TPicture::MetafileType::Wmf, &svg));
    EXPECT_TRUE(QString::fromUtf8(svg.svg).contains(QString::fromUtf8("Привent Balance")));
}

// Texts given as glyph numbers are left out (they need the Windows font);
// texts given as characters stay.
TEST(PictureMetafile, GlyphIndexTextsAreLeftOut)
{
    const TBytes dual = ReadCorpus("emf/libemf2svg_test-183.emf");
    std::vector<char> bytes(dual.begin(), dual.end());
    EXPECT_GT(DropGlyphIndexTexts(bytes), 0);
    EXPECT_EQ(DropGlyphIndexTexts(bytes), 0); // nothing left the second time
    auto pic = TPicture::FromFileBytes(dual, nullptr);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->Bytes(), dual); // the picture keeps its bytes

    const TBytes page = ReadCorpus("emf/libemf2svg_test-041.emf");
    std::vector<char> plain(page.begin(), page.end());
    EXPECT_EQ(DropGlyphIndexTexts(plain), 0);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), page.begin(),
                           [](char a, std::uint8_t b) { return std::uint8_t(a) == b; }));
}

// A turned text is turned about its own reference point, so an upright
// code's digits stay between its guard bars.
TEST(PictureMetafile, TurnedTextsTurnAboutTheirReferencePoint)
{
    const TBytes emf = EncodeBarcode({TBarcodeKind::Ean13, QStringLiteral("400638133393"), true, clBlack},
                                     QSizeF(20, 120), nullptr);
    TMetafileSvg svg;
    ASSERT_TRUE(MetafileToSvg(emf, TPicture::MetafileType::Emf, &svg));
    static const QRegularExpression text(
        QStringLiteral("transform=\"rotate\\(-90, ([0-9.]+), ([0-9.]+)\\)\"[^>]* "
                       "x=\"([0-9.]+)\" y=\"([0-9.]+)\""));
    int texts = 0;
    for (auto it = text.globalMatch(QString::fromUtf8(svg.svg)); it.hasNext(); ++texts) {
        const QRegularExpressionMatch m = it.next();
        EXPECT_DOUBLE_EQ(m.captured(1).toDouble(), m.captured(3).toDouble());
        EXPECT_DOUBLE_EQ(m.captured(2).toDouble(), m.captured(4).toDouble());
    }
    EXPECT_EQ(texts, 3) << svg.svg.toStdString();
}

namespace
{
// Zigzags of points from the top to the bottom edge of a square frame of
// side pixels: polygons whose every edge crosses every scanline.
std::vector<QPolygon> zigzags(int count, int points, int side)
{
    std::vector<QPolygon> all;
    for (int i = 0; i < count; ++i) {
        QPolygon p;
        for (int j = 0; j < points; ++j)
            p << QPoint((j * side / points + i * 7) % side, (j % 2) ? side - 1 : 0);
        all.push_back(p);
    }
    return all;
}

// An EMF of the polygons, filled black, in a frame of side device pixels
// (10 per millimetre).
TBytes emfOf(const std::vector<QPolygon> &polygons, int side)
{
    TBytes b;
    auto u32 = [&b](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(std::uint8_t(v >> (8 * i)));
    };
    const std::uint32_t s = std::uint32_t(side), f = s * 10 - 1;
    // The header: bounds, frame (0.01 mm), signature, version, bytes and
    // records (set below), one handle, no description or palette, and a
    // reference device of 10 pixels per millimetre.
    for (std::uint32_t v : {1u,       88u, 0u, 0u, s - 1, s - 1, 0u, 0u, f, f,      0x464D4520u,
                            0x10000u, 0u,  0u, 1u, 0u,    0u,    0u, s,  s, s / 10, s / 10})
        u32(v);
    u32(37), u32(12), u32(0x80000004); // select the black stock brush
    for (const QPolygon &p : polygons) {
        u32(86), u32(28 + 4 * std::uint32_t(p.size())); // EMR_POLYGON16
        for (std::uint32_t v :
             {0u, 0u, std::uint32_t(side - 1), std::uint32_t(side - 1), std::uint32_t(p.size())})
            u32(v);
        for (const QPoint &q : p)
            u32(std::uint32_t(q.x()) | std::uint32_t(q.y()) << 16);
    }
    u32(14), u32(20), u32(0), u32(16), u32(20); // EMR_EOF
    const std::uint32_t size = std::uint32_t(b.size()), records = std::uint32_t(polygons.size() + 3);
    for (int i = 0; i < 4; ++i) {
        b[48 + i] = std::uint8_t(size >> (8 * i));
        b[52 + i] = std::uint8_t(records >> (8 * i));
    }
    return b;
}

// The share of a row's pixels that are dark (or opaque, on transparency).
double inkedShare(const QImage &image, int y)
{
    int inked = 0;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        inked += qAlpha(p) > 128 && qGray(p) < 128;
    }
    return double(inked) / image.width();
}
} // namespace

// Two hundred polygons of 128 edges each, every edge across the whole
// height, are 100 kilobytes but would keep the antialiasing rasterizer busy
// for a quarter of an hour at 2000 pixels. Such drawings are drawn smaller
// and stretched, metafiles and SVG pictures alike. Real pictures cost a small
// part of what is allowed (the estimate is about five times what they take)
// and are drawn at full size.
TEST(PictureMetafile, CostlyDrawingsAreDrawnSmallerInTime)
{
    const int side = 2000;
    const auto polygons = zigzags(200, 128, side);
    QString error;
    auto emf = TPicture::FromMetafileBytes(emfOf(polygons, side), &error);
    ASSERT_TRUE(emf) << error.toStdString();
    TMetafileSvg converted;
    ASSERT_TRUE(MetafileToSvg(emf->Bytes(), TPicture::MetafileType::Emf, &converted));
    QSvgRenderer heavy(converted.svg);
    heavy.setViewBox(converted.frame);
    EXPECT_LT(DrawScaleWithin(SvgDrawCost(heavy, QSize(side, side)), kMaxDrawCost), 0.5);

    QImage drawn(side, side, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter p(&drawn);
        emf->Draw(p, QRectF(0, 0, side, side));
    }
    EXPECT_GT(inkedShare(drawn, side / 2), 0.3);

    QString svg = QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%1'>").arg(side);
    for (const QPolygon &p : polygons) {
        svg += QStringLiteral("<polygon fill='black' points='");
        for (const QPoint &q : p)
            svg += QStringLiteral("%1,%2 ").arg(q.x()).arg(q.y());
        svg += QStringLiteral("'/>");
    }
    svg += QStringLiteral("</svg>");
    QImage decoded;
    ASSERT_TRUE(DecodeOtherImage(svg.toUtf8(), side, Qt::white, &decoded, &error)) << error.toStdString();
    EXPECT_EQ(decoded.size(), QSize(side, side));
    EXPECT_GT(inkedShare(decoded, side / 2), 0.3);

    for (const char *name : {"emf/libemf2svg_test-041.emf", "emf/poi_wrench.emf", "wmf/poi_60677.wmf",
                             "wmf/dotnet_gdiwmfboundariesbug.wmf"}) {
        SCOPED_TRACE(name);
        auto pic = load(QString::fromLatin1(name));
        ASSERT_TRUE(pic);
        ASSERT_TRUE(MetafileToSvg(pic->Bytes(), pic->GetMetafileType(), &converted));
        QSvgRenderer real(converted.svg);
        real.setViewBox(converted.frame);
        const QSize pixels(side, side * pic->Height() / pic->Width());
        EXPECT_LT(SvgDrawCost(real, pixels).At(1), kMaxDrawCost / 4);
    }
}
