#include "canvas/tcolor.h"

#include <QGuiApplication>
#include <QPalette>

namespace canvas
{

namespace
{
QColor SystemColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0:  // scroll bar
    case 4:  // menu
    case 15: // button face
    case 22: // 3D light
        return pal.color(QPalette::Button);
    case 1: // desktop
    case 2: // active caption
        return pal.color(QPalette::Highlight);
    case 5: // window
        return pal.color(QPalette::Base);
    case 6:  // window frame
    case 21: // 3D dark shadow
        return pal.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
    case 9: // caption text
        return pal.color(QPalette::WindowText);
    case 13: // highlight
        return pal.color(QPalette::Highlight);
    case 14: // highlight text
        return pal.color(QPalette::HighlightedText);
    case 16: // button shadow
        return pal.color(QPalette::Dark);
    case 17: // grey text
        return pal.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return pal.color(QPalette::ButtonText);
    case 20: // button highlight
        return pal.color(QPalette::Light);
    case 23: // info text
        return pal.color(QPalette::ToolTipText);
    case 24: // info background
        return pal.color(QPalette::ToolTipBase);
    default:
        return pal.color(QPalette::Window);
    }
}
} // namespace

QColor ToQColor(TColor c)
{
    const auto u = static_cast<std::uint32_t>(c);
    if ((u & 0xFF000000u) == 0x80000000u)
        return SystemColor(int(u & 0xFF));
    return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

} // namespace canvas
