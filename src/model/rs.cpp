// Sheet, column and field: geometry, hit tests, copies and rearrangements.
#include "model/rs.h"

#include "platform/codepage.h"
#include "platform/system.h"

#include <algorithm>

// ---------------------------------------------------------------- TRSObject

void TRSObject::SetFrame(double x1, double y1, double x2, double y2)
{
    X1 = Left = x1;
    Y1 = Top = y1;
    X2 = x2;
    Y2 = y2;
    Width = X2 - X1;
    Height = Y2 - Y1;
    CenterX = X1 + Width / 2;
    CenterY = Y1 + Height / 2;
}

void TRSObject::Assign(const TRSObject *source, bool withFrame)
{
    if (!source || source == this)
        return;
    Kind = source->Kind;
    Picture = source->Picture ? source->Picture->Clone() : nullptr;
    if (withFrame) {
        X1 = source->X1;
        Y1 = source->Y1;
        Y2 = source->Y2;
        X2 = source->X2;
        CenterX = source->CenterX;
        CenterY = source->CenterY;
        Left = source->Left;
        Top = source->Top;
        Width = source->Width;
        Height = source->Height;
    }
    LineColor = source->LineColor;
    LineWidth = source->LineWidth;
    LinesTopBottom = source->LinesTopBottom;
    LinesLeftRight = source->LinesLeftRight;
    Text = source->Text;
    Alignment = source->Alignment;
    FontName = source->FontName;
    FontHeight = source->FontHeight;
    FontStyle = source->FontStyle;
    FontColor = source->FontColor;
    Angle = source->Angle;
    Visible = source->Visible;
    BackgroundColor = source->BackgroundColor;
}

bool TRSObject::ContainsPoint(double x, double y) const
{
    return Left <= x && x <= Left + Width && Top <= y && y <= Top + Height;
}

// ---------------------------------------------------------------- TRSSpalte

TRSSpalte::TRSSpalte(TRS *sheet, std::int32_t index) : Index(index), Sheet(sheet)
{
    PlaceFromSheet();
    BuildFields();
}

TRSSpalte::~TRSSpalte()
{
    ClearFields();
}

void TRSSpalte::PlaceFromSheet()
{
    Width = Sheet->ColumnWidth;
    Height = Sheet->ColumnHeight;
    Left = Index * Sheet->ColumnWidth + Sheet->MarginLeft + Index * Sheet->ColumnGap;
    Top = Sheet->MarginTop;
}

void TRSSpalte::BuildFields()
{
    ClearFields();
    const std::int32_t n = Sheet->RowCount;
    if (n <= 0)
        return;
    Fields.reserve(std::size_t(n));
    for (std::int32_t r = 0; r < n; ++r) {
        auto field = std::make_unique<TRSObject>();
        field->Kind = TFieldKind::Empty;
        field->Visible = false;
        Fields.push_back(std::move(field));
    }
    PlaceFields();
}

void TRSSpalte::PlaceFields()
{
    const std::int32_t n = Sheet->RowCount;
    if (n <= 0)
        return;
    const double s = Sheet->FieldSpacing;
    const double x1 = Left + s;
    const double x2 = x1 + Width - 2 * s;
    const double step = (Height - 2 * s) / n;
    double y = s / 2 + Top + s;
    for (auto &field : Fields) {
        field->SetFrame(x1, y, x2, y + step - s);
        y += step;
    }
}

void TRSSpalte::ClearFields()
{
    while (!Fields.empty())
        Fields.pop_back();
}

TRSObject *TRSSpalte::GetField(std::int32_t row) const
{
    if (row < 0 || std::size_t(row) >= Fields.size())
        return nullptr;
    return Fields[std::size_t(row)].get();
}

bool TRSSpalte::ContainsPoint(double x, double y) const
{
    return Left <= x && x <= Left + Width && Top <= y && y <= Top + Height;
}

// ---------------------------------------------------------------------- TRS

TRS::TRS()
    : UserName(platform::ToAnsi(platform::LoginName())),
      ComputerName(platform::ToAnsi(platform::ComputerName()))
{
}

TRS::~TRS()
{
    ClearColumns();
}

void TRS::ComputeDerived()
{
    ColumnWidth = (PageWidth - MarginLeft - MarginRight - (ColumnCount - 1) * ColumnGap) / ColumnCount;
    ColumnHeight = PageHeight - MarginTop - MarginBottom;
}

void TRS::SetLayout(std::int32_t columns, std::int32_t rows, double pageWidth, double pageHeight,
                    double marginLeft, double marginRight, double marginTop, double marginBottom,
                    double columnGap, double fieldSpacing, TColor backgroundColor)
{
    ClearColumns(); // all previous content goes
    ColumnCount = columns;
    RowCount = rows;
    PageWidth = pageWidth;
    PageHeight = pageHeight;
    BackgroundColor = backgroundColor;
    SetSpacing(marginLeft, marginRight, marginTop, marginBottom, columnGap, fieldSpacing);
    BuildGrid();
}

void TRS::SetSpacing(double marginLeft, double marginRight, double marginTop, double marginBottom,
                     double columnGap, double fieldSpacing)
{
    MarginLeft = marginLeft;
    MarginRight = marginRight;
    MarginTop = marginTop;
    MarginBottom = marginBottom;
    ColumnGap = columnGap;
    FieldSpacing = fieldSpacing;
    ComputeDerived();
    for (auto &column : Columns) {
        column->PlaceFromSheet();
        column->PlaceFields();
    }
}

void TRS::SetGrid(std::int32_t columns, std::int32_t rows)
{
    if (!GridBuilt)
        return;
    const std::int32_t c0 = ColumnCount;
    TRS copy;
    copy.Assign(*this);

    ColumnCount = columns;
    RowCount = rows;
    ComputeDerived();
    BuildGrid();

    for (std::int32_t i = 0; i < ColumnCount; ++i)
        for (std::int32_t j = 0; j < RowCount; ++j) {
            const TRSObject *old = copy.GetField(i, j);
            TRSObject *field = GetField(i, j);
            if (!old || !field)
                continue;
            field->Assign(old, false);
            if (IsTextKind(field->Kind))
                field->FontHeight *= double(c0) / double(columns);
        }
}

void TRS::BuildGrid()
{
    ClearColumns();
    if (ColumnCount <= 0 || RowCount <= 0) {
        GridBuilt = false;
        return;
    }
    Columns.reserve(std::size_t(ColumnCount));
    for (std::int32_t i = 0; i < ColumnCount; ++i)
        Columns.push_back(std::make_unique<TRSSpalte>(this, i));
    GridBuilt = true;
}

void TRS::ClearColumns()
{
    for (auto &column : Columns)
        column.reset();
    Columns.clear();
}

TRSSpalte *TRS::GetColumn(std::int32_t index) const
{
    if (!GridBuilt || index < 0 || index >= ColumnCount || std::size_t(index) >= Columns.size())
        return nullptr;
    return Columns[std::size_t(index)].get();
}

TRSObject *TRS::GetField(std::int32_t column, std::int32_t row) const
{
    if (row < 0 || row >= RowCount)
        return nullptr;
    const TRSSpalte *c = GetColumn(column);
    return c ? c->GetField(row) : nullptr;
}

TRSSpalte *TRS::ColumnAtPoint(double x, double y) const
{
    if (ColumnCount <= 0 || RowCount <= 0)
        return nullptr;
    for (const auto &column : Columns)
        if (column->ContainsPoint(x, y))
            return column.get();
    return nullptr;
}

std::int32_t TRS::RowAtPoint(double x, double y) const
{
    const TRSSpalte *column = ColumnAtPoint(x, y);
    if (!column)
        return -1;
    std::int32_t row = -1;
    for (std::size_t r = 0; r < column->Fields.size(); ++r)
        if (column->Fields[r]->ContainsPoint(x, y))
            row = std::int32_t(r);
    return row;
}

TRSObject *TRS::FieldAtPoint(double x, double y) const
{
    if (ColumnCount <= 0 || RowCount <= 0)
        return nullptr;
    for (const auto &column : Columns)
        for (const auto &f : column->Fields)
            if (f->X1 < x && x < f->X2 && f->Y1 < y && y < f->Y2)
                return f.get();
    return nullptr;
}

void TRS::SetColumnVisible(bool visible, double x, double /*y*/)
{
    for (const auto &column : Columns)
        if (column->ContainsPoint(x, PageHeight / 2)) {
            for (auto &f : column->Fields)
                f->Visible = visible;
            return;
        }
}

void TRS::PlaceColumnHorizontally(TRSSpalte &column, std::int32_t i)
{
    column.Index = i;
    column.Left = i * column.Width + MarginLeft + i * ColumnGap;
    for (auto &f : column.Fields) {
        f->X1 = f->Left = column.Left + FieldSpacing;
        f->X2 = f->X1 + f->Width;
        f->CenterX = f->X1 + f->Width / 2;
    }
}

void TRS::ShiftColumns(bool toLeft)
{
    if (ColumnCount <= 0 || RowCount <= 0 || Columns.empty())
        return;
    if (toLeft)
        std::rotate(Columns.begin(), Columns.begin() + 1, Columns.end());
    else
        std::rotate(Columns.rbegin(), Columns.rbegin() + 1, Columns.rend());
    for (std::size_t i = 0; i < Columns.size(); ++i)
        PlaceColumnHorizontally(*Columns[i], std::int32_t(i));
}

void TRS::ShiftRows(bool up)
{
    if (RowCount < 2)
        return;
    const double s = FieldSpacing;
    const double step = (ColumnHeight - 2 * s) / RowCount;
    for (auto &column : Columns) {
        auto &fields = column->Fields;
        if (fields.size() < 2)
            continue;
        if (up)
            std::rotate(fields.begin(), fields.begin() + 1, fields.end());
        else
            std::rotate(fields.rbegin(), fields.rbegin() + 1, fields.rend());
        double y = s + s / 2 + column->Top;
        for (auto &f : fields) {
            f->Y1 = f->Top = y;
            f->Y2 = y + step - s;
            f->CenterY = f->Y1 + (f->Y2 - f->Y1) / 2;
            y += step;
        }
    }
}

void TRS::CopyFirstColumn()
{
    if (ColumnCount < 2 || RowCount <= 0 || Columns.size() < 2)
        return;
    ShiftColumns(false);
    TRSSpalte &first = *Columns[0];
    const TRSSpalte &second = *Columns[1];
    first.BackgroundColor = second.BackgroundColor;
    first.BackgroundOn = second.BackgroundOn;
    for (std::size_t r = 0; r < first.Fields.size() && r < second.Fields.size(); ++r)
        first.Fields[r]->Assign(second.Fields[r].get(), true);
    PlaceColumnHorizontally(first, 0);
}

namespace
{
void copyFormat(TRSObject &target, const TRSObject &source, bool withContent)
{
    target.Kind = source.Kind;
    target.Visible = true;
    target.LinesTopBottom = source.LinesTopBottom;
    target.LinesLeftRight = source.LinesLeftRight;
    target.LineColor = source.LineColor;
    target.LineWidth = source.LineWidth;
    target.Alignment = source.Alignment;
    target.FontName = source.FontName;
    target.FontHeight = source.FontHeight;
    target.FontStyle = source.FontStyle;
    target.FontColor = source.FontColor;
    target.Angle = source.Angle;
    target.BackgroundColor = source.BackgroundColor;
    if (withContent) {
        target.Picture = source.Picture ? source.Picture->Clone() : nullptr;
        target.Text = source.Text;
    }
}
} // namespace

void TRS::CopyFieldToAll(const TRSObject *source, bool withContent)
{
    if (!source)
        return;
    for (auto &column : Columns)
        for (auto &f : column->Fields)
            if (f.get() != source)
                copyFormat(*f, *source, withContent);
}

void TRS::CopyFieldToColumn(const TRSObject *source, TRSSpalte *column)
{
    if (!source || !column)
        return;
    for (auto &f : column->Fields)
        if (f.get() != source)
            copyFormat(*f, *source, true);
}

void TRS::CopyFieldToRow(const TRSObject *source, std::int32_t row)
{
    if (!source)
        return;
    for (auto &column : Columns)
        if (TRSObject *f = column->GetField(row); f && f != source)
            copyFormat(*f, *source, true);
}

void TRS::CopyValuesFrom(const TRS &other)
{
    ColumnCount = other.ColumnCount;
    RowCount = other.RowCount;
    BackgroundColor = other.BackgroundColor;
    PageWidth = other.PageWidth;
    PageHeight = other.PageHeight;
    MarginLeft = other.MarginLeft;
    MarginRight = other.MarginRight;
    MarginTop = other.MarginTop;
    MarginBottom = other.MarginBottom;
    ColumnGap = other.ColumnGap;
    ColumnWidth = other.ColumnWidth;
    ColumnHeight = other.ColumnHeight;
    FieldSpacing = other.FieldSpacing;
    UserName = other.UserName;
    ComputerName = other.ComputerName;
    Reserved1 = other.Reserved1;
    Reserved2 = other.Reserved2;
    RowLineColor = other.RowLineColor;
    RowLineStyle = other.RowLineStyle;
    ColumnLineColor = other.ColumnLineColor;
    ColumnLineStyle = other.ColumnLineStyle;
}

void TRS::Assign(const TRS &other)
{
    if (&other == this)
        return;
    FileName.clear();
    CopyValuesFrom(other);
    BuildGrid();
    for (std::int32_t i = 0; i < ColumnCount; ++i) {
        TRSSpalte *mine = GetColumn(i);
        const TRSSpalte *theirs = other.GetColumn(i);
        if (!mine || !theirs)
            continue;
        mine->Index = theirs->Index;
        mine->BackgroundColor = theirs->BackgroundColor;
        mine->BackgroundOn = theirs->BackgroundOn;
        for (std::int32_t j = 0; j < RowCount; ++j)
            if (TRSObject *f = mine->GetField(j))
                f->Assign(theirs->GetField(j), true);
    }
}

void TRS::TakeContentFrom(TRS &other)
{
    CopyValuesFrom(other);
    ClearColumns();
    Columns = std::move(other.Columns);
    other.Columns.clear();
    GridBuilt = other.GridBuilt;
    other.GridBuilt = false;
    for (auto &column : Columns)
        column->Sheet = this;
}
