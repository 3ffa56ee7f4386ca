// Fitting text heights to the width between a column's border lines.
#include "document/document.h"
#include "document/text_width.h"
#include "platform/printer.h"
#include "testsupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>

TEST(TextWidthFit, HeightScalesByTargetOverDrawnWidth)
{
    EXPECT_DOUBLE_EQ(TextWidthTarget(61, 4), 57);
    EXPECT_DOUBLE_EQ(*FittedFontHeight(8, 38, 57), 12);
    EXPECT_DOUBLE_EQ(*FittedFontHeight(8, 114, 57), 4); // long texts shrink
    // Nothing to divide by, no room, or nothing sensible to scale.
    EXPECT_FALSE(FittedFontHeight(8, 0, 57));
    EXPECT_FALSE(FittedFontHeight(8, -3, 57));
    EXPECT_FALSE(FittedFontHeight(8, std::nan(""), 57));
    EXPECT_FALSE(FittedFontHeight(8, 38, 0));
    EXPECT_FALSE(FittedFontHeight(8, 38, -2));
    EXPECT_FALSE(FittedFontHeight(0, 38, 57));
    EXPECT_FALSE(FittedFontHeight(8, 1e-320, 57)); // would overflow
}

TEST(TextWidthFit, AllWidthsAreReadBeforeAnyHeightChanges)
{
    TRS sheet;
    sheet.SetLayout(2, 2, 297, 210, 26, 26, 9, 9, 0, 4, clYellow);
    int asked = 0;
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 2; ++r)
            sheet.GetField(c, r)->Kind = TFieldKind::Text;
    sheet.GetField(1, 1)->Kind = TFieldKind::Picture;
    const int changed =
        FitTextWidths(sheet, TTextFitScope::Sheet, TFieldPos{}, [&](const TRSObject &f, int, int) {
            ++asked;
            // A width read after a change would see a height other than 8.
            EXPECT_EQ(f.FontHeight, 8);
            return std::optional<double>(50);
        });
    EXPECT_EQ(asked, 3); // the picture field is not measured
    EXPECT_EQ(changed, 3);
    const double t = sheet.ColumnWidth - 4;
    EXPECT_DOUBLE_EQ(sheet.GetField(0, 0)->FontHeight, 8 * t / 50);
    EXPECT_EQ(sheet.GetField(1, 1)->FontHeight, 8);

    // A point outside every column fits nothing.
    EXPECT_EQ(FitTextWidths(sheet, TTextFitScope::Column, FieldPosAt(sheet, 5, 5),
                            [](const TRSObject &, int, int) { return std::optional<double>(1); }),
              0);
}

namespace
{
// The width of the dark pixels of a page bitmap drawn at pxPerMm, in mm:
// from the first to the last column holding one.
double inkWidthMm(const QImage &page, double pxPerMm)
{
    int left = page.width(), right = -1;
    for (int y = 0; y < page.height(); ++y) {
        const auto *line = reinterpret_cast<const uchar *>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            if (qGray(line[3 * x], line[3 * x + 1], line[3 * x + 2]) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    }
    return right < left ? 0 : (right - left + 1) / pxPerMm;
}
} // namespace

TEST(TextWidthFit, TheInkOfTheWidestLineSpansTheTargetAndAFittedTextStaysAsItIs)
{
    platform::Printer::Instance().SetSystemPrintersEnabled(false);
    platform::Printer::Instance().Refresh();
    TDocument doc;
    // Three columns 73.9 mm wide with 4 mm spacing: 69.9 mm between the lines.
    doc.Sheet().SetLayout(3, 4, 297, 210, 37.65, 37.65, 10, 10, 0, 4, clWhite);
    const double target = TextWidthTarget(doc.Sheet().ColumnWidth, 4);
    ASSERT_NEAR(target, 69.9, 1e-9);
    struct Case {
        const char *text;
        const char *font;
        std::uint8_t style;
        double height;
    };
    for (const Case &c :
         {Case{"Ordner 2026", "Arial", 0, 8}, Case{"Steuern\r\nBelege 2025/26", "DejaVu Serif", 1, 30}}) {
        SCOPED_TRACE(c.text);
        for (int r = 0; r < 4; ++r)
            doc.Sheet().GetField(1, r)->Visible = false;
        TRSObject &f = *doc.Sheet().GetField(1, 1);
        f.Kind = TFieldKind::Text;
        f.Visible = true;
        f.Text = c.text;
        f.FontName = c.font;
        f.FontStyle = c.style;
        f.FontHeight = c.height;
        doc.Commit(false);
        FitTextWidths(doc, TTextFitScope::Field, TFieldPos{1, 1});
        const double fitted = f.FontHeight;

        // As drawn: at 384 dpi a pixel is 0.07 mm.
        QImage page;
        doc.Page().RenderToBitmap(page, clWhite, 4.0);
        EXPECT_NEAR(inkWidthMm(page, 4 * 96 / 25.4), target, 0.15);

        // Fitting again, and again, changes nothing.
        for (int i = 0; i < 3; ++i) {
            FitTextWidths(doc, TTextFitScope::Column, TFieldPos{1, -1});
            EXPECT_NEAR(f.FontHeight, fitted, fitted * 1e-12);
        }
    }
}
