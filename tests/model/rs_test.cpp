#include "model/rs.h"

#include <gtest/gtest.h>

namespace
{
// 4 columns on A4 landscape, margins 26.5/26.5/9/9, gap 0, spacing 4, 6 rows.
void makeBinderSheet(TRS &rs, int columns = 4, int rows = 6, double gap = 0, double spacing = 4)
{
    rs.SetLayout(columns, rows, 297, 210, 26.5, 26.5, 9, 9, gap, spacing, clYellow);
}
} // namespace

TEST(Sheet, DefaultsOfAFreshSheetColumnAndField)
{
    TRS rs;
    EXPECT_FALSE(rs.GridBuilt);
    EXPECT_EQ(rs.BackgroundColor, 0x00FFFF);
    EXPECT_EQ(rs.RowLineColor, 0xC0C0C0);
    EXPECT_EQ(rs.RowLineStyle, 1);
    EXPECT_FALSE(rs.UserName.empty());
    EXPECT_FALSE(rs.ComputerName.empty());
    TRSObject f;
    EXPECT_EQ(f.Kind, TFieldKind::Text);
    EXPECT_EQ(f.FontName, "Arial");
    EXPECT_DOUBLE_EQ(f.FontHeight, 8.0);
    EXPECT_DOUBLE_EQ(f.LineWidth, 0.5);
    EXPECT_EQ(f.BackgroundColor, 0xFFFFFF);
    EXPECT_EQ(f.Alignment, 1);
    EXPECT_FALSE(f.Visible);
}

TEST(Sheet, LayoutGivesColumnsAndFieldFrames)
{
    TRS rs;
    makeBinderSheet(rs);
    ASSERT_TRUE(rs.GridBuilt);
    EXPECT_DOUBLE_EQ(rs.ColumnWidth, 61);
    EXPECT_DOUBLE_EQ(rs.ColumnHeight, 192);
    ASSERT_EQ(rs.Columns.size(), 4u);
    EXPECT_DOUBLE_EQ(rs.GetColumn(2)->Left, 26.5 + 2 * 61);
    const TRSObject *f = rs.GetField(0, 0);
    EXPECT_DOUBLE_EQ(f->Width, 53);
    EXPECT_DOUBLE_EQ(f->Y1, 15);
    EXPECT_NEAR(f->Height, 26.667, 1e-3);
    EXPECT_NEAR(rs.GetField(0, 1)->Y1 - f->Y1, 30.667, 1e-3);
    EXPECT_EQ(f->Kind, TFieldKind::Empty);
    EXPECT_FALSE(f->Visible);
    const TRSObject *last = rs.GetField(3, 5);
    EXPECT_NEAR(rs.GetColumn(3)->Top + rs.GetColumn(3)->Height - last->Y2, 6, 1e-9); // 1.5 × spacing
    EXPECT_DOUBLE_EQ(last->CenterX, last->X1 + last->Width / 2);
    EXPECT_EQ(rs.GetField(4, 0), nullptr);
    EXPECT_EQ(rs.GetField(0, 6), nullptr);
    EXPECT_EQ(rs.GetField(-1, 0), nullptr);
}

TEST(Sheet, HitTestsOnSharedEdges)
{
    TRS rs;
    makeBinderSheet(rs, 4, 6, 0, 0);
    const TRSObject *a = rs.GetField(1, 2);
    const double edgeY = a->Y2; // touches row 3
    const double x = a->CenterX;
    EXPECT_EQ(rs.FieldAtPoint(x, edgeY), nullptr);
    EXPECT_EQ(rs.RowAtPoint(x, edgeY), 3);
    EXPECT_EQ(rs.FieldAtPoint(x, a->CenterY), a);
    const double columnEdge = rs.GetColumn(1)->Left;
    EXPECT_EQ(rs.ColumnAtPoint(columnEdge, 100), rs.GetColumn(0));
    EXPECT_EQ(rs.ColumnAtPoint(1, 100), nullptr);
    EXPECT_EQ(rs.RowAtPoint(1, 100), -1);

    rs.SetColumnVisible(true, rs.GetColumn(2)->Left + 5, -1000);
    for (auto &f : rs.GetColumn(2)->Fields)
        EXPECT_TRUE(f->Visible);
    EXPECT_FALSE(rs.GetField(1, 0)->Visible);
}

TEST(Sheet, SetGridKeepsContentAndScalesTextHeights)
{
    TRS rs;
    makeBinderSheet(rs);
    TRSObject *text = rs.GetField(1, 1);
    text->Kind = TFieldKind::Text;
    text->Text = "Akten";
    text->FontHeight = 10;
    TRSObject *pic = rs.GetField(3, 5);
    pic->Kind = TFieldKind::Picture;
    pic->FontHeight = 10;
    rs.GetColumn(0)->BackgroundOn = true;

    rs.SetGrid(5, 6);
    EXPECT_EQ(rs.ColumnCount, 5);
    EXPECT_DOUBLE_EQ(rs.GetField(1, 1)->FontHeight, 8);
    EXPECT_EQ(rs.GetField(1, 1)->Text, "Akten");
    EXPECT_DOUBLE_EQ(rs.GetField(3, 5)->FontHeight, 10);
    EXPECT_FALSE(rs.GetColumn(0)->BackgroundOn);
    EXPECT_DOUBLE_EQ(rs.GetField(1, 1)->Width, rs.ColumnWidth - 8); // new frame, not the old one

    rs.SetGrid(4, 2);
    EXPECT_DOUBLE_EQ(rs.GetField(1, 1)->FontHeight, 10);
    EXPECT_EQ(rs.GetField(3, 5), nullptr);

    TRS never;
    never.SetGrid(3, 3);
    EXPECT_EQ(never.ColumnCount, 0);
    EXPECT_FALSE(never.GridBuilt);
}

TEST(Sheet, SetSpacingReplacesKeepingContent)
{
    TRS rs;
    makeBinderSheet(rs);
    rs.GetField(2, 3)->Text = "X";
    rs.GetField(2, 3)->Visible = true;
    rs.SetSpacing(10, 10, 5, 5, 2, 1);
    EXPECT_DOUBLE_EQ(rs.ColumnWidth, (297 - 20 - 3 * 2) / 4.0);
    const TRSObject *f = rs.GetField(2, 3);
    EXPECT_EQ(f->Text, "X");
    EXPECT_TRUE(f->Visible);
    EXPECT_DOUBLE_EQ(f->X1, 10 + 2 * rs.ColumnWidth + 2 * 2 + 1);
    EXPECT_DOUBLE_EQ(rs.GetField(0, 0)->Y1, 5 + 1.5);
}

TEST(Sheet, ShiftColumnsAndRowsRotateAndReplace)
{
    TRS rs;
    makeBinderSheet(rs, 3, 3, 2, 4);
    rs.GetField(0, 0)->Text = "A";
    rs.GetField(2, 2)->Text = "Z";
    rs.GetColumn(0)->BackgroundOn = true;
    const double left0 = rs.GetColumn(0)->Left;
    const double x1col2 = rs.GetField(2, 0)->X1;

    rs.ShiftColumns(true); // first column to the end
    EXPECT_EQ(rs.GetField(2, 0)->Text, "A");
    EXPECT_TRUE(rs.GetColumn(2)->BackgroundOn);
    EXPECT_EQ(rs.GetColumn(2)->Index, 2);
    EXPECT_DOUBLE_EQ(rs.GetField(2, 0)->X1, x1col2);
    EXPECT_DOUBLE_EQ(rs.GetColumn(0)->Left, left0);
    rs.ShiftColumns(false);
    EXPECT_EQ(rs.GetField(0, 0)->Text, "A");

    const double y0 = rs.GetField(0, 0)->Y1;
    rs.ShiftRows(false); // last row to the top
    EXPECT_EQ(rs.GetField(2, 0)->Text, "Z");
    EXPECT_EQ(rs.GetField(0, 1)->Text, "A");
    EXPECT_DOUBLE_EQ(rs.GetField(2, 0)->Y1, y0);
    rs.ShiftRows(true);
    EXPECT_EQ(rs.GetField(2, 2)->Text, "Z");

    TRS one;
    one.SetLayout(1, 1, 100, 100, 0, 0, 0, 0, 0, 2, clWhite);
    one.GetField(0, 0)->Text = "only";
    const double x = one.GetField(0, 0)->X1;
    one.ShiftColumns(true);
    one.ShiftRows(true);
    one.CopyFirstColumn();
    EXPECT_EQ(one.GetField(0, 0)->Text, "only");
    EXPECT_DOUBLE_EQ(one.GetField(0, 0)->X1, x);
}

TEST(Sheet, CopyFirstColumnDuplicatesItAndDropsTheLast)
{
    TRS rs;
    makeBinderSheet(rs, 3, 2, 0, 2);
    for (int c = 0; c < 3; ++c)
        rs.GetField(c, 0)->Text = std::string(1, char('A' + c));
    rs.GetColumn(0)->BackgroundOn = true;
    rs.GetColumn(0)->BackgroundColor = 0x123456;
    rs.CopyFirstColumn();
    EXPECT_EQ(rs.GetField(0, 0)->Text, "A");
    EXPECT_EQ(rs.GetField(1, 0)->Text, "A");
    EXPECT_EQ(rs.GetField(2, 0)->Text, "B");
    EXPECT_TRUE(rs.GetColumn(0)->BackgroundOn);
    EXPECT_EQ(rs.GetColumn(0)->BackgroundColor, 0x123456);
    EXPECT_DOUBLE_EQ(rs.GetField(0, 0)->X1, rs.GetColumn(0)->Left + 2);
    EXPECT_DOUBLE_EQ(rs.GetField(1, 0)->X1, rs.GetColumn(1)->Left + 2);
}

TEST(Sheet, FieldCopiesMakeTargetsVisibleAndRespectContent)
{
    TRS rs;
    makeBinderSheet(rs, 2, 2);
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    TRSObject *target = rs.GetField(1, 1);
    target->Text = "eigener";
    target->Picture = TPicture::FromImage(img);

    TRSObject *src = rs.GetField(0, 0);
    src->Kind = TFieldKind::Picture;
    src->Visible = false;
    src->FontColor = 0x0000FF;
    src->Text = "Quelle";
    const double frame = target->X1;

    rs.CopyFieldToAll(src, false);
    EXPECT_EQ(target->Kind, TFieldKind::Picture);
    EXPECT_TRUE(target->Visible);
    EXPECT_EQ(target->Text, "eigener");
    ASSERT_TRUE(target->Picture);
    EXPECT_EQ(target->FontColor, 0x0000FF);
    EXPECT_DOUBLE_EQ(target->X1, frame);
    EXPECT_FALSE(src->Visible); // the source itself is skipped

    rs.CopyFieldToRow(src, 1);
    EXPECT_EQ(target->Text, "Quelle");
    EXPECT_FALSE(target->Picture);
    EXPECT_EQ(rs.GetField(0, 1)->Text, "Quelle");

    src->Picture = TPicture::FromImage(img);
    rs.CopyFieldToColumn(src, rs.GetColumn(0));
    ASSERT_TRUE(rs.GetField(0, 1)->Picture);
    EXPECT_NE(rs.GetField(0, 1)->Picture.get(), src->Picture.get());
    EXPECT_FALSE(target->Picture); // other column untouched
}

TEST(Sheet, AssignIsADeepCopy)
{
    TRS a;
    makeBinderSheet(a, 2, 3);
    a.GetField(1, 2)->Text = "tief";
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::blue);
    a.GetField(0, 0)->Picture = TPicture::FromImage(img);
    a.GetColumn(1)->BackgroundColor = 0x112233;
    a.Modified = true;
    a.FileName = "x.rsd";

    TRS b;
    b.FileName = "b.rsd";
    b.Assign(a);
    EXPECT_TRUE(b.FileName.isEmpty());
    EXPECT_FALSE(b.Modified);
    EXPECT_EQ(b.GetField(1, 2)->Text, "tief");
    EXPECT_EQ(b.GetColumn(1)->BackgroundColor, 0x112233);
    ASSERT_TRUE(b.GetField(0, 0)->Picture);
    EXPECT_NE(b.GetField(0, 0)->Picture.get(), a.GetField(0, 0)->Picture.get());
    a.GetField(1, 2)->Text = "geändert";
    EXPECT_EQ(b.GetField(1, 2)->Text, "tief");
}
