// The page apart from its view: drawing targets, rendering without a widget,
// and a view that shows another page.

#include "canvas_testing.h"
#include "testsupport.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace canvas;

namespace
{
void FillPage(TDPage &page)
{
    page.SetFillStyle(bsSolid, RGBToTColor(200, 30, 30));
    page.SetLineStyle(psSolid, clBlack, 0.5);
    page.AddRectangle(20, 30, 50, 25);
    page.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 4, 6.0, 0);
    page.AddText(QStringLiteral("Ordner\\nZwei"), 100, 100);
    page.SelectPage(0);
    page.SetLineStyle(psDash, clBlue, 0.3);
    page.AddLine(10, 150, 190, 150);
    page.SelectPage(1);
}
} // namespace

TEST(Page, RendersWithoutAWidgetExactlyAsItsView)
{
    WithoutPrinters none;
    TDPage page;
    FillPage(page);
    QImage fromPage;
    page.RenderToBitmap(fromPage, clWhite, 1.5);

    TDPaintbox view;
    FillPage(view.Page());
    QImage fromView;
    view.RenderToBitmap(fromView, clWhite, 1.5);
    ASSERT_EQ(fromPage.size(), fromView.size());
    EXPECT_EQ(fromPage, fromView);
    // The background layer is there and can be left out.
    page.SetSeite0Ausgabe(false);
    QImage without;
    page.RenderToBitmap(without, clWhite, 1.5);
    EXPECT_NE(without, fromPage);
    const int y = page.Mapping(1.5).PosToPixelY(150);
    EXPECT_NE(fromPage.pixelColor(page.Mapping(1.5).PosToPixelX(12), y), QColor(Qt::white));
    EXPECT_EQ(without.pixelColor(page.Mapping(1.5).PosToPixelX(12), y), QColor(Qt::white));
}

TEST(Page, OtherTargetsLeaveTheViewAsItIs)
{
    WithoutPrinters none;
    TDPaintbox view;
    view.SetZoomFaktor(0.6666);
    FillPage(view.Page());
    view.grab(); // the view's paint keeps the element bounds
    const QRect bounds = view.ElementBounds(0);
    ASSERT_FALSE(bounds.isEmpty());

    QImage big;
    view.RenderToBitmap(big, clWhite, 3.0);
    QImage printed(2480, 3508, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter p(&printed);
        view.Page().Draw(p, view.Page().PrinterTarget());
    }
    EXPECT_DOUBLE_EQ(view.ZoomFaktor(), 0.6666);
    EXPECT_EQ(view.ElementBounds(0), bounds);
    EXPECT_DOUBLE_EQ(view.PixelPerMmX(), view.ScreenDpi() / 25.4);

    // On the printer the printable corner is pixel 0, at the printer's
    // resolution: the rectangle's corner 20/30 mm lies 14.92/24.92 mm in.
    const TPageMapping pm = view.Page().PrinterMapping();
    EXPECT_EQ(pm.PosToPixelX(view.PrintOffsetXMm()), 0);
    const QPoint corner = pm.PosToPixel(QPointF(20, 30));
    EXPECT_EQ(corner, QPoint(176, 294));
    EXPECT_EQ(printed.pixelColor(corner + QPoint(20, 20)), QColor(200, 30, 30));
    EXPECT_EQ(printed.pixelColor(corner - QPoint(20, 20)), QColor(Qt::white));
}

TEST(Page, AViewFollowsThePageItIsGiven)
{
    WithoutPrinters none;
    TDPage shared;
    TDPaintbox view;
    QSignalSpy list(&view, &TDPaintbox::OnElementListChange);
    view.SetPage(&shared);
    EXPECT_EQ(&view.Page(), &shared);
    FillPage(shared);
    EXPECT_GE(list.count(), 3); // the view hears the page's changes
    EXPECT_EQ(view.ElementCount(), 2);
    view.SetZoomFaktor(1.0);
    EXPECT_EQ(view.size(), QSize(shared.Mapping(1.0).PosToPixelX(shared.PageWidthMm()),
                                 shared.Mapping(1.0).PosToPixelY(shared.PageHeightMm())));
    // Adders of the view go to the viewed page.
    view.AddLine(1, 1, 5, 5);
    EXPECT_EQ(shared.ElementCount(), 3);
    view.SetPage(nullptr);
    EXPECT_NE(&view.Page(), &shared);
    EXPECT_EQ(view.ElementCount(), 0);
    const int before = list.count();
    shared.AddLine(2, 2, 3, 3); // no longer this view's page
    EXPECT_EQ(list.count(), before);
}
