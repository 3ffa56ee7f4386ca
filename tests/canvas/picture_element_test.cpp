// Picture elements: the canvas's own copy, placement and stretched drawing.

#include "canvas_testing.h"
#include "model/picture.h"
#include "testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

using namespace canvas;

namespace
{
// Two columns: red left, blue right.
std::unique_ptr<TPicture> TwoColours()
{
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(255, 0, 0));
    img.setPixel(1, 0, qRgb(0, 0, 255));
    return TPicture::FromImage(img);
}

class PictureElements : public ::testing::Test
{
  protected:
    PictureElements() { c_.SetZoomFaktor(1.0); }
    QImage Render()
    {
        QImage img;
        c_.RenderToBitmap(img, clWhite, 1.0);
        // The element bounds come from the view\'s own paint (at its zoom).
        c_.grab();
        return img;
    }
    WithoutPrinters none_;
    TDPaintbox c_;
};
} // namespace

TEST_F(PictureElements, MissingOrEmptyPicturesAddNothing)
{
    int changes = 0;
    QObject::connect(&c_, &TDPaintbox::OnElementListChange, [&] { ++changes; });
    EXPECT_EQ(c_.AddPicture(kSrcCopy, nullptr, 10, 10, 20, 20), -1);
    EXPECT_EQ(c_.ElementCount(), 0);
    EXPECT_EQ(changes, 0);
    const auto pic = TwoColours();
    ASSERT_TRUE(pic);
    EXPECT_EQ(c_.AddPicture(kSrcCopy, pic.get(), 10, 10, 20, 20), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(PictureElements, TheCanvasDrawsItsOwnCopy)
{
    auto pic = TwoColours();
    c_.AddPicture(kSrcCopy, pic.get(), 20, 30, 40, 10);
    pic.reset(); // the field's picture goes away; the page keeps showing it
    const QImage img = Render();
    const int y = c_.PosToPixelY(35);
    EXPECT_EQ(img.pixelColor(c_.PosToPixelX(25), y), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(c_.PosToPixelX(55), y), QColor(0, 0, 255));
    // Stretched into its box: from PosToPixel of the corner, LenToPixel wide.
    const QRect ink = InkBounds(img, img.rect(), 250);
    EXPECT_EQ(ink, QRect(c_.PosToPixelX(20), c_.PosToPixelY(30), c_.LenToPixelX(40), c_.LenToPixelY(10)));
    EXPECT_EQ(c_.ElementBounds(0), ink);
}

TEST_F(PictureElements, PlacementAndInfo)
{
    const auto pic = TwoColours();
    c_.SetMaszstab(2.0);
    c_.SetOffsetX(5.0);
    c_.AddPicture(kSrcCopy, pic.get(), 20, 30, 40, 10);
    ElementInfo info;
    c_.GetElementInfo(0, info);
    EXPECT_EQ(info.kind, TDruckTyp::Picture);
    EXPECT_EQ(QPointF(info.x, info.y), QPointF(15, 15));
    EXPECT_EQ(QSizeF(info.width, info.height), QSizeF(20, 5)); // placed size
    EXPECT_EQ(QSizeF(info.x2, info.y2), QSizeF(40, 10));       // as given
    // Mirrored: the box keeps its size, its far edge goes to the mirrored point.
    c_.SetMaszstab(1.0);
    c_.SetOffsetX(0.0);
    c_.SetXRechts(true);
    c_.SetYUnten(true);
    c_.Relayout();
    c_.GetElementInfo(0, info);
    EXPECT_NEAR(info.x, c_.PageWidthMm() - 20 - 40, 1e-9);
    EXPECT_NEAR(info.y, c_.PageHeightMm() - 30 - 10, 1e-9);
}

TEST_F(PictureElements, SmoothScalingOnlyWhenAsked)
{
    const auto pic = TwoColours();
    c_.AddPicture(kSrcCopy, pic.get(), 20, 30, 80, 10);
    auto mixed = [&](const QImage &img) {
        int n = 0;
        const int y = c_.PosToPixelY(35);
        for (int x = c_.PosToPixelX(20); x < c_.PosToPixelX(100); ++x) {
            const QColor px = img.pixelColor(x, y);
            n += px.red() > 20 && px.blue() > 20;
        }
        return n;
    };
    c_.SetGrafikenWeich(false);
    EXPECT_EQ(mixed(Render()), 0);
    c_.SetGrafikenWeich(true);
    EXPECT_GT(mixed(Render()), 10);
}

namespace
{
TBytes CorpusBytes(const QString &relative)
{
    QFile f(CorpusPath(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray a = f.readAll();
    return TBytes(a.begin(), a.end());
}
} // namespace

TEST_F(PictureElements, PhotosAndMetafilesAreDrawnThroughThePicture)
{
    // A photo: left half dark, right half light.
    QImage photo(64, 32, QImage::Format_RGB32);
    photo.fill(QColor(240, 240, 240));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            photo.setPixel(x, y, qRgb(20, 20, 20));
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(photo.save(&b, "JPG", 95));
    }
    QString error;
    const auto jpg = TPicture::FromJpegBytes(TBytes(jpeg.begin(), jpeg.end()), &error);
    ASSERT_TRUE(jpg) << error.toStdString();
    c_.AddPicture(kSrcCopy, jpg.get(), 20, 20, 64, 32);
    c_.SetJPEG_Skalierung(TJPEGScale::jsEighth);

    const TBytes emfBytes = CorpusBytes(QStringLiteral("emf/pillow_drawing.emf"));
    if (emfBytes.empty())
        GTEST_SKIP() << "Beispieldatei emf/pillow_drawing.emf fehlt.";
    const auto emf = TPicture::FromMetafileBytes(emfBytes, &error);
    ASSERT_TRUE(emf) << error.toStdString();
    c_.AddPicture(kSrcCopy, emf.get(), 20, 100, 80, 80);

    const QImage img = Render();
    EXPECT_LT(qGray(img.pixel(c_.PosToPixelX(30), c_.PosToPixelY(36))), 80);
    EXPECT_GT(qGray(img.pixel(c_.PosToPixelX(74), c_.PosToPixelY(36))), 200);
    EXPECT_EQ(c_.JPEG_Skalierung(), TJPEGScale::jsEighth);
    // The metafile leaves ink inside its box and nowhere else.
    const QRect box(c_.PosToPixelX(20), c_.PosToPixelY(100), c_.LenToPixelX(80), c_.LenToPixelY(80));
    const QRect ink = InkBounds(img, QRect(0, c_.PosToPixelY(90), img.width(), c_.LenToPixelY(110)), 250);
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(box.adjusted(-1, -1, 1, 1).contains(ink));
}

TEST_F(PictureElements, ScreenDecodesPhotosAtTheChosenScale)
{
    // A thin dark line in a light photo: decoded at an eighth it fades.
    QImage photo(64, 32, QImage::Format_RGB32);
    photo.fill(QColor(255, 255, 255));
    for (int y = 0; y < 32; ++y)
        for (int x = 30; x < 32; ++x)
            photo.setPixel(x, y, qRgb(0, 0, 0));
    QByteArray jpeg;
    QBuffer b(&jpeg);
    b.open(QIODevice::WriteOnly);
    ASSERT_TRUE(photo.save(&b, "JPG", 100));
    const auto jpg = TPicture::FromJpegBytes(TBytes(jpeg.begin(), jpeg.end()), nullptr);
    ASSERT_TRUE(jpg);
    c_.AddPicture(kSrcCopy, jpg.get(), 20, 20, 64, 32);
    auto darkest = [&](const QImage &img) {
        int d = 255;
        for (int x = c_.PosToPixelX(20); x < c_.PosToPixelX(84); ++x)
            d = std::min(d, qGray(img.pixel(x, c_.PosToPixelY(36))));
        return d;
    };
    c_.SetJPEG_Skalierung(TJPEGScale::jsFullSize);
    EXPECT_LT(darkest(Render()), 60);
    c_.SetJPEG_Skalierung(TJPEGScale::jsEighth);
    EXPECT_GT(darkest(Render()), 120);

    // The printer's target always decodes at full size.
    const TPageMapping pm = c_.Page().PrinterMapping();
    QImage printed(c_.PhysWidthPx(), c_.PhysHeightPx(), QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter p(&printed);
        c_.Page().Draw(p, c_.Page().PrinterTarget());
    }
    EXPECT_EQ(c_.JPEG_Skalierung(), TJPEGScale::jsEighth);
    int d = 255;
    for (int x = pm.PosToPixelX(20); x < pm.PosToPixelX(84); ++x)
        d = std::min(d, qGray(printed.pixel(x, pm.PosToPixelY(36))));
    EXPECT_LT(d, 60);
}
