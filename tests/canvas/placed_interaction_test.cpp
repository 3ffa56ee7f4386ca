// The one mapping of the page: clicks and pointer positions find the drawn
// elements with offsets, scale and mirrored axes; pixel and millimetre
// conversions go both ways.

#include "canvas_testing.h"
#include "model/picture.h"
#include "testsupport.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace canvas;

namespace
{

// A shown canvas at zoom 1 on the default A4 page.
class PlacedInteraction : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        c.SetZoomFaktor(1.0);
        c.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
        QCursor::setPos(c.mapToGlobal(QPoint(-200, -200)));
        QApplication::processEvents();
    }
    void Hover(QPoint pt) { QTest::mouseMove(&c, pt); }

    WithoutPrinters none_;
    TDPaintbox c;
};

std::unique_ptr<TPicture> TestPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    return TPicture::FromImage(img);
}

} // namespace

// A click inside a drawn element finds it whatever the placement: the hit
// test, the pointer position and the drawing share one mapping.
TEST_F(PlacedInteraction, ClicksFindElementsWithOffsetsScaleAndMirroring)
{
    struct Placement {
        double maszstab, offsetX, offsetY;
        bool xRechts, yUnten;
    };
    const Placement placements[] = {{1.0, 20, 0, false, false}, {1.0, 20, -15, false, false},
                                    {2.0, 0, 0, false, false},  {0.5, 10, 5, false, false},
                                    {1.0, 0, 0, true, false},   {1.0, 0, 0, false, true},
                                    {2.0, 7, 3, true, true}};
    auto pic = TestPicture(40, 20);
    c.SetBearbeitbar(true);
    for (const Placement &pl : placements) {
        SCOPED_TRACE(testing::Message() << "Maszstab " << pl.maszstab << " offset " << pl.offsetX << "/"
                                        << pl.offsetY << " mirrored " << pl.xRechts << pl.yUnten);
        c.SelectPage(1, false);
        c.ClearPage();
        c.SetMaszstab(pl.maszstab);
        c.SetOffsetX(pl.offsetX);
        c.SetOffsetY(pl.offsetY);
        c.SetXRechts(pl.xRechts);
        c.SetYUnten(pl.yUnten);
        c.SetFillStyle(bsSolid, clSilver);
        c.SetLineStyle(psSolid, clBlack, 0.5);
        const int filled = c.AddRectangle(60, 80, 40, 30);
        c.SetFillStyle(bsClear, clNone);
        const int frame = c.AddRectangle(120, 160, 40, 30);
        const int picture = c.AddPicture(kSrcCopy, pic.get(), 20, 150, 30, 15);
        c.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 8.0, 0);
        const int text = c.AddText(QStringLiteral("Ordner"), 30, 40);
        c.Redraw();

        // The middle of each drawn box, as a pixel of the view.
        auto centre = [&](int n) { return c.ElementBounds(n).center(); };
        EXPECT_EQ(c.ElementAtPixel(centre(filled)), filled);
        EXPECT_EQ(c.ElementAtPixel(centre(picture)), picture);
        EXPECT_EQ(c.ElementAtPixel(centre(text)), text);
        // The clear frame only near its drawn outline.
        const QRect fb = c.ElementBounds(frame);
        EXPECT_EQ(c.ElementAtPixel(QPoint(fb.center().x(), fb.top())), frame);
        EXPECT_EQ(c.ElementAtPixel(fb.center()), -1);

        // The same through the pointer: a hover reports the point in the
        // adders' coordinates, and that point finds the element.
        QSignalSpy xy(&c, &TDPaintbox::OnXYChange);
        Hover(centre(filled) + QPoint(1, 0));
        Hover(centre(filled));
        ASSERT_GE(xy.count(), 1);
        const double x = xy.last()[0].toDouble(), y = xy.last()[1].toDouble();
        EXPECT_GT(x, 60);
        EXPECT_LT(x, 100);
        EXPECT_GT(y, 80);
        EXPECT_LT(y, 110);
        EXPECT_EQ(c.ElementAtPoint(x, y), filled);

        // A real click of the edit mode marks it.
        QSignalSpy marked(&c, &TDPaintbox::ONElementMarked);
        QTest::mouseClick(&c, Qt::LeftButton, {}, centre(picture));
        ASSERT_EQ(marked.count(), 1);
        EXPECT_EQ(marked.last()[0].toInt(), picture);
    }
    c.SetBearbeitbar(false);
    c.SetMaszstab(1.0);
    c.SetOffsetX(0);
    c.SetOffsetY(0);
    c.SetXRechts(false);
    c.SetYUnten(false);
}

// Pixel, placed and input millimetres convert both ways without drift.
TEST(PageMapping, ConvertsBothWays)
{
    TPageMapping m;
    m.zoom = 1.7;
    m.pixelPerMmX = m.pixelPerMmY = 300 / 25.4;
    m.originXMm = 5.08;
    m.originYMm = 4.0;
    m.maszstab = 2.5;
    m.offsetX = 12;
    m.offsetY = -3;
    m.pageWidthMm = 210;
    m.pageHeightMm = 297;
    for (bool xr : {false, true})
        for (bool yu : {false, true}) {
            m.xRechts = xr;
            m.yUnten = yu;
            const QPointF input(33.3, 71.9);
            const QPointF placed = m.Place(input);
            EXPECT_NEAR(m.Input(placed).x(), input.x(), 1e-9);
            EXPECT_NEAR(m.Input(placed).y(), input.y(), 1e-9);
            EXPECT_NEAR(placed.x(), xr ? 210 - (33.3 / 2.5 + 12) : 33.3 / 2.5 + 12, 1e-9);
            EXPECT_NEAR(placed.y(), yu ? 297 - (71.9 / 2.5 - 3) : 71.9 / 2.5 - 3, 1e-9);
            // One pixel is at most one pixel's length away after the round trip.
            const QPoint px = m.PosToPixel(placed);
            EXPECT_NEAR(m.PixelToPosX(px.x()), placed.x(), 0.5 / (m.zoom * m.pixelPerMmX) + 1e-9);
            EXPECT_NEAR(m.PixelToPosY(px.y()), placed.y(), 0.5 / (m.zoom * m.pixelPerMmY) + 1e-9);
            EXPECT_EQ(m.PosToPixel(QPointF(m.PixelToPosX(px.x()), m.PixelToPosY(px.y()))), px);
        }
    // The origin: the printable corner lands on pixel 0.
    EXPECT_EQ(m.PosToPixelX(5.08), 0);
    m.rasterFang = true;
    m.rasterweite = 5;
    EXPECT_DOUBLE_EQ(m.SnapToGrid(12.4), 10.0);
}
