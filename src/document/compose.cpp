#include "document/compose.h"

#include "model/rs.h"
#include "platform/codepage.h"

#include <cmath>

namespace
{
constexpr int kAlignLeftMiddle = 1;
constexpr int kAlignCentreMiddle = 4;
constexpr int kAlignRightMiddle = 7;

constexpr int kSolid = 0;
constexpr int kClear = 1;    // fill style
constexpr int kPenClear = 5; // line style: no line
constexpr TColor kGrey = 0x808080;

void composeBackground(const TRS &sheet, canvas::TDPage &canvas)
{
    const double s = sheet.FieldSpacing;
    for (std::int32_t i = 0; i < sheet.ColumnCount; ++i) {
        const TRSSpalte *column = sheet.GetColumn(i);
        if (!column || sheet.RowCount <= 0)
            continue;
        if (column->BackgroundOn) {
            canvas.SetFillStyle(kSolid, column->BackgroundColor);
            canvas.SetLineStyle(kPenClear, clBlack, 0.05);
            canvas.AddRectangle(column->Left, column->Top, column->Width, column->Height);
        } else {
            canvas.SetFillStyle(kSolid, clWhite);
        }
        for (std::int32_t j = 0; j < sheet.RowCount; ++j) {
            const TRSObject *f = column->GetField(j);
            if (!f)
                continue;
            canvas.SetLineStyle(kPenClear, kGrey, 0.05);
            canvas.AddRectangle(f->Left, f->Top, f->Width, f->Height);
            canvas.SetLineStyle(sheet.RowLineStyle, sheet.RowLineColor, 0.05);
            canvas.AddLine(column->Left, f->Y1 - s / 2, column->Left + column->Width, f->Y1 - s / 2);
            if (j == sheet.RowCount - 1)
                canvas.AddLine(column->Left, f->Y2 + s / 2, column->Left + column->Width, f->Y2 + s / 2);
        }
        canvas.SetLineStyle(sheet.ColumnLineStyle, sheet.ColumnLineColor, 0.05);
        canvas.SetFillStyle(kClear, clNone);
        canvas.AddRectangle(column->Left, column->Top, column->Width, column->Height);
    }
}

int composeField(const TRS &sheet, canvas::TDPage &canvas, const TRSObject &f, bool lastRow)
{
    const double s = sheet.FieldSpacing;
    int textElement = -1;
    canvas.SetFillStyle(kSolid, f.BackgroundColor);
    canvas.SetLineStyle(kPenClear, clWhite, 0.1);
    canvas.AddRectangle(f.Left + 0.05, f.Top + 0.05, f.Width - 0.1, lastRow ? f.Height - 0.1 : f.Height);

    switch (KindTraits(f.Kind).look) {
    case TFieldLook::Nothing:
        break;
    case TFieldLook::Text: {
        const TTextAnchor a = TextAnchor(f);
        canvas.SetTextStyle(platform::FromAnsi(f.FontName), f.FontColor, f.FontStyle, a.alignment,
                            f.FontHeight, f.Angle);
        const std::string text = DrawnText(f.Text);
        if (!text.empty())
            textElement = canvas.AddText(platform::FromAnsi(text), a.x, a.y);
        break;
    }
    case TFieldLook::Picture:
        if (f.Picture && f.Picture->Width() > 0 && f.Picture->Height() > 0) {
            const QRectF box = FitPicture(f, f.Picture->Width(), f.Picture->Height());
            canvas.AddPicture(canvas::kSrcCopy, f.Picture.get(), box.x(), box.y(), box.width(), box.height());
        }
        break;
    }

    canvas.SetLineStyle(kSolid, f.LineColor, f.LineWidth);
    if (f.LinesTopBottom) {
        canvas.AddLine(f.Left, f.Top - s / 2, f.Left + f.Width, f.Top - s / 2);
        canvas.AddLine(f.Left, f.Top + f.Height + s / 2, f.Left + f.Width, f.Top + f.Height + s / 2);
    }
    if (f.LinesLeftRight) {
        canvas.AddLine(f.Left, f.Top + f.Height + s / 2, f.Left, f.Top - s / 2);
        canvas.AddLine(f.X2, f.Top + f.Height + s / 2, f.X2, f.Top - s / 2);
    }
    return textElement;
}
} // namespace

TTextAnchor TextAnchor(const TRSObject &f)
{
    // The angle counts in whole degrees, cut toward zero.
    const double whole = std::trunc(f.Angle);
    const bool flat = whole == 0, upright = whole == 90;
    switch (f.Alignment) {
    case 0:
        if (flat)
            return {kAlignLeftMiddle, f.Left, f.CenterY};
        if (upright)
            return {kAlignLeftMiddle, f.CenterX, f.Top + f.Height};
        break;
    case 2:
        if (flat)
            return {kAlignRightMiddle, f.Left + f.Width, f.CenterY};
        if (upright)
            return {kAlignRightMiddle, f.CenterX, f.Top};
        break;
    default:
        break;
    }
    return {kAlignCentreMiddle, f.CenterX, f.CenterY};
}

std::string DrawnText(const std::string &text)
{
    std::string t = text.substr(0, kMaxStringBytes);
    if (t.size() > 3 && t[t.size() - 2] == '\r')
        t.resize(t.size() - 2);
    return t;
}

QRectF FitPicture(const TRSObject &f, double gw, double gh)
{
    const double q = gw / gh;
    double w, h, x, y;
    if (q < 1) {
        h = f.Height;
        w = q * h;
        x = f.CenterX - w / 2;
        y = f.Top;
        if (w > f.Width) {
            w = f.Width;
            h = f.Width / q;
            x = f.Left;
            y = f.CenterY - h / 2;
        }
    } else if (q == 1) {
        w = h = std::min(f.Width, f.Height);
        x = f.CenterX - w / 2;
        y = f.CenterY - h / 2;
    } else {
        w = f.Width;
        h = f.Width / q;
        x = f.Left;
        y = f.CenterY - h / 2;
        if (h > f.Height) {
            h = f.Height;
            w = q * h;
            y = f.Top;
            x = f.CenterX - w / 2;
        }
    }
    return QRectF(x, y, w, h);
}

TFieldElements ComposeSheet(const TRS &sheet, canvas::TDPage &canvas, const TComposeSettings &settings)
{
    canvas.SelectPage(1);
    canvas.ClearPage();
    canvas.SelectPage(0);
    canvas.ClearPage();
    canvas.SetBlattfarbe(sheet.BackgroundColor);
    canvas.SetLineFactor(settings.LineFactor);

    composeBackground(sheet, canvas);
    canvas.SelectPage(1);
    TFieldElements elements;
    for (std::int32_t i = 0; i < sheet.ColumnCount; ++i)
        for (std::int32_t j = 0; j < sheet.RowCount; ++j) {
            const TRSObject *f = sheet.GetField(i, j);
            if (!f || !f->Visible)
                continue;
            const int text = composeField(sheet, canvas, *f, j == sheet.RowCount - 1);
            if (text >= 0)
                elements.Set(i, j, text);
        }
    return elements;
}
