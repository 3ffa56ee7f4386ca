#pragma once
// The drawing elements of the canvas. Each keeps the values its adder was
// given (after grid snap) beside the placed values, so that a change of scale,
// offset or mirroring can place it again.

#include "canvas/tcolor.h"

#include <QFont>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class TPicture;

namespace canvas
{

enum class TDruckTyp : unsigned char {
    None = 0,
    Text = 1,
    Line = 2,
    Rectangle = 3,
    Circle = 4,
    Picture = 5,
    Arc = 6
};

// Font style bits of texts.
enum FontStyleBits : unsigned char { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Raster operation of pictures; source copy is the one in use.
constexpr std::int32_t kSrcCopy = 0x00CC0020;

struct TDElement {
    explicit TDElement(TDruckTyp k) : kind(k) {}
    virtual ~TDElement() = default;
    TDruckTyp kind;
    bool marked = false;
    mutable QRect bounds; // pixels of the view's last drawing, right/bottom exclusive
};

struct TDTText : TDElement {
    TDTText() : TDElement(TDruckTyp::Text) {}
    double inX = 0, inY = 0;
    double x = 0, y = 0;
    double inHeight = 0;
    double height = 0;
    double angle = 0;
    double blockWidth = 0, blockHeight = 0;
    int alignment = 0;
    TColor fontColor = clBlack;
    unsigned char fontStyle = 0;
    QString fontName;
    QString text;     // 1 ... 255 characters
    QString longText; // longer texts
    bool isLong = false;
    int lineCount = 1;
    bool fixedBlock = false; // block size given, never measured

    // Lines as drawn, and what the last drawing font made of them (kept by
    // the const drawing).
    QStringList lines;
    mutable double cachedCellPx = -1;
    mutable int cachedDpi = -1;
    mutable QFont cachedFont;
    mutable double cachedScale = 1; // from the font's whole pixel size to the exact one
    mutable double cachedAscent = 0;
    mutable std::vector<double> cachedWidths;
    mutable std::vector<QStaticText> cachedStatic; // laid-out lines for raster targets

    const QString &Text() const { return isLong ? longText : text; }
};

struct TDTLine : TDElement {
    TDTLine() : TDElement(TDruckTyp::Line) {}
    double inX1 = 0, inY1 = 0;
    double x1 = 0, y1 = 0;
    double inX2 = 0, inY2 = 0;
    double inWidth = 0;
    double x2 = 0, y2 = 0;
    double width = 0;
    unsigned char penStyle = 0;
    TColor penColor = clBlack;
};

struct TDTRect : TDElement {
    TDTRect() : TDElement(TDruckTyp::Rectangle) {}
    double inX = 0, inY = 0;
    double left = 0, top = 0;
    double inWidth = 0, inHeight = 0;
    double inPenWidth = 0;
    double right = 0, bottom = 0;
    double penWidth = 0;
    unsigned char penStyle = 0;
    TColor penColor = clBlack;
    unsigned char fillStyle = 0;
    TColor fillColor = clNone;
};

struct TDTCircle : TDElement {
    TDTCircle() : TDElement(TDruckTyp::Circle) {}
    double x = 0, y = 0, radius = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
    double penWidth = 0;
    unsigned char penStyle = 0;
    TColor penColor = clBlack;
    unsigned char fillStyle = 0;
    TColor fillColor = clNone;
};

struct TDTPicture : TDElement {
    TDTPicture();
    ~TDTPicture() override;
    double inX = 0, inY = 0;
    double x = 0, y = 0;
    double inWidth = 0, inHeight = 0;
    double width = 0, height = 0;
    std::int32_t copyMode = kSrcCopy;
    std::unique_ptr<TPicture> picture; // the element's own copy
};

// What GetElementInfo reports about one element.
struct ElementInfo {
    int number = 0;
    TDruckTyp kind = TDruckTyp::None;
    double x = 0, y = 0;
    double x2 = 0, y2 = 0; // lines: placed end; pictures: input width and height
    double angle = 0;
    double width = 0, height = 0;
    // Texts: the width from the first to the last painted point of the
    // widest line, or for a turned text the width of the box around the
    // turned block of lines that wide.
    double inkWidth = 0;
    TColor color = 0; // pen or font colour
    double penWidth = 0;
    int penStyle = 0;
    TColor fillColor = 0;
    int fillStyle = 0;
    QString fontName;
    double textHeight = 0;
    int alignment = 0;
    int fontStyle = 0;
    QString text;
};

} // namespace canvas
