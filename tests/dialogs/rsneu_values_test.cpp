#include "dialogs/rsneu_pictures.h"
#include "dialogs/rsneu_values.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
TRSLayoutValues fromPreset(const TRSPreset &p)
{
    TRSLayoutValues v;
    v.PageWidth = p.PageWidth;
    v.PageHeight = p.PageHeight;
    v.MarginLeft = p.MarginLeft;
    v.MarginRight = p.MarginRight;
    v.MarginTop = p.MarginTop;
    v.MarginBottom = p.MarginBottom;
    v.ColumnGap = p.ColumnGap;
    v.FieldSpacing = p.FieldSpacing;
    v.LineFactor = p.LineFactor;
    v.Columns = p.Columns;
    v.Rows = p.Rows;
    return v;
}
} // namespace

TEST(RSPresets, TableHoldsTheSevenStandardsInOrder)
{
    const auto &t = RSPresets();
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[0].Name, " Ordnerrücken Breit (61/192 mm, 4 Spalten mit je 6 Reihen, DIN-A4-Quer)");
    EXPECT_EQ(t[1].Name, " Ordnerrücken Breit (61/192 mm, 4 Spalten mit je 1 Reihe, DIN-A4-Quer)");
    EXPECT_EQ(t[2].Name, " Ordnerrücken Schmal (38/192 mm, 7 Spalten mit je 6 Reihen, DIN-A4-Quer)");
    EXPECT_EQ(t[3].Name, " Ordnerrücken Schmal (38/192 mm, 7 Spalten mit je 1 Reihe, DIN-A4-Quer)");
    EXPECT_EQ(t[4].Name, " Etiketten (3 × 8 Felder, mit je 70×36 mm Größe, DIN-A4-Hoch)");
    EXPECT_EQ(t[5].Name, " Etiketten (5 × 13 Felder, mit je 38×21,2 mm Größe, DIN-A4-Hoch)");
    EXPECT_EQ(t[6].Name, " Etiketten (3 × 7 Felder, mit je 64×36 mm Größe, DIN-A4-Hoch)");

    struct Row {
        double w, h;
        int orientation;
        double lr, tb, spacing;
        int columns, rows;
    };
    const Row expected[7] = {
        {297, 210, 1, 26, 9, 4, 4, 6},   {297, 210, 1, 26, 9, 4, 4, 1},  {297, 210, 1, 15.5, 9, 4, 7, 6},
        {297, 210, 1, 15.5, 9, 4, 7, 1}, {210, 297, 0, 0, 4.5, 2, 3, 8}, {210, 297, 0, 10, 10.7, 1, 5, 13},
        {210, 297, 0, 9, 22.5, 1, 3, 7},
    };
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const TRSPreset &p = t[std::size_t(i)];
        const Row &e = expected[i];
        EXPECT_EQ(p.PageWidth, e.w);
        EXPECT_EQ(p.PageHeight, e.h);
        EXPECT_EQ(p.Orientation, e.orientation);
        EXPECT_EQ(p.MarginLeft, e.lr);
        EXPECT_EQ(p.MarginRight, e.lr);
        EXPECT_EQ(p.MarginTop, e.tb);
        EXPECT_EQ(p.MarginBottom, e.tb);
        EXPECT_EQ(p.ColumnGap, 0.0);
        EXPECT_EQ(p.FieldSpacing, e.spacing);
        EXPECT_EQ(p.LineFactor, 1.0);
        EXPECT_EQ(p.Columns, e.columns);
        EXPECT_EQ(p.Rows, e.rows);
        EXPECT_LE(p.Name.toLatin1().size(), 255);
        // Every standard makes a sheet.
        EXPECT_EQ(LayoutProblem(fromPreset(p)), QString());
    }
}

TEST(RSPresets, NamesStateTheCellSizesTheFormulasGive)
{
    const auto &t = RSPresets();
    EXPECT_EQ(FormatMeasure(LayoutColumnWidth(fromPreset(t[0]))), "61,25");
    EXPECT_EQ(FormatMeasure(LayoutRowHeight(fromPreset(t[1]))), "192,00");
    EXPECT_EQ(FormatMeasure(LayoutColumnWidth(fromPreset(t[2]))), "38,00");
    EXPECT_EQ(FormatMeasure(LayoutColumnWidth(fromPreset(t[4]))), "70,00");
    EXPECT_EQ(FormatMeasure(LayoutRowHeight(fromPreset(t[4]))), "36,00");
    EXPECT_EQ(FormatMeasure(LayoutColumnWidth(fromPreset(t[5]))), "38,00");
    EXPECT_EQ(FormatMeasure(LayoutRowHeight(fromPreset(t[5]))), "21,20");
    EXPECT_EQ(FormatMeasure(LayoutColumnWidth(fromPreset(t[6]))), "64,00");
    EXPECT_EQ(FormatMeasure(LayoutRowHeight(fromPreset(t[6]))), "36,00");
}

TEST(LayoutValues, DerivedMeasuresAndTheirLocaleForm)
{
    TRSLayoutValues v;
    v.PageWidth = 297;
    v.MarginLeft = v.MarginRight = 26;
    v.Columns = 4;
    v.ColumnGap = 2;
    EXPECT_DOUBLE_EQ(LayoutColumnWidth(v), 59.75);
    // Neither the spacing nor the line factor enters the figures.
    v.FieldSpacing = 20;
    v.LineFactor = 3;
    EXPECT_DOUBLE_EQ(LayoutColumnWidth(v), 59.75);
    v.PageHeight = 210;
    v.MarginTop = v.MarginBottom = 9;
    v.Rows = 6;
    EXPECT_DOUBLE_EQ(LayoutRowHeight(v), 32);

    EXPECT_EQ(FormatMeasure(1234.5), "1.234,50");
    EXPECT_EQ(FormatMeasure(-0.125), "-0,13");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatMeasure(1234.5), "1,234.50");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

TEST(LayoutValues, ValuesThatMakeNoSheetAreNamed)
{
    TRSLayoutValues ok;
    ASSERT_EQ(LayoutProblem(ok), QString());

    // Margins wider than the page.
    TRSLayoutValues v = ok;
    v.MarginLeft = 200;
    v.MarginRight = 100;
    QString p = LayoutProblem(v);
    EXPECT_TRUE(p.contains("Spaltenbreite")) << p.toStdString();
    EXPECT_TRUE(p.contains("Rand links (200,00 mm)")) << p.toStdString();
    EXPECT_TRUE(p.contains("Rand rechts (100,00 mm)")) << p.toStdString();

    // A column width of exactly 0.
    v = ok;
    v.MarginLeft = 100;
    v.MarginRight = 97;
    v.Columns = 1;
    v.PageWidth = 197;
    EXPECT_TRUE(LayoutProblem(v).startsWith("Die Spaltenbreite wäre 0,00 mm"));

    // Gaps that eat the page.
    v = ok;
    v.ColumnGap = 100;
    EXPECT_TRUE(LayoutProblem(v).contains("3 × Spaltenabstand (100,00 mm)"));

    // Top and bottom margins.
    v = ok;
    v.MarginTop = 105;
    v.MarginBottom = 105;
    EXPECT_TRUE(LayoutProblem(v).startsWith("Die Reihenhöhe wäre 0,00 mm"));

    // A spacing that leaves the fields no room, across and down.
    v = ok;
    v.FieldSpacing = 40;
    EXPECT_TRUE(LayoutProblem(v).startsWith("Der Zwischenabstand von 40,00 mm ist zu groß"));
    v = ok;
    v.Rows = 40; // 4,8 mm per row: the spacing must stay below 192 / 42 mm
    v.FieldSpacing = 4.6;
    EXPECT_TRUE(LayoutProblem(v).contains("bei 40 Reihen")) << LayoutProblem(v).toStdString();
    v.FieldSpacing = 4.5;
    EXPECT_EQ(LayoutProblem(v), QString());

    // Not a number, negative, no page.
    v = ok;
    v.MarginTop = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(LayoutProblem(v), "Der Wert für „Rand oben“ ist keine Zahl.");
    v = ok;
    v.ColumnGap = std::numeric_limits<double>::infinity();
    EXPECT_EQ(LayoutProblem(v), "Der Wert für „Spaltenabstand“ ist keine Zahl.");
    v = ok;
    v.FieldSpacing = -1;
    EXPECT_TRUE(LayoutProblem(v).contains("„Zwischenabstand“ darf nicht negativ sein"));
    // Top and bottom margins down to -1.5 spacings (labels near the edge).
    v = ok;
    v.FieldSpacing = 8;
    v.MarginTop = v.MarginBottom = -12;
    EXPECT_EQ(LayoutProblem(v), QString());
    v.MarginBottom = -12.5;
    EXPECT_TRUE(LayoutProblem(v).contains("„Rand unten“ darf nicht kleiner als -12,00 mm sein"))
        << LayoutProblem(v).toStdString();
    v.MarginBottom = 0;
    v.MarginLeft = -0.5;
    EXPECT_TRUE(LayoutProblem(v).contains("„Rand links“ darf nicht negativ sein"));
    v = ok;
    v.PageWidth = 1e300; // a result of the calculation line, pasted
    EXPECT_EQ(LayoutProblem(v), "Der Wert für „Seitenbreite“ ist mit " + FormatMeasure(1e300) +
                                    " mm zu groß (höchstens 5.000,00 mm).");
    v.PageWidth = 5000;
    v.PageHeight = 5000;
    EXPECT_EQ(LayoutProblem(v), QString());
    v = ok;
    v.PageWidth = 0;
    EXPECT_TRUE(LayoutProblem(v).startsWith("Die Seitenbreite muss"));
    v = ok;
    v.Rows = 0;
    EXPECT_TRUE(LayoutProblem(v).contains("Reihen"));
    v = ok;
    v.LineFactor = 0;
    EXPECT_NE(LayoutProblem(v), QString());

    // More fields than a sheet holds, also where the product would overflow.
    v = ok;
    v.PageWidth = v.PageHeight = 5000;
    v.FieldSpacing = 0;
    v.Columns = 101;
    v.Rows = 100;
    EXPECT_TRUE(LayoutProblem(v).contains("10.100 Felder"));
    v.Columns = 100;
    EXPECT_EQ(LayoutProblem(v), QString());
    v.Columns = v.Rows = 2000000000;
    EXPECT_NE(LayoutProblem(v), QString());
}

namespace
{
// Runs of the field colour along one pixel row.
int runs(const QImage &img, int y, QRgb fill)
{
    int n = 0;
    bool inside = false;
    for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        // The field colour, or the stroke standing for its text.
        auto near = [&](QRgb rgb) {
            const QColor f = QColor::fromRgb(rgb);
            return std::abs(c.red() - f.red()) < 30 && std::abs(c.green() - f.green()) < 30 &&
                   std::abs(c.blue() - f.blue()) < 30;
        };
        const bool match = c.alpha() > 200 && (near(fill) || near(qRgb(48, 48, 48)));
        if (match && !inside)
            ++n;
        inside = match;
    }
    return n;
}
QRect opaqueBounds(const QImage &img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 200)
                r = r.united(QRect(x, y, 1, 1));
    return r;
}
int countRunsAnywhere(const QImage &img, QRgb fill, bool vertical)
{
    int best = 0;
    const QImage scan = vertical ? img.transformed(QTransform().rotate(90)) : img;
    for (int y = 0; y < scan.height(); ++y)
        best = std::max(best, runs(scan, y, fill));
    return best;
}
} // namespace

TEST(PresetPictures, OnePicturePerStandardShowingItsPageAndFields)
{
    const auto &pictures = PresetPictures();
    ASSERT_EQ(pictures.size(), RSPresets().size());
    const QRgb spine = qRgb(255, 232, 128), label = qRgb(214, 232, 255);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        const QImage &img = pictures[i];
        const TRSPreset &p = RSPresets()[i];
        EXPECT_EQ(img.size(), QSize(48, 48));
        // The page lies the way the standard prints it, and the corners stay clear.
        const QRect page = opaqueBounds(img);
        if (p.Orientation == 1)
            EXPECT_GT(page.width(), page.height());
        else
            EXPECT_LT(page.width(), page.height());
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
        // As many columns and rows of fields as the standard has.
        const QRgb fill = p.Orientation == 1 ? spine : label;
        EXPECT_EQ(countRunsAnywhere(img, fill, false), p.Columns);
        EXPECT_EQ(countRunsAnywhere(img, fill, true), p.Rows);
    }
    // Distinct standards, distinct pictures.
    for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << i << " " << j;
}
