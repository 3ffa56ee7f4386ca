#include "canvas/colours.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace colours
{

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t p = std::int64_t(a) * b;
    std::int64_t d = c;
    const bool negative = (p < 0) != (d < 0);
    p = p < 0 ? -p : p;
    d = d < 0 ? -d : d;
    // Nearest integer, halves away from zero: floor((2p + d) / 2d).
    const std::int64_t q = (2 * p + d) / (2 * d);
    const std::int64_t r = negative ? -q : q;
    if (r > INT_MAX || r < INT_MIN)
        return -1;
    return int(r);
}

THSV RGBToHSV(int r, int g, int b)
{
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    THSV out;
    const int v = std::max({r, g, b});
    const int m = std::min({r, g, b});
    out.V = v;
    if (v == m)
        return out;
    const int d = v - m;
    out.S = MulDiv(d, 255, v);
    if (r == v)
        out.H = MulDiv(60, g - b, d);
    else if (g == v)
        out.H = MulDiv(60, b - r, d) + 120;
    else
        out.H = MulDiv(60, r - g, d) + 240;
    if (out.H < 0)
        out.H += 360;
    return out;
}

THSV ColorToHSV(TColor c)
{
    const TRGB rgb = ColorToRGB(c);
    return RGBToHSV(rgb.R, rgb.G, rgb.B);
}

TRGB HSVToRGB(int h, int s, int v)
{
    h = std::clamp(h, 0, 360);
    s = std::clamp(s, 0, 255);
    v = std::clamp(v, 0, 255);
    if (s == 0)
        return {v, v, v};
    const int hh = h % 360;
    const int sector = hh / 60;
    const int f = hh % 60;
    const int p = v - (v * s) / 255;
    const int q = v - (v * s * f) / 15300;
    const int t = v - (v * s * (60 - f)) / 15300;
    switch (sector) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

TColor HSVToColor(int h, int s, int v)
{
    return RGBToColor(HSVToRGB(h, s, v));
}

TRGB ColorToRGB(TColor c)
{
    const TColor v = canvas::ResolveColor(c);
    return {canvas::RedOf(v), canvas::GreenOf(v), canvas::BlueOf(v)};
}

namespace
{
// round(num / den) for num >= 0, den > 0, halves to the even neighbour.
int RoundHalfEven(int num, int den)
{
    int q = num / den;
    const int twice = 2 * (num % den);
    if (twice > den || (twice == den && (q % 2) != 0))
        ++q;
    return q;
}
} // namespace

int ByteToPercent(int x)
{
    return RoundHalfEven(std::clamp(x, 0, 255) * 100, 255);
}

int PercentToByte(int p)
{
    return RoundHalfEven(std::clamp(p, 0, 100) * 255, 100);
}

std::uint32_t ColorToHtmlValue(TColor c)
{
    const TRGB rgb = ColorToRGB(c);
    return (std::uint32_t(rgb.R) << 16) | (std::uint32_t(rgb.G) << 8) | std::uint32_t(rgb.B);
}

TColor HtmlValueToColor(std::uint32_t html)
{
    return canvas::RGBToTColor(int((html >> 16) & 0xFF), int((html >> 8) & 0xFF), int(html & 0xFF));
}

QString ColorToHtml(TColor c)
{
    return QStringLiteral("%1").arg(ColorToHtmlValue(c), 6, 16, QLatin1Char('0')).toUpper();
}

std::optional<std::uint32_t> HexToColor(const QString &text)
{
    QStringView digits(text);
    if (digits.startsWith(QLatin1Char('#')))
        digits = digits.mid(1);
    if (digits.size() != 6)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const QChar ch : digits) {
        const char16_t u = ch.unicode();
        int d;
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        else if (u >= 'a' && u <= 'f')
            d = u - 'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + std::uint32_t(d);
    }
    return value;
}

int IndexOfColor(const std::vector<TNamedColor> &list, TColor c)
{
    const std::uint32_t html = ColorToHtmlValue(c);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].Html == html)
            return int(i);
    return -1;
}

} // namespace colours
