#pragma once
// Colour arithmetic of the colour chooser: the integer RGB <-> HSV rules,
// HTML texts, and the list of named colours (system colours, CSS names, RAL
// colours). Pure logic on the program's colour values; no widgets.

#include "canvas/tcolor.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace colours
{

using canvas::TColor;

// a * b / c with a 64-bit product, rounded to the nearest integer with
// halves away from zero; -1 when c is 0 or the result leaves the int range.
int MulDiv(int a, int b, int c);

struct THSV {
    int H = 0; // degrees 0..359 (360 is the same as 0)
    int S = 0; // 0..255
    int V = 0; // 0..255
    friend bool operator==(const THSV &, const THSV &) = default;
};

struct TRGB {
    int R = 0, G = 0, B = 0;
    friend bool operator==(const TRGB &, const TRGB &) = default;
};

// Bytes outside 0..255 are clamped first.
THSV RGBToHSV(int r, int g, int b);
THSV ColorToHSV(TColor c); // system colours resolved first
// H, S and V are clamped (H to 0..360, S and V to 0..255), never wrapped.
TRGB HSVToRGB(int h, int s, int v);
TColor HSVToColor(int h, int s, int v);

constexpr TColor RGBToColor(const TRGB &c)
{
    return canvas::RGBToTColor(c.R, c.G, c.B);
}
TRGB ColorToRGB(TColor c); // resolved

// Per cent shown for a 0..255 channel and back, rounded half to even:
// round(x / 2.55) and round(p * 2.55), computed exactly.
int ByteToPercent(int x);
int PercentToByte(int p);

// HTML value $00RRGGBB <-> colour value $00BBGGRR (system colours resolved).
std::uint32_t ColorToHtmlValue(TColor c);
TColor HtmlValueToColor(std::uint32_t html);

// Six upper-case hex digits RRGGBB, without "#".
QString ColorToHtml(TColor c);
// Six hex digits RRGGBB with an optional leading "#" as an HTML value;
// nothing for any other text.
std::optional<std::uint32_t> HexToColor(const QString &text);

// One entry of the named-colour list.
struct TNamedColor {
    QString Name;
    std::uint32_t Html = 0; // $00RRGGBB
    int SystemIndex = -1;   // the system colour behind the entry, -1 for fixed values
};

constexpr int kNamedSystemCount = 25;
constexpr int kNamedCssCount = 145;
constexpr int kNamedRalCount = 213;
constexpr int kNamedColorCount = kNamedSystemCount + kNamedCssCount + kNamedRalCount;

// The 383 entries in their fixed order; system entries carry the current
// value of their system colour.
std::vector<TNamedColor> NamedColors();

// The lowest index whose HTML value equals the colour's, or -1.
int IndexOfColor(const std::vector<TNamedColor> &list, TColor c);

} // namespace colours
