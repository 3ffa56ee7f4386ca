// Adding elements: texts and their measuring, lines, rectangles, pages,
// placement (scale, offset, mirroring, grid snap) and element info.

#include "canvas_testing.h"
#include "testsupport.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace canvas;

namespace
{
class CanvasElements : public ::testing::Test
{
  protected:
    WithoutPrinters none_;
    TDPaintbox c_;
};
} // namespace

TEST_F(CanvasElements, TextIsStoredAsTheAdderGotIt)
{
    int changes = 0;
    QObject::connect(&c_, &TDPaintbox::OnElementListChange, [&] { ++changes; });
    ElementInfo info;

    EXPECT_EQ(c_.AddText(QString(), 10, 10), 0);
    c_.GetElementInfo(0, info);
    EXPECT_EQ(info.kind, TDruckTyp::Text);
    EXPECT_EQ(info.text, QStringLiteral(" "));

    const QString longText(256, QLatin1Char('x'));
    EXPECT_EQ(c_.AddText(longText, 10, 20), 1);
    c_.GetElementInfo(1, info);
    EXPECT_TRUE(info.text.isEmpty()); // the short field stays empty for long texts
    EXPECT_GT(info.width, 100.0);     // but the whole text was measured

    const QString maxShort(255, QLatin1Char('y'));
    c_.AddText(maxShort, 10, 30);
    c_.GetElementInfo(2, info);
    EXPECT_EQ(info.text, maxShort);

    c_.AddText(QStringLiteral("A\\nB"), 10, 40);
    c_.GetElementInfo(3, info);
    EXPECT_EQ(info.text, QStringLiteral("A\r\nB"));
    EXPECT_NEAR(info.height, 4.23 * (1 + 1.1), 1e-9);

    EXPECT_EQ(changes, 4);
    EXPECT_EQ(c_.ElementCount(), 4);
}

TEST_F(CanvasElements, TextTakesTheCurrentStyle)
{
    c_.SetTextStyle(QStringLiteral("A font name that is far longer than thirty-two"), 0x0000FF,
                    fsBold | fsItalic, 7, 6.0, 45);
    c_.AddText(QStringLiteral("Stil"), 50, 60);
    ElementInfo info;
    c_.GetElementInfo(0, info);
    EXPECT_EQ(info.fontName, QStringLiteral("A font name that is far longer t"));
    EXPECT_EQ(info.color, 0x0000FF);
    EXPECT_EQ(info.fontStyle, fsBold | fsItalic);
    EXPECT_EQ(info.alignment, 7);
    EXPECT_EQ(info.textHeight, 6.0);
    EXPECT_EQ(info.angle, 45.0);
    EXPECT_EQ(info.x, 50.0);
    EXPECT_EQ(info.y, 60.0);
}

TEST_F(CanvasElements, TextBlockIsMeasuredWithTheCharacterHeightAtScreenScale)
{
    c_.SetZoomFaktor(3.0); // measuring ignores the zoom
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 5.0, 0);
    c_.AddText(QStringLiteral("Hallo Welt"), 10, 10);
    ElementInfo info;
    c_.GetElementInfo(0, info);
    // 5 mm are 19 screen pixels; the font's character height is 19 * 25.4
    // pixels, trunc 482.
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(482);
    f.setKerning(false);
    const double expected =
        QFontMetricsF(f).horizontalAdvance(QStringLiteral("Hallo Welt")) / (96 / 25.4) / 25.4;
    EXPECT_NEAR(info.width, expected, 0.05);
    EXPECT_GT(info.width, 20.0);
    EXPECT_LT(info.width, 30.0);
    EXPECT_DOUBLE_EQ(info.height, 5.0);

    // Two lines of 5 mm with line factor 1.1: 10.5 mm; the widest line counts.
    c_.AddText(QStringLiteral("kurz\r\nHallo Welt"), 10, 30);
    c_.GetElementInfo(1, info);
    EXPECT_NEAR(info.height, 10.5, 1e-9);
    EXPECT_NEAR(info.width, expected, 0.05);

    // The line factor of the moment of adding decides.
    c_.SetLineFactor(0.01);
    EXPECT_DOUBLE_EQ(c_.LineFactor(), 0.1);
    c_.SetLineFactor(2.0);
    c_.AddText(QStringLiteral("a\r\nb\r\nc"), 10, 60);
    c_.GetElementInfo(2, info);
    EXPECT_NEAR(info.height, 5.0 * (1 + 2 * 2.0), 1e-9);
}

TEST_F(CanvasElements, RotatedTextReportsTheBoxAroundItsBlock)
{
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 4, 5.0, 0);
    c_.AddText(QStringLiteral("Drehung"), 100, 100);
    ElementInfo flat;
    c_.GetElementInfo(0, flat);
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 4, 5.0, 90);
    c_.AddText(QStringLiteral("Drehung"), 100, 100);
    ElementInfo upright;
    c_.GetElementInfo(1, upright);
    EXPECT_NEAR(upright.width, flat.height, 1e-9);
    EXPECT_NEAR(upright.height, flat.width, 1e-9);
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 4, 5.0, 30);
    c_.AddText(QStringLiteral("Drehung"), 100, 100);
    ElementInfo tilted;
    c_.GetElementInfo(2, tilted);
    const double rad = 30 * M_PI / 180;
    EXPECT_NEAR(tilted.width, flat.width * std::cos(rad) + flat.height * std::sin(rad), 1e-9);
    EXPECT_NEAR(tilted.height, flat.width * std::sin(rad) + flat.height * std::cos(rad), 1e-9);
}

TEST_F(CanvasElements, LinesAreStoredLeftToRightWithTheCurrentPen)
{
    c_.SetLineStyle(psDash, 0x00FF00, 0.5);
    EXPECT_EQ(c_.AddLine(50, 10, 20, 30), 0);
    ElementInfo info;
    c_.GetElementInfo(0, info);
    EXPECT_EQ(info.kind, TDruckTyp::Line);
    EXPECT_EQ(QLineF(info.x, info.y, info.x2, info.y2), QLineF(20, 30, 50, 10));
    EXPECT_EQ(info.penStyle, psDash);
    EXPECT_EQ(info.color, 0x00FF00);
    EXPECT_EQ(info.penWidth, 0.5);
}

TEST_F(CanvasElements, RectanglesGetAMinimumSizeAndTheCurrentStyle)
{
    c_.SetLineStyle(psDot, 0x112233, 0.3);
    c_.SetFillStyle(bsSolid, 0x445566);
    c_.AddRectangle(10, 20, 0, -5);
    ElementInfo info;
    c_.GetElementInfo(0, info);
    EXPECT_EQ(info.kind, TDruckTyp::Rectangle);
    EXPECT_DOUBLE_EQ(info.width, 0.1);
    EXPECT_DOUBLE_EQ(info.height, 0.1);
    EXPECT_EQ(info.x, 10.0);
    EXPECT_EQ(info.y, 20.0);
    EXPECT_EQ(info.penStyle, psDot);
    EXPECT_EQ(info.color, 0x112233);
    EXPECT_EQ(info.fillColor, 0x445566);
    EXPECT_EQ(info.fillStyle, bsSolid);

    // Defaults of a fresh canvas: solid black 0.1 mm pen, silver fill.
    TDPaintbox fresh;
    fresh.AddRectangle(0, 0, 10, 10);
    fresh.GetElementInfo(0, info);
    EXPECT_EQ(info.penStyle, psSolid);
    EXPECT_EQ(info.color, clBlack);
    EXPECT_DOUBLE_EQ(info.penWidth, 0.1);
    EXPECT_EQ(info.fillColor, clSilver);
}

TEST_F(CanvasElements, InvalidElementNumbersGiveAnEmptyInfo)
{
    c_.AddRectangle(1, 2, 3, 4);
    ElementInfo info;
    info.kind = TDruckTyp::Line;
    info.x = 7;
    c_.GetElementInfo(1, info);
    EXPECT_EQ(info.kind, TDruckTyp::None);
    EXPECT_EQ(info.x, 0.0);
    c_.GetElementInfo(-1, info);
    EXPECT_EQ(info.kind, TDruckTyp::None);
}

TEST_F(CanvasElements, PagesHoldTheirOwnElements)
{
    MessageCapture messages;
    EXPECT_EQ(c_.CurrentPage(), 1);
    c_.AddRectangle(1, 1, 1, 1);
    c_.SelectPage(0, false);
    EXPECT_EQ(c_.ElementCount(), 0);
    EXPECT_EQ(c_.AddLine(0, 0, 1, 1), 0);
    QString error;
    EXPECT_FALSE(c_.SelectPage(2, false, &error));
    EXPECT_EQ(error, QStringLiteral("Seite nicht vorhanden !"));
    EXPECT_TRUE(messages.Texts().isEmpty()); // the caller decides what to say
    EXPECT_EQ(c_.CurrentPage(), 0);
    EXPECT_FALSE(c_.SelectPage(-1, true));
    EXPECT_EQ(c_.CurrentPage(), 0);
    int changes = 0;
    QObject::connect(&c_, &TDPaintbox::OnElementListChange, [&] { ++changes; });
    c_.ClearPage();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(c_.ElementCount(), 0);
    c_.SelectPage(1, false);
    EXPECT_EQ(c_.ElementCount(), 1);
}

TEST_F(CanvasElements, PlacementScalesShiftsAndMirrors)
{
    c_.SetLineStyle(psSolid, clBlack, 1.0);
    c_.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 4.0, 0);
    c_.AddText(QStringLiteral("T"), 20, 40);
    c_.AddLine(10, 10, 30, 50);
    c_.AddRectangle(10, 20, 30, 40);

    c_.SetMaszstab(2.0); // re-places everything from its input values
    ElementInfo t, l, r;
    c_.GetElementInfo(0, t);
    c_.GetElementInfo(1, l);
    c_.GetElementInfo(2, r);
    EXPECT_EQ(QPointF(t.x, t.y), QPointF(10, 20));
    EXPECT_DOUBLE_EQ(t.textHeight, 2.0);
    EXPECT_EQ(QLineF(l.x, l.y, l.x2, l.y2), QLineF(5, 5, 15, 25));
    EXPECT_DOUBLE_EQ(l.penWidth, 0.5);
    EXPECT_EQ(QPointF(r.x, r.y), QPointF(5, 10));
    EXPECT_DOUBLE_EQ(r.width, 30.0); // input width
    EXPECT_DOUBLE_EQ(r.penWidth, 0.5);

    c_.SetMaszstab(1.0);
    c_.SetOffsetX(3.0);
    c_.SetOffsetY(-2.0);
    c_.GetElementInfo(0, t);
    c_.GetElementInfo(1, l);
    EXPECT_EQ(QPointF(t.x, t.y), QPointF(23, 38));
    EXPECT_EQ(QLineF(l.x, l.y, l.x2, l.y2), QLineF(13, 8, 33, 48));

    // Mirroring applies to what is placed afterwards.
    c_.SetOffsetX(0);
    c_.SetOffsetY(0);
    c_.SetXRechts(true);
    c_.SetYUnten(true);
    c_.GetElementInfo(2, r);
    EXPECT_EQ(QPointF(r.x, r.y), QPointF(10, 20));
    c_.Relayout();
    const double W = c_.PageWidthMm(), H = c_.PageHeightMm();
    c_.GetElementInfo(0, t);
    c_.GetElementInfo(1, l);
    c_.GetElementInfo(2, r);
    EXPECT_NEAR(t.x, W - 20, 1e-9);
    EXPECT_NEAR(t.y, H - 40, 1e-9);
    EXPECT_NEAR(l.x, W - 10, 1e-9);
    EXPECT_NEAR(l.y2, H - 50, 1e-9);
    // A mirrored rectangle keeps its size and gets ordered edges.
    EXPECT_NEAR(r.x, W - 10 - 30, 1e-9);
    EXPECT_NEAR(r.y, H - 20 - 40, 1e-9);
}

TEST_F(CanvasElements, GridSnapAppliesToTheInputs)
{
    c_.SetRasterweite(5.0);
    c_.SetRasterFang(true);
    c_.AddText(QStringLiteral("S"), 12.4, 13.6);
    c_.AddLine(31, 9, 2, 1);
    c_.AddRectangle(7.6, 8.0, 0.05, 12.6);
    ElementInfo t, l, r;
    c_.GetElementInfo(0, t);
    c_.GetElementInfo(1, l);
    c_.GetElementInfo(2, r);
    EXPECT_EQ(QPointF(t.x, t.y), QPointF(10, 15));
    EXPECT_EQ(QLineF(l.x, l.y, l.x2, l.y2), QLineF(0, 0, 30, 10));
    EXPECT_EQ(QPointF(r.x, r.y), QPointF(10, 10));
    EXPECT_DOUBLE_EQ(r.width, 5.0); // too small: one grid step
    EXPECT_DOUBLE_EQ(r.height, 15.0);
}
