#include "controls/MUVPixelLineal.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{

// Distinct colours, so that every pixel tells what drew it.
constexpr TMUVPixelLineal::TColor kShort = 0x00C000; // green
constexpr TMUVPixelLineal::TColor kLong = 0xFF0000;  // blue
constexpr TMUVPixelLineal::TColor kMark = 0x00FFFF;  // yellow
constexpr TMUVPixelLineal::TColor kBase = 0xFF00FF;  // magenta
const QRgb kShortRgb = qRgb(0, 0xC0, 0);
const QRgb kLongRgb = qRgb(0, 0, 0xFF);
const QRgb kMarkRgb = qRgb(0xFF, 0xFF, 0);
const QRgb kBaseRgb = qRgb(0xFF, 0, 0xFF);
const QRgb kWhite = qRgb(255, 255, 255);

std::unique_ptr<TMUVPixelLineal> MakeRuler(TLinealTyp typ, int w, int h)
{
    auto r = std::make_unique<TMUVPixelLineal>();
    r->SetLinealTyp(typ);
    r->resize(w, h);
    r->SetColorNoTextLines(kShort);
    r->SetColorLinesText(kLong);
    r->SetMarkUpColor(kMark);
    r->SetBaseLineColor(kBase);
    return r;
}

QImage Grab(TMUVPixelLineal &r)
{
    return r.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int TextHeight(const TMUVPixelLineal &r)
{
    return QFontMetrics(r.LabelFont()).height() - 1;
}
int LabelSpacing(const TMUVPixelLineal &r)
{
    return QFontMetrics(r.LabelFont()).horizontalAdvance(QStringLiteral("22222"));
}

struct Ticks {
    std::vector<int> all;      // every drawn tick
    std::vector<int> labelled; // the long ones
};

// Reads the ticks off the row (horizontal) or column (vertical) at the
// outer end of the ticks.
Ticks ReadTicks(const QImage &img, bool alongY, int across)
{
    Ticks t;
    const int n = alongY ? img.height() : img.width();
    for (int i = 0; i < n; ++i) {
        const QRgb c = alongY ? img.pixel(across, i) : img.pixel(i, across);
        if (c == kShortRgb || c == kLongRgb)
            t.all.push_back(i);
        if (c == kLongRgb)
            t.labelled.push_back(i);
    }
    return t;
}

// The scale's rule stated plainly: the tick of unit n + k sits at
// round(k * zoom) - round(frac(left) * zoom); a tick needs 8 pixels to the
// previous drawn one, a label the width of "22222" to the previous label.
Ticks ExpectedTicks(double left, double zoom, int length, int labelSpacing)
{
    Ticks t;
    const double o = std::nearbyint((left - std::trunc(left)) * zoom);
    double lastTick = -16, lastLabel = -2.0 * labelSpacing;
    for (int k = 0;; ++k) {
        const double p = std::nearbyint(k * zoom) - o;
        if (p > length)
            break;
        if (p >= lastTick + 8) {
            lastTick = p;
            if (p >= 0 && p < length)
                t.all.push_back(int(p));
            if (p >= lastLabel + labelSpacing) {
                lastLabel = p;
                if (p >= 0 && p < length)
                    t.labelled.push_back(int(p));
            }
        }
    }
    return t;
}

// Ink (anything not background and not a tick colour) inside a rectangle.
QRect InkBounds(const QImage &img, const QRect &area)
{
    QRect box;
    const QRect a = area.intersected(img.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (c != kWhite && c != kShortRgb && c != kLongRgb && c != kMarkRgb)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

int CountColor(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == c;
    return n;
}

// Pixels clearly tinted towards red or blue inside an area.
int CountTinted(const QImage &img, const QRect &area, bool red)
{
    int n = 0;
    const QRect a = area.intersected(img.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            const int main = red ? qRed(c) : qBlue(c);
            const int other = red ? std::max(qGreen(c), qBlue(c)) : std::max(qRed(c), qGreen(c));
            if (main - other > 80)
                ++n;
        }
    return n;
}

} // namespace

TEST(Ruler, DefaultsAndValueRules)
{
    TMUVPixelLineal r;
    EXPECT_EQ(r.LinealTyp(), lin_horizontal);
    EXPECT_EQ(r.size(), QSize(24, 400));
    EXPECT_EQ(r.ColorNoTextLines(), 0x808080);
    EXPECT_EQ(r.MarkUpColor(), 14671871);
    EXPECT_EQ(std::uint32_t(r.BaseLineColor()), 0x80000010u);

    // Provisional font until the type is set, then 11 pixels.
    EXPECT_EQ(r.LabelFont().pixelSize(), 12);
    r.SetLinealTyp(lin_horizontal);
    EXPECT_EQ(r.LabelFont().pixelSize(), 11);
    EXPECT_TRUE(r.LabelFont().family() == "Calibri" || r.LabelFont().family() == "Arial");

    for (double bad : {0.0, -3.0, std::nan("")}) {
        r.SetZoomFaktor(2.5);
        r.SetZoomFaktor(bad);
        EXPECT_EQ(r.ZoomFaktor(), 1.0) << bad;
    }
    r.SetValues(7.5, 0);
    EXPECT_EQ(r.LeftValue(), 7.5);
    EXPECT_EQ(r.ZoomFaktor(), 0.01);

    r.SetMassFaktor(0.000001);
    EXPECT_EQ(r.MassFaktor(), 1.0);
    r.SetMassFaktor(0.5);
    EXPECT_EQ(r.MassFaktor(), 0.5);
}

TEST(Ruler, TicksKeepEightPixelsApart)
{
    auto r = MakeRuler(lin_horizontal, 200, 24);
    const int bottom = 23;

    // Value 12 falls at -2 and counts as drawn, so 13 (at 2) is too close
    // and the ticks run at 6, 14, 22 ...: one every 2 mm.
    r->SetValues(12.5, 4);
    Ticks t = ReadTicks(Grab(*r), false, bottom);
    ASSERT_FALSE(t.all.empty());
    EXPECT_EQ(t.all.front(), 6);
    for (size_t i = 1; i < t.all.size(); ++i)
        EXPECT_EQ(t.all[i] - t.all[i - 1], 8);
    EXPECT_EQ(t.all.back(), 198);

    // Fractional and negative starts, small and odd zooms, against the
    // rule stated plainly.
    const double cases[][2] = {{0, 2.6666},   {-7.3, 3},   {12.5, 4},   {-0.5, 0.37},
                               {250.25, 1.0}, {3.9, 7.99}, {-20, 12.5}, {1e6 + 0.5, 0.05}};
    for (const auto &c : cases) {
        r->SetValues(c[0], c[1]);
        const Ticks got = ReadTicks(Grab(*r), false, bottom);
        const Ticks want = ExpectedTicks(c[0], c[1], 200, LabelSpacing(*r));
        EXPECT_EQ(got.all, want.all) << "left " << c[0] << " zoom " << c[1];
        EXPECT_EQ(got.labelled, want.labelled) << "left " << c[0] << " zoom " << c[1];
    }

    // A tiny positive zoom still paints (and quickly).
    r->SetZoomFaktor(1e-12);
    t = ReadTicks(Grab(*r), false, bottom);
    for (size_t i = 1; i < t.all.size(); ++i)
        EXPECT_GE(t.all[i] - t.all[i - 1], 8);
}

TEST(Ruler, TickShapesPerType)
{
    // Horizontal: short ticks reach up to the text height + 2, labelled
    // ones to the text height; with LinesonOtherSide they hang from the top.
    auto h = MakeRuler(lin_horizontal, 200, 30);
    const int q = TextHeight(*h);
    h->SetValues(0, 10);
    QImage img = Grab(*h);
    EXPECT_EQ(img.pixel(0, q), kLongRgb);
    EXPECT_EQ(img.pixel(10, q + 2), kShortRgb);
    EXPECT_EQ(img.pixel(10, q + 1), kWhite);
    const Ticks bottomTicks = ReadTicks(img, false, 29);

    h->SetLinesonOtherSide(true);
    img = Grab(*h);
    const Ticks top = ReadTicks(img, false, 0);
    EXPECT_EQ(top.all, bottomTicks.all);
    EXPECT_EQ(top.labelled, bottomTicks.labelled);
    EXPECT_EQ(img.pixel(10, 30 - q - 2), kShortRgb);
    EXPECT_EQ(img.pixel(10, 30 - q - 1), kWhite);
    EXPECT_EQ(img.pixel(0, 30 - q), kLongRgb);
    EXPECT_GE(InkBounds(img, QRect(0, 0, 20, 30)).top(), 30 - q); // the label below

    // Vertical: ticks reach in from the right edge.
    auto v = MakeRuler(lin_vertikal, 30, 200);
    const int qv = TextHeight(*v);
    v->SetValues(12.5, 4);
    img = Grab(*v);
    EXPECT_EQ(ReadTicks(img, true, 29).all, ExpectedTicks(12.5, 4, 200, LabelSpacing(*v)).all);
    EXPECT_EQ(img.pixel(qv + 2, 6), kShortRgb);
    EXPECT_EQ(img.pixel(qv + 1, 6), kWhite);

    // Reverse: counted from the bottom up, so 12.5 at zoom 4 puts ticks at
    // 200 - 6, 200 - 14 ... and the last one at the top edge.
    auto rv = MakeRuler(lin_vertikalreverse, 30, 200);
    rv->SetValues(12.5, 4);
    const Ticks rt = ReadTicks(Grab(*rv), true, 29);
    ASSERT_GE(rt.all.size(), 2u);
    EXPECT_EQ(rt.all.back(), 194);
    EXPECT_EQ(rt.all[rt.all.size() - 2], 186);
    EXPECT_EQ(rt.all.front(), 2);
}

TEST(Ruler, LabelsRotationColourAndScale)
{
    // "12346" at pixel 60: wide on the horizontal ruler, tall on the
    // vertical one, and there mirrored for the reverse type.
    auto h = MakeRuler(lin_horizontal, 200, 24);
    h->SetValues(12344.5, 40);
    const QRect hInk = InkBounds(Grab(*h), QRect(42, 0, 36, 24));
    ASSERT_TRUE(hInk.isValid());
    EXPECT_GT(hInk.width(), 2 * hInk.height());
    EXPECT_NEAR(hInk.center().x(), 60, 2);
    EXPECT_LE(hInk.bottom(), TextHeight(*h));

    auto v = MakeRuler(lin_vertikal, 24, 200);
    v->SetValues(12344.5, 40);
    const QRect vInk = InkBounds(Grab(*v), QRect(0, 42, 24, 36));
    ASSERT_TRUE(vInk.isValid());
    EXPECT_GT(vInk.height(), 2 * vInk.width());
    EXPECT_NEAR(vInk.center().y(), 60, 2);
    EXPECT_LE(vInk.right(), TextHeight(*v));
    EXPECT_NEAR(vInk.height(), hInk.width(), 2);

    auto rv = MakeRuler(lin_vertikalreverse, 24, 200);
    rv->SetValues(12344.5, 40);
    const QRect rInk = InkBounds(Grab(*rv), QRect(0, 200 - 78, 24, 36));
    ASSERT_TRUE(rInk.isValid());
    EXPECT_NEAR(rInk.center().y(), 140, 2);
    EXPECT_EQ(rInk.size(), vInk.size());

    // Negative values are labelled in red, the others in the text colour.
    // Left -6.5 at zoom 10: labels for -6 at 5, -2 at 45 and 2 at 85.
    h->SetValues(-6.5, 10);
    QImage img = Grab(*h);
    const int q = TextHeight(*h);
    EXPECT_GT(CountTinted(img, QRect(35, 0, 21, q), true), 0);
    EXPECT_EQ(CountTinted(img, QRect(35, 0, 21, q), false), 0);
    EXPECT_GT(CountTinted(img, QRect(75, 0, 21, q), false), 0);
    EXPECT_EQ(CountTinted(img, QRect(75, 0, 21, q), true), 0);

    // A factor within 0.00001 of 1 leaves whole-unit labels; others show
    // two decimals of the scaled value.
    h->SetValues(99.5, 40); // value 100 at pixel 20, 101 at 60
    h->SetMassFaktor(1.0);
    const QImage plain = Grab(*h);
    h->SetMassFaktor(1.000005);
    EXPECT_EQ(Grab(*h), plain);
    h->SetMassFaktor(0.5);
    const QImage half = Grab(*h);
    EXPECT_NE(half, plain);
    const QFontMetrics fm(h->LabelFont());
    const QString scaled = QLocale().toString(50.5, 'f', 2);
    EXPECT_EQ(scaled, "50,50");
    const QRect plainInk = InkBounds(plain, QRect(42, 0, 36, q));
    const QRect halfInk = InkBounds(half, QRect(42, 0, 36, q));
    EXPECT_NEAR(plainInk.width(), fm.boundingRect("101").width(), 2);
    EXPECT_NEAR(halfInk.width(), fm.boundingRect(scaled).width(), 2);
}

TEST(Ruler, MarkedRangeAndBaseLine)
{
    // Units 10 to 20 at 4 pixels: x from 40 to 79 below the labels, ticks
    // (every 8 pixels) drawn over it.
    auto h = MakeRuler(lin_horizontal, 200, 24);
    const int q = TextHeight(*h);
    h->SetValues(0, 4);
    h->SetMarkupStart(10);
    h->SetMarkupEnd(20);
    QImage img = Grab(*h);
    EXPECT_EQ(img.pixel(41, q + 2), kMarkRgb);
    EXPECT_EQ(img.pixel(79, 23), kMarkRgb);
    EXPECT_EQ(img.pixel(48, 22), kShortRgb);
    EXPECT_EQ(img.pixel(41, q + 1), kWhite);
    EXPECT_EQ(img.pixel(39, 22), kWhite);
    EXPECT_EQ(img.pixel(81, 22), kWhite);

    // Given the other way round it marks the same range; none when the
    // ends meet.
    h->SetMarkupStart(20);
    h->SetMarkupEnd(10);
    EXPECT_EQ(Grab(*h), img);
    h->SetMarkupEnd(20);
    EXPECT_EQ(CountColor(Grab(*h), kMarkRgb), 0);
    h->SetMarkupEnd(10);

    // A range reaching far beyond the ruler fills it to the edge.
    h->SetMarkupEnd(1e15);
    EXPECT_EQ(Grab(*h).pixel(199, 22), kMarkRgb);
    h->SetMarkupEnd(10);

    // Ticks on the other side: rows 1 to q - 2.
    h->SetLinesonOtherSide(true);
    img = Grab(*h);
    EXPECT_EQ(img.pixel(41, 1), kMarkRgb);
    EXPECT_EQ(img.pixel(41, q - 2), kMarkRgb);
    EXPECT_EQ(img.pixel(41, 0), kWhite);
    EXPECT_EQ(img.pixel(41, q - 1), kWhite);
    h->SetLinesonOtherSide(false);

    // Base line along the inner edge, in a system colour from the palette.
    h->SetBaseLineVisible(true);
    img = Grab(*h);
    EXPECT_EQ(CountColor(img.copy(0, 23, 200, 1), kBaseRgb), 200);
    h->SetBaseLineColor(TMUVPixelLineal::TColor(0x80000010));
    EXPECT_EQ(Grab(*h).pixel(100, 23), QApplication::palette().color(QPalette::Dark).rgb());

    // Vertical (0 at pixel 20) and reverse (mirrored to the bottom).
    for (TLinealTyp typ : {lin_vertikal, lin_vertikalreverse}) {
        auto v = MakeRuler(typ, 24, 200);
        v->SetValues(-5, 4);
        v->SetMarkupStart(0);
        v->SetMarkupEnd(10);
        v->SetBaseLineVisible(true);
        img = Grab(*v);
        auto y = [&](int t) { return typ == lin_vertikal ? t : 200 - t; };
        EXPECT_EQ(img.pixel(22, y(21)), kMarkRgb) << typ;
        EXPECT_EQ(img.pixel(q + 2, y(59)), kMarkRgb) << typ;
        EXPECT_EQ(img.pixel(q + 1, y(30)), kWhite) << typ;
        EXPECT_EQ(img.pixel(22, y(19)), kWhite) << typ;
        EXPECT_EQ(img.pixel(22, y(61)), kWhite) << typ;
        EXPECT_EQ(CountColor(img.copy(23, 0, 1, 200), kBaseRgb), 200) << typ;
    }
}
