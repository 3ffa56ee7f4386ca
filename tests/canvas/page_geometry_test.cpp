// The printer page of the canvas: the default page without a printer, the
// real printer's metrics, zoom limits, mappings, grid and the printable-area
// overlay.

#include "canvas_testing.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace canvas;

// A wide sheet without a printer: the default page turns with it instead of
// cutting the sheet off.
TEST(PageGeometry, WithoutPrinterALandscapeSheetGetsALandscapePage)
{
    WithoutPrinters none;
    TDPaintbox c;
    c.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Landscape).setup);
    EXPECT_NEAR(c.PageWidthMm(), 297.01, 0.005);
    EXPECT_NEAR(c.PageHeightMm(), 209.97, 0.005);
    EXPECT_NEAR(c.PageWidthMm() - c.PrintOffsetXMm() - c.PrintableWidthMm(), 15.07, 0.005);
    EXPECT_NEAR(c.PageHeightMm() - c.PrintOffsetYMm() - c.PrintableHeightMm(), 5.08, 0.005);
}

TEST(PageGeometry, WithoutPrinterTheCanvasShowsTheA4DefaultPage)
{
    WithoutPrinters none;
    MessageCapture messages;
    TDPaintbox c;
    EXPECT_TRUE(messages.Texts().isEmpty()) << messages.Texts().join(QStringLiteral(" | ")).toStdString();

    EXPECT_EQ(c.PrinterDpiX(), 300);
    EXPECT_EQ(c.PrinterDpiY(), 300);
    EXPECT_EQ(c.PhysWidthPx(), 2480);
    EXPECT_EQ(c.PhysHeightPx(), 3508);
    EXPECT_EQ(c.ColorBits(), 8);
    EXPECT_NEAR(c.PageWidthMm(), 209.97, 0.005);
    EXPECT_NEAR(c.PageHeightMm(), 297.01, 0.005);
    EXPECT_NEAR(c.PrintOffsetXMm(), 5.08, 1e-9);
    EXPECT_NEAR(c.PrintOffsetYMm(), 5.08, 1e-9);
    EXPECT_NEAR(c.PrintableWidthMm(), 199.81, 0.005);
    EXPECT_NEAR(c.PrintableHeightMm(), 276.86, 0.005);
    EXPECT_NEAR(c.PageWidthMm() - c.PrintOffsetXMm() - c.PrintableWidthMm(), 5.08, 0.005);
    EXPECT_NEAR(c.PageHeightMm() - c.PrintOffsetYMm() - c.PrintableHeightMm(), 15.07, 0.005);
    EXPECT_EQ(c.ScreenDpi(), 96);
    EXPECT_DOUBLE_EQ(c.PixelPerMmX(), 96 / 25.4);
    EXPECT_TRUE(c.PaperList().empty());
    EXPECT_EQ(c.PaperName(), QStringLiteral("?"));

    // The control is the paper at the zoom of construction.
    EXPECT_DOUBLE_EQ(c.ZoomFaktor(), 0.5);
    EXPECT_EQ(c.width(), c.PosToPixelX(c.PageWidthMm()));
    EXPECT_EQ(c.height(), c.PosToPixelY(c.PageHeightMm()));
    EXPECT_EQ(c.width(), 397);
    EXPECT_EQ(c.height(), 561);

    const auto *printerText = static_cast<const TDTText *>(c.PageInfoElement(7));
    EXPECT_EQ(printerText->text, QStringLiteral("kein Drucker!"));
}

TEST(PageGeometry, ARealPrinterGivesItsOwnMetricsAndPapers)
{
    platform::Printer &printer = platform::Printer::Instance();
    printer.Refresh();
    if (printer.Printers().isEmpty())
        GTEST_SKIP() << "Kein CUPS-Drucker eingerichtet (kein Scheduler): nur die Standardseite ist prüfbar.";
    const platform::PrinterPage page = platform::ReadPrinterPage(QPageLayout::Portrait);
    EXPECT_TRUE(page.message.isEmpty()) << page.message.toStdString();
    TDPaintbox c;
    c.SetPageSetup(page.setup);
    EXPECT_GT(c.PrinterDpiX(), 0);
    EXPECT_GE(c.PrintOffsetXMm(), 0.0);
    EXPECT_LE(c.PrintOffsetXMm() + c.PrintableWidthMm(), c.PageWidthMm() + 1e-6);
    // Every paper of the list has a name and a size in tenths of a millimetre.
    ASSERT_GE(c.PaperList().size(), 2u);
    bool a4 = false;
    for (const auto &p : c.PaperList()) {
        EXPECT_FALSE(p.name.isEmpty());
        EXPECT_LE(p.name.size(), 63);
        if (p.id == 9) { // DMPAPER_A4
            a4 = true;
            EXPECT_EQ(p.width01mm, 2100);
            EXPECT_EQ(p.height01mm, 2970);
        }
    }
    EXPECT_TRUE(a4);
    // The page takes the orientation it is read in; the printer's own stays.
    c.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Landscape).setup);
    EXPECT_GT(c.PageWidthMm(), c.PageHeightMm());
    EXPECT_NE(c.PaperName(), QStringLiteral("?"));
    EXPECT_EQ(printer.Orientation(), QPageLayout::Portrait);
    c.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
    EXPECT_LT(c.PageWidthMm(), c.PageHeightMm());
    const auto *printerText = static_cast<const TDTText *>(c.PageInfoElement(7));
    EXPECT_EQ(printerText->text, QStringLiteral(": ") + printer.PrinterName());
}

TEST(PageGeometry, ZoomIsClampedAndTheControlFollowsIt)
{
    WithoutPrinters none;
    TDPaintbox c;
    int zoomSignals = 0;
    QObject::connect(&c, &TDPaintbox::OnZoomChanged, [&] { ++zoomSignals; });
    c.SetZoomFaktor(0.05);
    EXPECT_DOUBLE_EQ(c.ZoomFaktor(), 0.1);
    EXPECT_EQ(c.width(), 79); // 209.97 mm * 3.7795 * 0.1 = 79.36
    c.SetZoomFaktor(12);
    EXPECT_DOUBLE_EQ(c.ZoomFaktor(), 10.0);
    EXPECT_EQ(c.width(), c.PosToPixelX(c.PageWidthMm()));
    EXPECT_EQ(c.width(), 7936);
    c.SetZoomFaktor(1.0);
    EXPECT_EQ(c.width(), 794);
    EXPECT_EQ(c.height(), 1123);
    EXPECT_EQ(zoomSignals, 3);
}

TEST(PageGeometry, MappingsRoundHalfToEvenAndTruncWhereAsked)
{
    WithoutPrinters none;
    TDPaintbox c;
    c.SetZoomFaktor(1.0);
    // 96 dpi: 25.4 mm are 96 pixels.
    EXPECT_EQ(c.PosToPixelX(25.4), 96);
    EXPECT_EQ(c.LenToPixelY(25.4), 96);
    // 6.35 mm are exactly 24 pixels; half a pixel more rounds to the even 24.
    const double halfPixel = 0.5 / c.PixelPerMmX();
    EXPECT_EQ(c.LenToPixelX(6.35 + halfPixel), 24);
    EXPECT_EQ(c.LenToPixelX(6.35 + 3 * halfPixel), 26);
    EXPECT_EQ(c.LenToPixelTruncX(6.35 + 1.9 * halfPixel), 24);
    EXPECT_EQ(c.PosToPixelX(c.PrintOffsetXMm()), 19); // the margin on the screen
    c.SetZoomFaktor(2.0);
    EXPECT_NEAR(c.PixelToMmX(192), 25.4, 1e-9);
    EXPECT_NEAR(c.PixelToMmY(96), 12.7, 1e-9);

    // Grid snap applies to pointer positions, not to the measuring variant.
    c.SetRasterFang(true);
    EXPECT_DOUBLE_EQ(c.PixelToMmX(192), 25.0);
    EXPECT_NEAR(c.PixelToMmNoSnapX(192), 25.4, 1e-9);
    EXPECT_DOUBLE_EQ(c.SnapToGrid(12.5), 10.0); // half to even: 2.5 grid steps -> 2
    EXPECT_DOUBLE_EQ(c.SnapToGrid(17.5), 20.0);
}

TEST(PageGeometry, GridWidthAndScaleRejectInvalidValues)
{
    WithoutPrinters none;
    TDPaintbox c;
    c.SetRasterweite(0.5);
    EXPECT_DOUBLE_EQ(c.Rasterweite(), 5.0);
    c.SetRasterweite(c.PageWidthMm());
    EXPECT_DOUBLE_EQ(c.Rasterweite(), 5.0);
    c.SetRasterweite(1.0);
    EXPECT_DOUBLE_EQ(c.Rasterweite(), 1.0);
    c.SetMaszstab(0);
    EXPECT_DOUBLE_EQ(c.Maszstab(), 1.0);
    c.SetMaszstab(-2);
    EXPECT_DOUBLE_EQ(c.Maszstab(), 1.0);
    c.SetMaszstab(2);
    EXPECT_DOUBLE_EQ(c.Maszstab(), 2.0);
}

TEST(PageGeometry, OverlayHasNineteenElementsAtTheMeasuresOfThePage)
{
    WithoutPrinters none;
    TDPaintbox c;
    const double W = c.PageWidthMm(), H = c.PageHeightMm();
    const double ox = c.PrintOffsetXMm(), oy = c.PrintOffsetYMm();
    const double pw = c.PrintableWidthMm(), ph = c.PrintableHeightMm();
    struct Expected {
        double x, y;
        int align;
        double angle;
        const char *text;
    };
    const Expected texts[] = {
        {ox + 0.5, H / 2 - 5, 0, 0, "5,1 mm"},
        {ox + pw / 2, H / 2 - 5, 3, 0, "199,8 mm"},
        {ox + pw, H / 2 - 5, 6, 0, "5,1 mm"},
        {W / 2 - 1, oy + ph, 2, 90, "15,1 mm"},
        {W / 2 - 1, H / 4, 2, 90, "276,9 mm"},
        {W / 2 - 1, oy, 8, 90, "5,1 mm"},
        {25, 25, 0, 0, "Druckername"},
        {60, 25, 0, 0, "kein Drucker!"},
        {25, 30, 0, 0, "Auflösung / Farben"},
        {60, 30, 0, 0, ": 300 dpi(x) / 300 dpi(y) - 8 Bit"},
        {25, 35, 0, 0, "Blattgöße (b/h)"},
        {60, 35, 0, 0, ": 210,0 mm / 297,0 mm"},
        {60, 40, 0, 0, "  (2480 pixel / 3508 pixel)"},
    };
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        const auto *t = static_cast<const TDTText *>(c.PageInfoElement(i));
        ASSERT_EQ(t->kind, TDruckTyp::Text);
        EXPECT_NEAR(t->x, texts[i].x, 1e-9);
        EXPECT_NEAR(t->y, texts[i].y, 1e-9);
        EXPECT_EQ(t->alignment, texts[i].align);
        EXPECT_EQ(t->angle, texts[i].angle);
        EXPECT_EQ(t->text, QString::fromUtf8(texts[i].text));
        EXPECT_EQ(t->fontColor, clBlue);
        EXPECT_EQ(t->height, 3.0);
        EXPECT_EQ(t->blockWidth, 10.0);
        EXPECT_EQ(t->blockHeight, 4.0);
    }
    const auto *l13 = static_cast<const TDTLine *>(c.PageInfoElement(13));
    EXPECT_EQ(QLineF(l13->x1, l13->y1, l13->x2, l13->y2), QLineF(0, H / 2, W, H / 2));
    const auto *l14 = static_cast<const TDTLine *>(c.PageInfoElement(14));
    EXPECT_EQ(QLineF(l14->x1, l14->y1, l14->x2, l14->y2), QLineF(W / 2, 0, W / 2, H));
    const QPointF centres[] = {{ox, H / 2}, {ox + pw, H / 2}, {W / 2, oy + ph}, {W / 2, oy}};
    for (int i = 0; i < 4; ++i) {
        const auto *circle = static_cast<const TDTCircle *>(c.PageInfoElement(15 + i));
        ASSERT_EQ(circle->kind, TDruckTyp::Circle);
        EXPECT_EQ(QPointF(circle->x, circle->y), centres[i]);
        EXPECT_EQ(circle->radius, 1.0);
        EXPECT_EQ(circle->fillStyle, bsClear);
    }
    EXPECT_EQ(c.PageInfoElement(19), nullptr);
}

TEST(PageGeometry, OverlayIsDrawnWhereItsElementsLie)
{
    WithoutPrinters none;
    TDPaintbox c;
    c.SetZoomFaktor(1.0);
    c.ShowPageInfos(true);
    c.show();
    const QImage shot = c.grab().toImage();
    // The horizontal middle line crosses the page, black.
    const int yMid = c.PosToPixelY(c.PageHeightMm() / 2);
    EXPECT_EQ(InkRunsInRow(shot, yMid, 300, 340).size(), 1u);
    EXPECT_EQ(InkRunsInRow(shot, yMid, 300, 340)[0], std::make_pair(300, 340));
    // "Druckername" in blue right of and below (25, 25) mm.
    const int x = c.PosToPixelX(25), y = c.PosToPixelY(25);
    const QRect row(x - 5, y - 5, 100, c.LenToPixelY(3.0) + 7);
    const QRect text = InkBounds(shot, row, 230);
    ASSERT_FALSE(text.isNull());
    EXPECT_NEAR(text.left(), x, 3);
    EXPECT_GE(text.top(), y);
    EXPECT_LE(text.bottom(), y + c.LenToPixelY(3.0));
    int bluish = 0;
    for (int yy = text.top(); yy <= text.bottom(); ++yy)
        for (int xx = text.left(); xx <= text.right(); ++xx) {
            const QColor px = shot.pixelColor(xx, yy);
            if (px.blue() > 200 && px.red() < 100 && px.green() < 100)
                ++bluish;
        }
    EXPECT_GT(bluish, 10);
    // The black circle around the left margin on the middle line, its upper
    // half (the grey dotted frame of the printable area is lighter).
    const int cx = c.PosToPixelX(c.PrintOffsetXMm());
    const QRect upper = InkBounds(shot, QRect(cx - 8, yMid - 8, 10, 8), 100);
    EXPECT_EQ(upper.top(), c.PosToPixelY(c.PageHeightMm() / 2 - 1.0));
    EXPECT_NEAR(upper.left(), c.PosToPixelX(c.PrintOffsetXMm() - 1.0), 1);
    c.ShowPageInfos(false);
    const QImage off = c.grab().toImage();
    EXPECT_TRUE(InkBounds(off, row, 230).isNull());
}
