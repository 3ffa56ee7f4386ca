// A symbol written as an enhanced metafile by hand: a handful of plain GDI
// records that every reader of EMF plays (libemf2svg here, GDI elsewhere).
// The device unit is 0.01 mm and the mapping mode the default, so
// coordinates are device units; bars are one polygon list filled as a path
// (a path fill has no outline in any player, where a polygon drawn with the
// null pen gets a hairline of its colour from libemf2svg, which printers and
// PDF viewers widen to a device pixel and so fatten every bar), texts are
// Unicode text records with a font of their own.
#include "model/barcode_emf.h"
#include "model/le_bytes.h"

#include <cmath>

using lebytes::append16;
using lebytes::append32;
using lebytes::put32;

namespace
{

enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYPOLYGON = 8,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_FILLPATH = 62,
    EMR_COMMENT = 70,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};
constexpr std::uint32_t kNullBrush = 0x80000005, kNullPen = 0x80000008, kSystemFont = 0x8000000D;
constexpr std::uint32_t kTransparent = 1, kWinding = 2, kGmCompatible = 1;
constexpr std::uint32_t kTaBaseline = 24, kTaCenter = 6, kTaLeft = 0, kTaRight = 2;
constexpr std::uint32_t kBrushHandle = 1, kFontHandle = 2;
// The reference device: a metre square at 100 pixels per millimetre.
constexpr std::int32_t kDeviceMm = 1000, kDevicePixels = kDeviceMm * 100;

std::int32_t dev(double symbolUnits)
{
    return std::int32_t(std::lround(symbolUnits * kEmfUnitsPerSymbolUnit));
}

class Writer
{
  public:
    TBytes out;
    std::uint32_t records = 0;

    // Starts a record; returns where it begins, for end().
    std::size_t begin(std::uint32_t type)
    {
        const std::size_t at = out.size();
        append32(out, type);
        append32(out, 0);
        ++records;
        return at;
    }
    void end(std::size_t at)
    {
        while (out.size() % 4)
            out.push_back(0);
        put32(out, at + 4, std::uint32_t(out.size() - at));
    }
    void simple(std::uint32_t type, std::uint32_t value)
    {
        const std::size_t at = begin(type);
        append32(out, value);
        end(at);
    }
    void rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
    {
        for (std::int32_t v : {l, t, r, b})
            append32(out, std::uint32_t(v));
    }
    void i32(std::int32_t v) { append32(out, std::uint32_t(v)); }
};

void writeHeader(Writer &w, std::int32_t width, std::int32_t height)
{
    const std::size_t at = w.begin(EMR_HEADER);
    w.rect(0, 0, width - 1, height - 1); // bounds, device units, inclusive
    w.rect(0, 0, width - 1, height - 1); // frame, 0.01 mm, inclusive
    append32(w.out, 0x464D4520);         // " EMF"
    append32(w.out, 0x00010000);         // version
    append32(w.out, 0);                  // bytes, filled in at the end
    append32(w.out, 0);                  // records, likewise
    append16(w.out, 3);                  // handles: the reserved one, brush, font
    append16(w.out, 0);
    append32(w.out, 0); // no description
    append32(w.out, 0);
    append32(w.out, 0); // no palette
    w.i32(kDevicePixels);
    w.i32(kDevicePixels);
    w.i32(kDeviceMm);
    w.i32(kDeviceMm);
    append32(w.out, 0); // no pixel format, no OpenGL
    append32(w.out, 0);
    append32(w.out, 0);
    w.i32(kDeviceMm * 1000); // micrometres
    w.i32(kDeviceMm * 1000);
    w.end(at);
}

void writeBars(Writer &w, const std::vector<QRectF> &bars)
{
    if (bars.empty())
        return;
    std::int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    std::vector<std::int32_t> points;
    points.reserve(bars.size() * 8);
    for (const QRectF &bar : bars) {
        const std::int32_t x0 = dev(bar.left()), y0 = dev(bar.top());
        const std::int32_t x1 = dev(bar.right()), y1 = dev(bar.bottom());
        points.insert(points.end(), {x0, y0, x1, y0, x1, y1, x0, y1});
        l = std::min(l, x0), t = std::min(t, y0), r = std::max(r, x1), b = std::max(b, y1);
    }
    w.out.reserve(w.out.size() + points.size() * 4 + bars.size() * 4 + 64);
    w.end(w.begin(EMR_BEGINPATH));
    const std::size_t at = w.begin(EMR_POLYPOLYGON);
    w.rect(l, t, r - 1, b - 1);
    w.i32(std::int32_t(bars.size()));
    w.i32(std::int32_t(points.size() / 2));
    for (std::size_t i = 0; i < bars.size(); ++i)
        w.i32(4);
    for (std::int32_t v : points)
        w.i32(v);
    w.end(at);
    w.end(w.begin(EMR_ENDPATH));
    const std::size_t fill = w.begin(EMR_FILLPATH);
    w.rect(l, t, r - 1, b - 1);
    w.end(fill);
}

void writeFont(Writer &w, double size, int angle)
{
    const std::size_t at = w.begin(EMR_EXTCREATEFONTINDIRECTW);
    w.i32(std::int32_t(kFontHandle));
    // LOGFONTW: a negative height is the em size.
    w.i32(-std::max(1, dev(size)));
    w.i32(0);                                   // width
    w.i32(angle);                               // escapement
    w.i32(angle);                               // orientation
    w.i32(400);                                 // weight
    w.out.insert(w.out.end(), {0, 0, 0});       // italic, underline, strike-out
    w.out.insert(w.out.end(), {1, 0, 0, 4, 0}); // default charset, precisions, antialiased quality, pitch
    const QString face = QStringLiteral("Arial");
    for (int i = 0; i < 32; ++i)
        append16(w.out, i < face.size() ? face[i].unicode() : 0);
    // The rest of the extended form (full name, style, script, panose)
    // stays zero, as most writers leave it.
    w.out.resize(w.out.size() + 320 - 92, 0);
    w.end(at);
}

void writeText(Writer &w, const TSymbolDrawing::Text &text)
{
    const std::u16string chars = text.text.toStdU16String();
    if (chars.empty())
        return;
    writeFont(w, text.size, text.angle);
    w.simple(EMR_SELECTOBJECT, kFontHandle);
    const std::uint32_t align = text.align == 1 ? kTaLeft : text.align == 2 ? kTaRight : kTaCenter;
    w.simple(EMR_SETTEXTALIGN, kTaBaseline | align);

    const std::size_t at = w.begin(EMR_EXTTEXTOUTW);
    w.rect(0, 0, -1, -1); // bounds not computed
    append32(w.out, kGmCompatible);
    append32(w.out, 0); // scales, unused in compatible mode
    append32(w.out, 0);
    w.i32(dev(text.base.x()));
    w.i32(dev(text.base.y()));
    w.i32(std::int32_t(chars.size()));
    const std::uint32_t stringAt = 76;
    const std::uint32_t dxAt = stringAt + std::uint32_t((chars.size() * 2 + 3) / 4 * 4);
    append32(w.out, stringAt);
    append32(w.out, 0);   // options
    w.rect(0, 0, -1, -1); // no clipping rectangle
    append32(w.out, dxAt);
    for (char16_t c : chars)
        append16(w.out, c);
    while ((w.out.size() - at) % 4)
        w.out.push_back(0);
    // The advances spread the text over the width libzint gives it, as
    // its own writers do; without one the font's own advance counts.
    const double per = text.advance > 0 ? text.advance / double(chars.size()) : text.size * 0.6;
    for (std::size_t i = 0; i < chars.size(); ++i)
        w.i32(dev((i + 1) * per) - dev(i * per));
    w.end(at);

    w.simple(EMR_SELECTOBJECT, kSystemFont);
    w.simple(EMR_DELETEOBJECT, kFontHandle);
}

} // namespace

TBytes WriteSymbolEmf(const TSymbolDrawing &drawing, TColor colour, const TBytes &commentData)
{
    Writer w;
    const std::int32_t width = std::max(1, dev(drawing.width)), height = std::max(1, dev(drawing.height));
    writeHeader(w, width, height);

    const std::size_t comment = w.begin(EMR_COMMENT);
    append32(w.out, std::uint32_t(commentData.size()));
    w.out.insert(w.out.end(), commentData.begin(), commentData.end());
    w.end(comment);

    const std::uint32_t rgb = std::uint32_t(colour) & 0xFFFFFF;
    w.simple(EMR_SETBKMODE, kTransparent);
    w.simple(EMR_SETPOLYFILLMODE, kWinding);
    w.simple(EMR_SELECTOBJECT, kNullPen);
    const std::size_t brush = w.begin(EMR_CREATEBRUSHINDIRECT);
    append32(w.out, kBrushHandle);
    append32(w.out, 0); // solid
    append32(w.out, rgb);
    append32(w.out, 0);
    w.end(brush);
    w.simple(EMR_SELECTOBJECT, kBrushHandle);
    writeBars(w, drawing.bars);
    w.simple(EMR_SELECTOBJECT, kNullBrush);
    w.simple(EMR_DELETEOBJECT, kBrushHandle);

    if (!drawing.texts.empty()) {
        w.simple(EMR_SETTEXTCOLOR, rgb);
        for (const TSymbolDrawing::Text &text : drawing.texts)
            writeText(w, text);
    }

    const std::size_t eof = w.begin(EMR_EOF);
    append32(w.out, 0);  // no palette
    append32(w.out, 16); // where it would be
    append32(w.out, 20); // this record's size, again
    w.end(eof);

    put32(w.out, 48, std::uint32_t(w.out.size()));
    put32(w.out, 52, w.records);
    return w.out;
}
