#pragma once
// Colour values as the label files store them: a signed 32-bit $00BBGGRR,
// $800000nn for system colour nn, clNone for no colour.

#include <cstdint>

using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clBtnShadow = TColor(0x80000010);
constexpr TColor clAppWorkSpace = TColor(0x8000000C);

constexpr TColor RGBToTColor(int r, int g, int b)
{
    return TColor(r | (g << 8) | (b << 16));
}
