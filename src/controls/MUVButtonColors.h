#pragma once
// The system colours the own controls default to, and how a colour value
// of a control property becomes something to paint with.

#include "canvas/tcolor.h"

#include <QColor>

namespace muv
{

constexpr TColor clScrollBar = TColor(0x80000000);
constexpr TColor clWindowFrame = TColor(0x80000006);
constexpr TColor clWindowText = TColor(0x80000008);
constexpr TColor clAppWorkSpace = TColor(0x8000000C);
constexpr TColor clBtnFace = TColor(0x8000000F);
constexpr TColor clBtnShadow = TColor(0x80000010);
constexpr TColor clGrayText = TColor(0x80000011);
constexpr TColor clBtnText = TColor(0x80000012);
constexpr TColor cl3DDkShadow = TColor(0x80000015);
constexpr TColor cl3DLight = TColor(0x80000016);
constexpr TColor clInfoBk = TColor(0x80000018);

// clNone paints nothing: callers ask IsNone first.
inline bool IsNone(TColor c)
{
    return c == ::clNone;
}

inline QColor Q(TColor c)
{
    return canvas::ToQColor(c);
}

} // namespace muv
