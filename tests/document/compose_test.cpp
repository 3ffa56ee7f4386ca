#include "document/compose.h"
#include "document/document.h"
#include "model/rs.h"
#include "model/undobj.h"
#include "platform/printer.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using canvas::ElementInfo;
using canvas::TDruckTyp;

namespace
{
ElementInfo info(TDPaintbox &c, int page, int n)
{
    c.SelectPage(page, false);
    ElementInfo i;
    c.GetElementInfo(n, i);
    return i;
}

int count(TDPaintbox &c, int page)
{
    c.SelectPage(page, false);
    return c.ElementCount();
}

class Compose : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        canvas.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
        sheet.SetLayout(2, 3, 210, 297, 10, 10, 20, 20, 4, 2, 0x00FFFF);
    }
    TDPaintbox canvas;
    TRS sheet;
    TComposeSettings settings;
};
} // namespace

TEST_F(Compose, BackgroundLayerHasFillsSeparatorsAndOutlinesInOrder)
{
    sheet.GetColumn(0)->BackgroundOn = true;
    sheet.GetColumn(0)->BackgroundColor = 0x123456;
    sheet.RowLineStyle = 2;
    sheet.RowLineColor = 0x0000FF;
    sheet.ColumnLineStyle = 3;
    ComposeSheet(sheet, canvas.Page(), settings);

    EXPECT_EQ(canvas.Blattfarbe(), 0x00FFFF);
    // Column 0: its fill, 3 × (field rect + separator) + bottom line, outline = 9.
    // Column 1 has no fill rectangle: 8.
    ASSERT_EQ(count(canvas, 0), 17);
    const TRSSpalte *c0 = sheet.GetColumn(0);
    ElementInfo e = info(canvas, 0, 0);
    EXPECT_EQ(e.kind, TDruckTyp::Rectangle);
    EXPECT_EQ(e.fillColor, 0x123456);
    EXPECT_DOUBLE_EQ(e.width, c0->Width);

    const TRSObject *f = sheet.GetField(0, 0);
    e = info(canvas, 0, 1);
    EXPECT_EQ(e.kind, TDruckTyp::Rectangle);
    EXPECT_EQ(e.fillColor, 0x123456); // the field rectangles take the column's fill
    EXPECT_NEAR(e.x, f->Left, 1e-9);
    e = info(canvas, 0, 2);
    EXPECT_EQ(e.kind, TDruckTyp::Line);
    EXPECT_EQ(e.penStyle, 2);
    EXPECT_EQ(e.color, 0x0000FF);
    EXPECT_NEAR(e.y, f->Y1 - 1, 1e-9); // half the spacing above the row
    EXPECT_NEAR(e.x2, c0->Left + c0->Width, 1e-9);
    e = info(canvas, 0, 7); // after the last row: the bottom separator
    EXPECT_EQ(e.kind, TDruckTyp::Line);
    EXPECT_NEAR(e.y, sheet.GetField(0, 2)->Y2 + 1, 1e-9);
    e = info(canvas, 0, 8);
    EXPECT_EQ(e.kind, TDruckTyp::Rectangle);
    EXPECT_EQ(e.fillStyle, 1);
    EXPECT_EQ(e.penStyle, 3);
    e = info(canvas, 0, 9); // column 1 starts with a white field rectangle
    EXPECT_EQ(e.fillColor, 0xFFFFFF);
    EXPECT_EQ(count(canvas, 1), 0); // nothing visible
}

TEST_F(Compose, VisibleFieldsGiveBackgroundTextAndBorderLines)
{
    TRSObject *f = sheet.GetField(1, 2); // last row
    f->Visible = true;
    f->Kind = 1;
    f->Text = "Ordner\r\n";
    f->BackgroundColor = 0x00FF00;
    f->LinesTopBottom = true;
    f->LinesLeftRight = true;
    f->LineColor = 0xFF0000;
    f->LineWidth = 0.7;
    f->Alignment = 2;
    f->FontHeight = 6;
    sheet.GetField(0, 0)->Visible = true; // empty text field: only its background
    sheet.GetField(0, 0)->Kind = 1;

    const TFieldElements elements = ComposeSheet(sheet, canvas.Page(), settings);
    ASSERT_EQ(count(canvas, 1), 1 + 1 + 1 + 4);
    EXPECT_EQ(elements.Element(0, 0), -1);
    EXPECT_EQ(elements.Size(), 1u);

    ElementInfo bg0 = info(canvas, 1, 0);
    EXPECT_NEAR(bg0.height, sheet.GetField(0, 0)->Height, 1e-9); // not the last row: full height
    ElementInfo bg = info(canvas, 1, 1);
    EXPECT_EQ(bg.kind, TDruckTyp::Rectangle);
    EXPECT_EQ(bg.fillColor, 0x00FF00);
    EXPECT_NEAR(bg.x, f->Left + 0.05, 1e-9);
    EXPECT_NEAR(bg.width, f->Width - 0.1, 1e-9);
    EXPECT_NEAR(bg.height, f->Height - 0.1, 1e-9);

    EXPECT_EQ(elements.Element(1, 2), 2);
    ElementInfo t = info(canvas, 1, 2);
    EXPECT_EQ(t.kind, TDruckTyp::Text);
    EXPECT_EQ(t.text, "Ordner"); // the trailing line break is not drawn
    EXPECT_EQ(t.alignment, 7);
    EXPECT_NEAR(t.x, f->Left + f->Width, 1e-9);
    EXPECT_NEAR(t.y, f->CenterY, 1e-9);

    const double s = sheet.FieldSpacing;
    ElementInfo top = info(canvas, 1, 3), bottom = info(canvas, 1, 4), left = info(canvas, 1, 5),
                right = info(canvas, 1, 6);
    EXPECT_NEAR(top.y, f->Top - s / 2, 1e-9);
    EXPECT_NEAR(bottom.y, f->Top + f->Height + s / 2, 1e-9);
    EXPECT_NEAR(left.x, f->Left, 1e-9);
    EXPECT_NEAR(left.y, f->Top + f->Height + s / 2, 1e-9);
    EXPECT_NEAR(left.y2, f->Top - s / 2, 1e-9);
    EXPECT_NEAR(right.x, f->X2, 1e-9);
    EXPECT_EQ(right.color, 0xFF0000);
    EXPECT_EQ(right.penStyle, 0);
}

TEST_F(Compose, AnchorTableFollowsAlignmentAndWholeDegrees)
{
    TRSObject f;
    f.SetFrame(10, 20, 50, 100);
    struct Case {
        int alignment;
        double angle;
        int canvasAlign;
        double x, y;
    } cases[] = {
        {0, 0, 1, 10, 60},     {0, 90, 1, 30, 100}, {0, 45, 4, 30, 60},  {0, 89.9, 4, 30, 60},
        {0, 90.7, 1, 30, 100}, {1, 0, 4, 30, 60},   {1, 90, 4, 30, 60},  {2, 0, 7, 50, 60},
        {2, 90, 7, 30, 20},    {2, 180, 4, 30, 60}, {0, 0.5, 1, 10, 60},
    };
    for (const Case &c : cases) {
        f.Alignment = std::uint8_t(c.alignment);
        f.Angle = c.angle;
        const TTextAnchor a = TextAnchor(f);
        EXPECT_EQ(a.alignment, c.canvasAlign) << c.alignment << " " << c.angle;
        EXPECT_DOUBLE_EQ(a.x, c.x) << c.alignment << " " << c.angle;
        EXPECT_DOUBLE_EQ(a.y, c.y) << c.alignment << " " << c.angle;
    }
}

TEST(ComposeText, TrailingLineBreakRule)
{
    EXPECT_EQ(DrawnText("ab\r\n"), "ab");
    EXPECT_EQ(DrawnText("a\r\n"), "a\r\n");
    EXPECT_EQ(DrawnText("Zeile\r\nzwei"), "Zeile\r\nzwei");
    EXPECT_EQ(DrawnText(std::string(300, 'x')).size(), 255u);
}

TEST(ComposePicture, FitKeepsTheProportionCentred)
{
    TRSObject f;
    f.SetFrame(10, 10, 40, 40); // 30 × 30
    QRectF r = FitPicture(f, 200, 100);
    EXPECT_DOUBLE_EQ(r.width(), 30);
    EXPECT_DOUBLE_EQ(r.height(), 15);
    EXPECT_DOUBLE_EQ(r.y(), 10 + 7.5);
    r = FitPicture(f, 100, 400);
    EXPECT_DOUBLE_EQ(r.height(), 30);
    EXPECT_DOUBLE_EQ(r.width(), 7.5);
    EXPECT_DOUBLE_EQ(r.x(), 25 - 3.75);
    f.SetFrame(0, 0, 10, 40); // tall field, wide picture
    r = FitPicture(f, 50, 50);
    EXPECT_DOUBLE_EQ(r.width(), 10);
    EXPECT_DOUBLE_EQ(r.y(), 15);
    f.SetFrame(0, 0, 60, 10); // wide field, tall picture stays inside
    r = FitPicture(f, 30, 60);
    EXPECT_DOUBLE_EQ(r.height(), 10);
    EXPECT_DOUBLE_EQ(r.width(), 5);
}

TEST_F(Compose, PicturesAndEmptySheets)
{
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::blue);
    TRSObject *f = sheet.GetField(0, 1);
    f->Visible = true;
    f->Kind = 2;
    f->Picture = TPicture::FromImage(img);
    sheet.GetField(1, 1)->Visible = true;
    sheet.GetField(1, 1)->Kind = 2; // no picture: no element
    ComposeSheet(sheet, canvas.Page(), settings);
    ASSERT_EQ(count(canvas, 1), 3);
    const ElementInfo p = info(canvas, 1, 1);
    EXPECT_EQ(p.kind, TDruckTyp::Picture);
    EXPECT_NEAR(p.width, f->Width, 1e-9);
    EXPECT_NEAR(p.height, f->Width / 2, 1e-9);

    TRS empty;
    empty.PageWidth = 100;
    ComposeSheet(empty, canvas.Page(), settings);
    EXPECT_EQ(count(canvas, 0), 0);
    EXPECT_EQ(count(canvas, 1), 0);
    EXPECT_EQ(canvas.CurrentPage(), 1);
}
