// Colour values: the integer HSV rules, HTML texts, system colours and the
// named-colour list.
#include "canvas/colours.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <set>

using namespace colours;
using canvas::RGBToTColor;

namespace
{
// A palette with known system colours for as long as it lives.
class KnownPalette
{
  public:
    KnownPalette() : saved_(QApplication::palette())
    {
        QPalette p = saved_;
        p.setColor(QPalette::Button, QColor(0xF0, 0xF0, 0xF0));
        p.setColor(QPalette::Highlight, QColor(0x00, 0x78, 0xD7));
        p.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
        p.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
        p.setColor(QPalette::WindowText, QColor(0, 0, 0));
        QApplication::setPalette(p);
    }
    ~KnownPalette() { QApplication::setPalette(saved_); }

  private:
    QPalette saved_;
};

int Find(const std::vector<TNamedColor> &list, const QString &name, int from = 0)
{
    for (int i = from; i < int(list.size()); ++i)
        if (list[std::size_t(i)].Name == name)
            return i;
    return -1;
}
} // namespace

TEST(ColourRules, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(60, -1, 255), 0);
    EXPECT_EQ(MulDiv(60, -3, 255), -1);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(255, 100, 255), 100);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    // The product may exceed 32 bits.
    EXPECT_EQ(MulDiv(1 << 30, 1 << 10, 1 << 20), 1 << 20);
}

TEST(ColourRules, RgbToHsvAtTheSectorEdges)
{
    EXPECT_EQ(RGBToHSV(255, 0, 0), (THSV{0, 255, 255}));
    EXPECT_EQ(RGBToHSV(0, 255, 0).H, 120);
    EXPECT_EQ(RGBToHSV(0, 0, 255).H, 240);
    EXPECT_EQ(RGBToHSV(255, 255, 0).H, 60);  // red wins the tie
    EXPECT_EQ(RGBToHSV(0, 255, 255).H, 180); // green wins over blue
    EXPECT_EQ(RGBToHSV(255, 0, 255).H, 300);
    EXPECT_EQ(RGBToHSV(255, 0, 1).H, 0);
    EXPECT_EQ(RGBToHSV(255, 1, 0).H, 0);
    EXPECT_EQ(RGBToHSV(255, 0, 3).H, 359);
    EXPECT_EQ(RGBToHSV(0, 0, 0), (THSV{0, 0, 0}));
    EXPECT_EQ(RGBToHSV(160, 160, 160), (THSV{0, 0, 160}));
    EXPECT_EQ(RGBToHSV(255, 255, 255), (THSV{0, 0, 255}));
    // S rounds through MulDiv: d = 1 at V = 255 gives 1.
    EXPECT_EQ(RGBToHSV(255, 254, 254).S, 1);
    EXPECT_EQ(RGBToHSV(2, 1, 1).S, 128); // 127.5 rounds up
    // Every colour gives H 0..359, S and V 0..255.
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                const THSV h = RGBToHSV(r, g, b);
                ASSERT_GE(h.H, 0);
                ASSERT_LE(h.H, 359);
                ASSERT_EQ(h.V, std::max({r, g, b}));
            }
}

TEST(ColourRules, HsvToRgbPerSectorAndClamped)
{
    EXPECT_EQ(HSVToRGB(0, 255, 255), (TRGB{255, 0, 0}));
    EXPECT_EQ(HSVToRGB(360, 255, 255), (TRGB{255, 0, 0}));
    EXPECT_EQ(HSVToRGB(30, 255, 255), (TRGB{255, 128, 0}));
    EXPECT_EQ(HSVToRGB(59, 255, 255), (TRGB{255, 251, 0}));
    EXPECT_EQ(HSVToRGB(60, 255, 255), (TRGB{255, 255, 0}));
    EXPECT_EQ(HSVToRGB(90, 255, 255), (TRGB{128, 255, 0}));
    EXPECT_EQ(HSVToRGB(120, 255, 255), (TRGB{0, 255, 0}));
    EXPECT_EQ(HSVToRGB(180, 255, 255), (TRGB{0, 255, 255}));
    EXPECT_EQ(HSVToRGB(240, 255, 255), (TRGB{0, 0, 255}));
    EXPECT_EQ(HSVToRGB(300, 255, 255), (TRGB{255, 0, 255}));
    EXPECT_EQ(HSVToRGB(359, 255, 255), (TRGB{255, 0, 5}));
    EXPECT_EQ(HSVToRGB(0, 128, 200), (TRGB{200, 100, 100}));
    // S = 0 ignores H.
    EXPECT_EQ(HSVToRGB(200, 0, 77), (TRGB{77, 77, 77}));
    // Clamped, not wrapped.
    EXPECT_EQ(HSVToRGB(-5, 255, 255), HSVToRGB(0, 255, 255));
    EXPECT_EQ(HSVToRGB(725, 255, 255), HSVToRGB(360, 255, 255));
    EXPECT_EQ(HSVToRGB(100, 255, 300), HSVToRGB(100, 255, 255));
    EXPECT_EQ(HSVToRGB(100, 999, 255), HSVToRGB(100, 255, 255));
    EXPECT_EQ(HSVToRGB(100, -4, 50), (TRGB{50, 50, 50}));
    EXPECT_EQ(HSVToRGB(0, 255, 0), (TRGB{0, 0, 0}));
}

TEST(ColourRules, RoundTripsStayWithinThreeAndAreExactWhereTheyHold)
{
    int worst = 0;
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 7) {
                const THSV h = RGBToHSV(r, g, b);
                const TRGB back = HSVToRGB(h.H, h.S, h.V);
                worst = std::max({worst, std::abs(back.R - r), std::abs(back.G - g), std::abs(back.B - b)});
            }
    EXPECT_LE(worst, 3);
    EXPECT_GT(worst, 0); // the rules are no exact inverses
    // Greys, the primaries and the secondaries come back unchanged.
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(HSVToRGB(RGBToHSV(v, v, v).H, 0, v), (TRGB{v, v, v}));
    for (const TRGB c : {TRGB{255, 0, 0}, TRGB{0, 255, 0}, TRGB{0, 0, 255}, TRGB{255, 255, 0},
                         TRGB{0, 255, 255}, TRGB{255, 0, 255}, TRGB{128, 0, 0}}) {
        const THSV h = RGBToHSV(c.R, c.G, c.B);
        EXPECT_EQ(HSVToRGB(h.H, h.S, h.V), c);
    }
}

TEST(ColourRules, PercentRoundsHalfToEven)
{
    EXPECT_EQ(ByteToPercent(160), 63);
    EXPECT_EQ(ByteToPercent(0), 0);
    EXPECT_EQ(ByteToPercent(255), 100);
    EXPECT_EQ(ByteToPercent(128), 50);
    EXPECT_EQ(PercentToByte(10), 26);  // 25.5
    EXPECT_EQ(PercentToByte(30), 76);  // 76.5
    EXPECT_EQ(PercentToByte(50), 128); // 127.5
    EXPECT_EQ(PercentToByte(63), 161); // 160.65
    EXPECT_EQ(PercentToByte(100), 255);
    EXPECT_EQ(PercentToByte(150), 255);
}

TEST(ColourValues, HtmlTextsAndValues)
{
    const canvas::TColor c = RGBToTColor(0x12, 0x34, 0xAB);
    EXPECT_EQ(ColorToHtml(c), QStringLiteral("1234AB"));
    EXPECT_EQ(ColorToHtmlValue(c), 0x1234ABu);
    EXPECT_EQ(HtmlValueToColor(0x1234AB), c);
    EXPECT_EQ(ColorToHtml(0), QStringLiteral("000000"));
    EXPECT_EQ(HexToColor(QStringLiteral("#1234ab")), std::optional<std::uint32_t>(0x1234AB));
    EXPECT_EQ(HexToColor(QStringLiteral("FF0000")), std::optional<std::uint32_t>(0xFF0000));
    for (const char *bad : {"", "#", "12345", "1234567", "#12345G", "GG0000", " 12345", "##12345"})
        EXPECT_FALSE(HexToColor(QString::fromLatin1(bad))) << bad;
}

TEST(ColourValues, SystemColoursFollowThePaletteOrTheirDefault)
{
    KnownPalette palette;
    EXPECT_EQ(canvas::ResolveColor(canvas::SystemColor(15)), RGBToTColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(canvas::ResolveColor(canvas::SystemColor(13)), RGBToTColor(0x00, 0x78, 0xD7));
    // The application workspace has no palette role.
    EXPECT_EQ(canvas::ResolveColor(clAppWorkSpace), RGBToTColor(0xAB, 0xAB, 0xAB));
    EXPECT_EQ(canvas::SystemColorDefault(24), RGBToTColor(0xFF, 0xFF, 0xE1));
    // A changed palette shows at once.
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Button, QColor(1, 2, 3));
    QApplication::setPalette(p);
    EXPECT_EQ(canvas::ResolveColor(canvas::SystemColor(15)), RGBToTColor(1, 2, 3));
    EXPECT_EQ(ColorToRGB(canvas::SystemColor(15)), (TRGB{1, 2, 3}));
    // Plain values lose only their top byte.
    EXPECT_EQ(canvas::ResolveColor(clNone), canvas::clWhite);
    EXPECT_EQ(canvas::ToQColor(RGBToTColor(10, 20, 30)), QColor(10, 20, 30));
}

TEST(NamedColours, OrderCountsAndValues)
{
    KnownPalette palette;
    const auto list = NamedColors();
    ASSERT_EQ(int(list.size()), 383);
    EXPECT_EQ(list[0].Name, QStringLiteral("clBtnFace"));
    EXPECT_EQ(list[0].Html, 0xF0F0F0u);
    EXPECT_EQ(list[1].Name, QStringLiteral("clHighlight"));
    EXPECT_EQ(list[1].Html, 0x0078D7u);
    EXPECT_EQ(list[14].Name, QStringLiteral("clAppWorkSpace"));
    EXPECT_EQ(list[15].Name, QStringLiteral("clSilver"));
    EXPECT_EQ(list[15].Html, 0xC0C0C0u);
    EXPECT_EQ(list[16].Html, 0x808080u);
    EXPECT_EQ(list[24].Name, QStringLiteral("clInfoBk"));
    EXPECT_EQ(list[25].Name, QStringLiteral("indianred"));
    EXPECT_EQ(list[25].Html, 0xCD5C5Cu);
    EXPECT_EQ(list[169].Name, QStringLiteral("black"));
    EXPECT_EQ(list[169].Html, 0u);
    EXPECT_EQ(list[170].Name, QStringLiteral("RAL 1000 - Grünbeige"));
    EXPECT_EQ(list[170].Html, 0xCDBA88u);
    EXPECT_EQ(list[382].Name, QStringLiteral("RAL 9023 - Perldunkelgrau"));
    EXPECT_EQ(list[382].Html, 0x797B7Au);

    const struct {
        const char *name;
        std::uint32_t html;
    } samples[] = {{"lightgrey", 0xD3D3D3},
                   {"darkgray", 0xA9A9A9},
                   {"RAL 3017 - Rosè", 0xCB555D},
                   {"RAL 6018 - Gelbrün", 0x61993B},
                   {"RAL 7042 - Verkehrsgrau A", 0x8E9291},
                   {"RAL 5026 - Perlnachtblau", 0x0F3052},
                   {"RAL 8011 - Nußbraun", 0x5A3826},
                   {"RAL 9005 - Tiefschwarz", 0x0E0E10},
                   {"RAL 1026 - Leuchtgelb", 0xFFFF00},
                   {"RAL 2013 - Perlorange", 0x923E25}};
    for (const auto &s : samples) {
        const int i = Find(list, QString::fromUtf8(s.name));
        ASSERT_GE(i, 25) << s.name;
        EXPECT_EQ(list[std::size_t(i)].Html, s.html) << s.name;
    }

    // Every CSS entry carries the CSS value of its name, and five names come twice.
    std::set<QString> seen;
    int twice = 0;
    for (int i = 25; i < 170; ++i) {
        const TNamedColor &e = list[std::size_t(i)];
        EXPECT_EQ(e.Name, e.Name.toLower());
        const QColor css = QColor::fromString(e.Name);
        ASSERT_TRUE(css.isValid()) << e.Name.toStdString();
        EXPECT_EQ(e.Html, std::uint32_t(css.rgb() & 0xFFFFFF)) << e.Name.toStdString();
        if (!seen.insert(e.Name).second)
            ++twice;
    }
    EXPECT_EQ(twice, 5);
    for (const char *name : {"orangered", "aquamarine", "turquoise", "slategray", "darkred"}) {
        const int first = Find(list, QString::fromLatin1(name));
        EXPECT_GE(Find(list, QString::fromLatin1(name), first + 1), 0) << name;
    }
    // The RAL names all have their form.
    for (int i = 170; i < 383; ++i)
        EXPECT_TRUE(
            list[std::size_t(i)].Name.contains(QRegularExpression(QStringLiteral("^RAL \\d{4} - \\S"))))
            << i;
}

TEST(NamedColours, IndexOfColorFindsTheEarliestEntry)
{
    KnownPalette palette;
    const auto list = NamedColors();
    // White: the highlight text (a system entry) comes before "white".
    EXPECT_EQ(IndexOfColor(list, canvas::clWhite), 2);
    EXPECT_EQ(IndexOfColor(list, canvas::clBlack), Find(list, QStringLiteral("clCaptionText")));
    // Equal names and equal values: the first one wins.
    EXPECT_EQ(IndexOfColor(list, HtmlValueToColor(0x00FFFF)), Find(list, QStringLiteral("cyan")));
    EXPECT_EQ(IndexOfColor(list, HtmlValueToColor(0xFF4500)), Find(list, QStringLiteral("orangered")));
    EXPECT_EQ(IndexOfColor(list, HtmlValueToColor(0xC0C0C0)), 15); // clSilver before silver
    // RAL 1026 has the value of yellow, which comes first.
    EXPECT_EQ(IndexOfColor(list, HtmlValueToColor(0xFFFF00)), Find(list, QStringLiteral("yellow")));
    EXPECT_EQ(IndexOfColor(list, HtmlValueToColor(0xCDBA88)), 170);
    // A system colour value is resolved before the search.
    EXPECT_EQ(IndexOfColor(list, canvas::SystemColor(15)), 0);
    EXPECT_EQ(IndexOfColor(list, RGBToTColor(1, 2, 3)), -1);
    EXPECT_EQ(IndexOfColor(list, RGBToTColor(160, 160, 160)), -1);
}
