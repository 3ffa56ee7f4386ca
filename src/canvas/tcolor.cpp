#include "canvas/tcolor.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

namespace canvas
{

namespace
{
struct SystemColorEntry {
    int index;
    bool hasRole; // false: only the fixed default applies
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    TColor fallback; // $00BBGGRR
};

constexpr auto kActive = QPalette::Active;
constexpr auto kDisabled = QPalette::Disabled;
constexpr auto kNoRole = QPalette::NoRole;

// Every system colour, its palette role (where the palette has one) and the
// value used without a palette, those of a current Windows desktop.
constexpr SystemColorEntry kSystemColors[kLastSystemColor + 1] = {
    {0, true, kActive, QPalette::Button, RGBToTColor(0xC8, 0xC8, 0xC8)},     // scroll bar
    {1, true, kActive, QPalette::Highlight, RGBToTColor(0x00, 0x00, 0x00)},  // desktop
    {2, true, kActive, QPalette::Highlight, RGBToTColor(0x99, 0xB4, 0xD1)},  // active caption
    {3, false, kActive, kNoRole, RGBToTColor(0xBF, 0xCD, 0xDB)},             // inactive caption
    {4, true, kActive, QPalette::Button, RGBToTColor(0xF0, 0xF0, 0xF0)},     // menu
    {5, true, kActive, QPalette::Base, RGBToTColor(0xFF, 0xFF, 0xFF)},       // window
    {6, true, kActive, QPalette::Shadow, RGBToTColor(0x64, 0x64, 0x64)},     // window frame
    {7, true, kActive, QPalette::WindowText, RGBToTColor(0x00, 0x00, 0x00)}, // menu text
    {8, true, kActive, QPalette::WindowText, RGBToTColor(0x00, 0x00, 0x00)}, // window text
    {9, true, kActive, QPalette::WindowText, RGBToTColor(0x00, 0x00, 0x00)}, // caption text
    {10, false, kActive, kNoRole, RGBToTColor(0xB4, 0xB4, 0xB4)},            // active border
    {11, false, kActive, kNoRole, RGBToTColor(0xF4, 0xF7, 0xFC)},            // inactive border
    {12, false, kActive, kNoRole, RGBToTColor(0xAB, 0xAB, 0xAB)},            // app workspace
    {13, true, kActive, QPalette::Highlight, RGBToTColor(0x00, 0x78, 0xD7)}, // highlight
    {14, true, kActive, QPalette::HighlightedText, RGBToTColor(0xFF, 0xFF, 0xFF)},
    {15, true, kActive, QPalette::Button, RGBToTColor(0xF0, 0xF0, 0xF0)},      // button face
    {16, true, kActive, QPalette::Dark, RGBToTColor(0xA0, 0xA0, 0xA0)},        // button shadow
    {17, true, kDisabled, QPalette::Text, RGBToTColor(0x6D, 0x6D, 0x6D)},      // grey text
    {18, true, kActive, QPalette::ButtonText, RGBToTColor(0x00, 0x00, 0x00)},  // button text
    {19, false, kActive, kNoRole, RGBToTColor(0x00, 0x00, 0x00)},              // inactive caption text
    {20, true, kActive, QPalette::Light, RGBToTColor(0xFF, 0xFF, 0xFF)},       // button highlight
    {21, true, kActive, QPalette::Shadow, RGBToTColor(0x69, 0x69, 0x69)},      // 3D dark shadow
    {22, true, kActive, QPalette::Button, RGBToTColor(0xE3, 0xE3, 0xE3)},      // 3D light
    {23, true, kActive, QPalette::ToolTipText, RGBToTColor(0x00, 0x00, 0x00)}, // info text
    {24, true, kActive, QPalette::ToolTipBase, RGBToTColor(0xFF, 0xFF, 0xE1)}, // info background
    {25, false, kActive, kNoRole, RGBToTColor(0xFF, 0xFF, 0xFF)},              // (unused)
    {26, true, kActive, QPalette::Link, RGBToTColor(0x00, 0x66, 0xCC)},        // hot light
    {27, false, kActive, kNoRole, RGBToTColor(0xB9, 0xD1, 0xEA)},              // gradient active caption
    {28, false, kActive, kNoRole, RGBToTColor(0xD7, 0xE4, 0xF2)},              // gradient inactive caption
    {29, true, kActive, QPalette::Highlight, RGBToTColor(0x33, 0x99, 0xFF)},   // menu highlight
    {30, true, kActive, QPalette::Button, RGBToTColor(0xF0, 0xF0, 0xF0)},      // menu bar
};

bool PaletteAvailable()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}
} // namespace

TColor SystemColorDefault(int index)
{
    if (index < 0 || index > kLastSystemColor)
        index = 5;
    return kSystemColors[index].fallback;
}

TColor SystemColorValue(int index)
{
    if (index < 0 || index > kLastSystemColor)
        index = 5;
    const SystemColorEntry &e = kSystemColors[index];
    if (!e.hasRole || !PaletteAvailable())
        return e.fallback;
    return FromQColor(QGuiApplication::palette().color(e.group, e.role));
}

TColor ResolveColor(TColor c)
{
    if (IsSystemColor(c))
        return SystemColorValue(int(std::uint32_t(c) & 0xFF));
    return TColor(std::uint32_t(c) & 0x00FFFFFFu);
}

QColor ToQColor(TColor c)
{
    const TColor v = ResolveColor(c);
    return QColor(RedOf(v), GreenOf(v), BlueOf(v));
}

TColor FromQColor(const QColor &c)
{
    return RGBToTColor(c.red(), c.green(), c.blue());
}

} // namespace canvas
