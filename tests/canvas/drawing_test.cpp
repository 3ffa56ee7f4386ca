// What the drawing routine puts on a bitmap and on the screen, read back
// pixel by pixel.

#include "canvas_testing.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace canvas;

namespace
{
class CanvasDrawing : public ::testing::Test
{
  protected:
    CanvasDrawing() { c_.SetLineFactor(1.1); }
    QImage Render(double zoom = 1.0)
    {
        QImage img;
        c_.RenderToBitmap(img, clWhite, zoom);
        // The element bounds come from the view\'s own paint (at its zoom).
        c_.grab();
        return img;
    }
    WithoutPrinters none_;
    TDPaintbox c_;
};
} // namespace

TEST_F(CanvasDrawing, BitmapIsTheWholePageIn24Bit)
{
    const double zoomBefore = c_.ZoomFaktor();
    QImage img;
    c_.RenderToBitmap(img, RGBToTColor(10, 20, 30), 0.8);
    EXPECT_EQ(img.format(), QImage::Format_RGB888);
    EXPECT_EQ(img.width(), 635); // 209.97 mm at 96 dpi * 0.8
    EXPECT_EQ(img.height(), 898);
    EXPECT_EQ(img.pixelColor(5, 5), QColor(10, 20, 30));
    EXPECT_DOUBLE_EQ(c_.ZoomFaktor(), zoomBefore);
}

TEST_F(CanvasDrawing, DashedLineDrawsFiveMillimetreDashesAndReachesItsEnd)
{
    c_.SetLineStyle(psDash, clBlack, 0.5);
    c_.AddLine(20, 50, 53, 50);
    const double zoom = 2.0;
    const QImage img = Render(zoom);
    c_.SetZoomFaktor(zoom); // for the mappings below
    const int y = c_.PosToPixelY(50);
    const auto runs = InkRunsInRow(img, y, 0, img.width() - 1);
    ASSERT_EQ(runs.size(), 5u);
    const int cap = c_.LenToPixelX(0.5) / 2; // round ends
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(runs[size_t(k)].first, c_.PosToPixelX(20 + 7.0 * k) - cap, 1);
        EXPECT_NEAR(runs[size_t(k)].second, c_.PosToPixelX(25 + 7.0 * k) + cap, 1);
    }
    // The last dash is cut at the end point.
    EXPECT_NEAR(runs.back().first, c_.PosToPixelX(48) - cap, 1);
    EXPECT_NEAR(runs.back().second, c_.PosToPixelX(53) + cap, 1);
    // The line is 0.5 mm thick.
    const QRect firstDash = InkBounds(img, QRect(runs[0].first + 5, y - 10, 3, 21));
    EXPECT_EQ(firstDash.height(), c_.LenToPixelY(0.5));
}

TEST_F(CanvasDrawing, ALineDrawnBackwardsLooksTheSame)
{
    c_.SetLineStyle(psDashDot, clBlack, 0.3);
    c_.AddLine(20, 50, 97, 80);
    const QImage forward = Render(1.5);
    c_.ClearPage();
    c_.AddLine(97, 80, 20, 50);
    const QImage backward = Render(1.5);
    EXPECT_TRUE(forward == backward);
    EXPECT_FALSE(InkBounds(forward, forward.rect()).isNull());
}

TEST_F(CanvasDrawing, RectangleFillsItsBoxAndDrawsItsEdges)
{
    c_.SetLineStyle(psSolid, RGBToTColor(255, 0, 0), 1.0);
    c_.SetFillStyle(bsSolid, RGBToTColor(0, 0, 255));
    c_.AddRectangle(20, 30, 40, 20);
    c_.SetZoomFaktor(1.0);
    const QImage img = Render(1.0);
    const int l = c_.PosToPixelX(20), t = c_.PosToPixelY(30), r = c_.PosToPixelX(60), b = c_.PosToPixelY(50);
    EXPECT_EQ(img.pixelColor((l + r) / 2, (t + b) / 2), QColor(0, 0, 255));
    EXPECT_EQ(img.pixelColor((l + r) / 2, t), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor((l + r) / 2, b), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(l, (t + b) / 2), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(r, (t + b) / 2), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(r + 4, (t + b) / 2), QColor(255, 255, 255));
    const QRect ink = InkBounds(img, img.rect(), 250);
    const int half = c_.LenToPixelX(1.0) / 2;
    EXPECT_NEAR(ink.left(), l - half, 1);
    EXPECT_NEAR(ink.right(), r + half, 1);
}

TEST_F(CanvasDrawing, RectangleOfNoSizeStillShowsATenthOfAMillimetre)
{
    c_.SetLineStyle(psClear, clBlack, 0.1);
    c_.SetFillStyle(bsSolid, clBlack);
    c_.AddRectangle(30, 30, 0, 0);
    c_.SetZoomFaktor(4.0);
    const QImage img = Render(4.0);
    const QRect ink = InkBounds(img, img.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_EQ(ink.width(), c_.PosToPixelX(30.1) - c_.PosToPixelX(30));
    EXPECT_EQ(ink.height(), c_.PosToPixelY(30.1) - c_.PosToPixelY(30));
    EXPECT_EQ(ink.topLeft(), QPoint(c_.PosToPixelX(30), c_.PosToPixelY(30)));
}

TEST_F(CanvasDrawing, ClearFillAndClearPenDrawNothing)
{
    c_.SetLineStyle(psClear, clBlack, 1);
    c_.SetFillStyle(bsClear, clBlack);
    c_.AddRectangle(30, 30, 40, 40);
    c_.SetLineStyle(psSolid, clNone, 1);
    c_.SetFillStyle(bsSolid, clNone);
    c_.AddRectangle(30, 30, 40, 40);
    const QImage img = Render();
    EXPECT_TRUE(InkBounds(img, img.rect(), 254).isNull());
}

TEST_F(CanvasDrawing, TextHeightIsTheCellHeightOfTheFont)
{
    // Liberation Sans ("Arial"): cell 2288 units, ascent 1854, cap height 1409.
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 10.0, 0);
    c_.AddText(QStringLiteral("H"), 30, 40);
    const double zoom = 300 / 96.0;
    const QImage img = Render(zoom);
    c_.SetZoomFaktor(zoom);
    const QRect ink = InkBounds(img, img.rect());
    const double pxPerMm = 300 / 25.4;
    EXPECT_NEAR(ink.height(), 10.0 * 1409 / 2288 * pxPerMm, 2.0);
    EXPECT_NEAR(ink.top(), c_.PosToPixelY(40) + 10.0 * (1854 - 1409) / 2288.0 * pxPerMm, 2.0);
    EXPECT_GE(ink.left(), c_.PosToPixelX(30));
    EXPECT_LT(ink.left(), c_.PosToPixelX(31.5));
}

TEST_F(CanvasDrawing, TextAlignmentsPutTheBlockAroundTheAnchor)
{
    c_.SetZoomFaktor(2.0);
    const QPoint anchor(c_.PosToPixelX(100), c_.PosToPixelY(150));
    struct Case {
        int align;
        double angle;
    };
    const Case cases[] = {{0, 0}, {4, 0}, {8, 0}, {2, 90}, {4, 90}, {6, 90}, {4, 30}, {0, 200}, {8, 315}};
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << k.align << " angle " << k.angle);
        c_.ClearPage();
        c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, k.align, 6.0, k.angle);
        c_.AddText(QStringLiteral("Mitte\\nZeile"), 100, 150);
        const QImage img = Render(2.0);
        const QRect ink = InkBounds(img, img.rect());
        const QRect bounds = c_.ElementBounds(0);
        ASSERT_FALSE(ink.isNull());
        // The ink lies inside the stored bounds (these are measured with the
        // character height and so a little generous).
        EXPECT_TRUE(bounds.adjusted(-2, -2, 2, 2).contains(ink))
            << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height() << " bounds "
            << bounds.x() << "," << bounds.y() << " " << bounds.width() << "x" << bounds.height();
        const int h = k.align / 3, v = k.align % 3;
        if (k.angle == 0) {
            if (h == 0) {
                EXPECT_NEAR(ink.left(), anchor.x(), 3);
            }
            if (h == 2) {
                EXPECT_NEAR(ink.right(), anchor.x(), 3);
            }
            if (v == 0) {
                EXPECT_GE(ink.top(), anchor.y());
            }
            if (v == 2) {
                EXPECT_LE(ink.bottom(), anchor.y() + 1);
            }
        }
        if (k.align == 4) {
            EXPECT_NEAR((ink.left() + ink.right()) / 2.0, anchor.x(), 8);
            EXPECT_NEAR((ink.top() + ink.bottom()) / 2.0, anchor.y(), 8);
        }
        if (k.angle == 90) {
            EXPECT_GT(ink.height(), ink.width()); // reads upward
            if (h == 0) {
                EXPECT_LE(ink.bottom(), anchor.y() + 1);
            }
            if (h == 2) {
                EXPECT_GE(ink.top(), anchor.y() - 1);
            }
        }
    }
}

TEST_F(CanvasDrawing, UprightLinesStackToTheRight)
{
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 4, 6.0, 90);
    c_.AddText(QStringLiteral("I\\nIIIIIIII"), 100, 150);
    c_.SetZoomFaktor(2.0);
    const QImage img = Render(2.0);
    const QRect ink = InkBounds(img, img.rect());
    // The short first line sits left of the anchor, the long second right.
    const int ax = c_.PosToPixelX(100);
    const QRect left = InkBounds(img, QRect(ink.left(), ink.top(), ax - ink.left(), ink.height()));
    const QRect right = InkBounds(img, QRect(ax, ink.top(), ink.right() - ax + 1, ink.height()));
    EXPECT_LT(left.height(), right.height() / 3);
}

TEST_F(CanvasDrawing, BackgroundLayerIsDrawnFirstAndOnlyWhenWanted)
{
    c_.SelectPage(0, false);
    c_.SetLineStyle(psClear, clBlack, 0.1);
    c_.SetFillStyle(bsSolid, RGBToTColor(0, 255, 0));
    c_.AddRectangle(10, 10, 50, 50);
    c_.SelectPage(1, false);
    c_.SetFillStyle(bsSolid, RGBToTColor(255, 0, 0));
    c_.AddRectangle(30, 30, 50, 50);
    c_.SetZoomFaktor(1.0);
    const QPoint both(c_.PosToPixelX(40), c_.PosToPixelY(40));
    const QPoint back(c_.PosToPixelX(15), c_.PosToPixelY(15));
    QImage img = Render();
    EXPECT_EQ(img.pixelColor(both), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(back), QColor(0, 255, 0));
    c_.SetSeite0Ausgabe(false);
    img = Render();
    EXPECT_EQ(img.pixelColor(both), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(back), QColor(255, 255, 255));
}

TEST_F(CanvasDrawing, ScreenShowsMarginsGridAndTheSameElementsAsTheBitmap)
{
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, fsBold, 4, 8.0, 20);
    c_.AddText(QStringLiteral("Gleich"), 100, 100);
    c_.SetLineStyle(psDashDotDot, RGBToTColor(0, 0, 200), 0.4);
    c_.AddLine(20, 150, 180, 170);
    c_.SetZoomFaktor(1.0);
    c_.show();

    c_.SetDruckrand(false);
    const QImage screen = c_.grab().toImage().convertToFormat(QImage::Format_RGB888);
    const QImage bitmap = Render(1.0);
    EXPECT_TRUE(screen == bitmap);

    c_.SetDruckrand(true);
    c_.SetRaster(true);
    c_.SetRasterFarbe(RGBToTColor(200, 0, 200));
    const QImage framed = c_.grab().toImage();
    // Unprintable margins in their own colour, the printable area in the
    // page colour, the grid in its colour.
    EXPECT_EQ(framed.pixelColor(3, 300), QColor(248, 248, 248));
    EXPECT_EQ(framed.pixelColor(c_.PosToPixelX(12), 300), QColor(255, 255, 255));
    EXPECT_EQ(framed.pixelColor(c_.PosToPixelX(10), 300), QColor(200, 0, 200));
    EXPECT_EQ(framed.pixelColor(c_.PosToPixelX(15), 303), QColor(200, 0, 200));
    EXPECT_EQ(framed.pixelColor(c_.PosToPixelX(12.5), c_.PosToPixelY(20)), QColor(200, 0, 200));
    EXPECT_EQ(framed.pixelColor(0, 0), QColor(128, 128, 128)); // frame around the grid
    EXPECT_EQ(framed.pixelColor(3, c_.height() - 3), QColor(248, 248, 248));
    // The dotted line along the printable area's left edge.
    int dots = 0;
    for (int y = 300; y < 340; ++y)
        dots += framed.pixelColor(c_.PosToPixelX(c_.PrintOffsetXMm()), y) == QColor(128, 128, 128);
    EXPECT_GT(dots, 8);
    EXPECT_LT(dots, 32);
}

TEST_F(CanvasDrawing, MarkingFrameShowsOnTheScreenOnly)
{
    c_.SetLineStyle(psSolid, clBlack, 0.5);
    c_.AddLine(40, 60, 120, 60);
    c_.SetFillStyle(bsSolid, RGBToTColor(255, 255, 0));
    c_.SetLineStyle(psClear, clBlack, 0.5);
    c_.AddRectangle(50, 100, 40, 30);
    c_.SetZoomFaktor(1.0);
    c_.show();
    c_.SetDruckrand(false);
    const QImage plain = c_.grab().toImage();

    c_.SetElementMarked(1, true);
    const QImage marked = c_.grab().toImage();
    const QRect b = c_.ElementBounds(1);
    const int right = b.left() + b.width(), bottom = b.top() + b.height();
    // Handles: white inverted to black, yellow inverted to blue.
    EXPECT_EQ(marked.pixelColor(b.left() - 3, b.top() - 3), QColor(0, 0, 0));
    EXPECT_EQ(marked.pixelColor(b.left() + 3, b.top() + 3), QColor(0, 0, 255));
    EXPECT_EQ(marked.pixelColor(right + 3, bottom + 3), QColor(0, 0, 0));
    EXPECT_EQ(marked.pixelColor((b.left() + right) / 2 + 2, (b.top() + bottom) / 2 + 2), QColor(0, 0, 255));
    // The dotted frame is drawn "not xor" in blue: on the yellow fill its
    // dots come out black (one dot in four), the fill between them stays.
    int dots = 0, fill = 0;
    for (int x = b.left() + 10; x < right - 10; ++x) {
        const QColor px = marked.pixelColor(x, b.top());
        dots += px == QColor(0, 0, 0);
        fill += px == QColor(255, 255, 0);
    }
    EXPECT_GT(dots, 0);
    EXPECT_NEAR(fill, 3 * dots, 4);
    EXPECT_EQ(marked.pixelColor(b.left() - 10, b.top() - 10), plain.pixelColor(b.left() - 10, b.top() - 10));
    EXPECT_NEAR(c_.MarkedAreaMm().left(), 50, 0.3);
    EXPECT_NEAR(c_.MarkedAreaMm().top(), 100, 0.3);

    // Neither the bitmap nor the unmarked line shows a frame.
    const QImage bitmap = Render(1.0);
    EXPECT_EQ(bitmap.pixelColor(b.left() - 3, b.top() - 3), QColor(255, 255, 255));
    c_.UnmarkAll();
    const QImage again = c_.grab().toImage();
    EXPECT_TRUE(again == plain);
}

TEST_F(CanvasDrawing, MarkFrameIsAnOrangeBlueRectangleOnTheScreen)
{
    c_.SetZoomFaktor(1.0);
    c_.show();
    c_.SetMarkRect(true, 30, 40, 50, 20);
    const QImage on = c_.grab().toImage();
    const QColor frame = on.pixelColor(c_.PosToPixelX(55), c_.PosToPixelY(40));
    EXPECT_EQ(frame, QColor(0, 0x66, 0xFF)); // $FF6600 as a Windows colour
    EXPECT_EQ(on.pixelColor(c_.PosToPixelX(55), c_.PosToPixelY(50)), QColor(255, 255, 255));
    c_.SetMarkRect(false, 0, 0, 0, 0);
    const QImage off = c_.grab().toImage();
    EXPECT_EQ(off.pixelColor(c_.PosToPixelX(55), c_.PosToPixelY(40)), QColor(255, 255, 255));
}

TEST_F(CanvasDrawing, ScreenPaintRecomputesBoundsOfElementsOutsideItsClip)
{
    c_.SetLineStyle(psSolid, clBlack, 0.5);
    c_.AddLine(150, 250, 180, 260);
    c_.SetZoomFaktor(1.0);
    c_.show();
    QImage target(c_.size(), QImage::Format_RGB32);
    c_.render(&target, QPoint(), QRegion(0, 0, 50, 50));
    EXPECT_EQ(c_.ElementBounds(0).left(), c_.PosToPixelX(150));
    c_.SetZoomFaktor(2.0);
    QImage bigger(c_.size(), QImage::Format_RGB32);
    bigger.fill(Qt::white);
    c_.render(&bigger, QPoint(), QRegion(0, 0, 50, 50));
    EXPECT_EQ(c_.ElementBounds(0),
              QRect(c_.PosToPixelX(150), c_.PosToPixelY(250), c_.PosToPixelX(180) - c_.PosToPixelX(150) + 1,
                    c_.PosToPixelY(260) - c_.PosToPixelY(250) + 1));
    // Nothing outside the painted part was touched.
    EXPECT_TRUE(InkBounds(bigger, QRect(60, 60, bigger.width() - 60, bigger.height() - 60)).isNull());
}

TEST_F(CanvasDrawing, UnderlineLiesUnderCentredTextAtEveryZoom)
{
    // On the screen the canvas sits inside the window (the page centred in
    // the scroll box), on a bitmap at its origin; both must put the line
    // under the text.
    QWidget window;
    window.resize(1300, 1450);
    auto *canvas = new TDPaintbox(&window);
    canvas->move(137, 61);
    // Alignment 3: centred horizontally, the block hangs from the anchor;
    // also turned by 45 degrees.
    canvas->SetTextStyle(QStringLiteral("Arial"), clBlack, fsUnderline, 3, 8.0, 0);
    canvas->AddText(QStringLiteral("Ordner 2026"), 100, 60);
    canvas->SetTextStyle(QStringLiteral("Arial"), clBlack, fsUnderline, 3, 8.0, 45);
    canvas->AddText(QStringLiteral("Ordner 2026"), 100, 160);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const double zoom : {0.7, 0.8, 0.93, 1.0, 1.2}) {
        SCOPED_TRACE(testing::Message() << "zoom " << zoom);
        canvas->SetZoomFaktor(zoom);
        canvas->SetDruckrand(false);
        // What the window shows, read back from the screen.
        window.repaint();
        QApplication::processEvents();
        const QRect r = canvas->geometry();
        const QImage screen = window.screen()
                                  ->grabWindow(window.winId(), r.x(), r.y(), r.width(), r.height())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB888);
        QImage bitmap;
        canvas->RenderToBitmap(bitmap, clWhite, zoom);
        ASSERT_EQ(screen.size(), bitmap.size());
        EXPECT_TRUE(screen == bitmap);
        // The upright text: the underline is the longest run of ink in a row
        // and spans the text.
        const QRect ink = InkBounds(screen, QRect(0, 0, screen.width(), canvas->PosToPixelY(100)));
        ASSERT_FALSE(ink.isNull());
        std::pair<int, int> line{0, -1};
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            for (const auto &run : InkRunsInRow(screen, y, ink.left(), ink.right()))
                if (run.second - run.first > line.second - line.first)
                    line = run;
        EXPECT_GT(line.second - line.first + 1, ink.width() * 9 / 10);
        EXPECT_NEAR(line.first, ink.left(), 2 + ink.width() / 20);
        EXPECT_NEAR(line.second, ink.right(), 2 + ink.width() / 20);
    }
}
