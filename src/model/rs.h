#pragma once
// The document: a sheet (TRS) of columns (TRSSpalte), each holding the same
// number of fields (TRSObject). All lengths are millimetres on the page,
// origin at the paper's top-left corner, y downward. Texts are 8-bit
// Windows-1252 strings.

#include "model/colors.h"
#include "model/picture.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TRS;
class TRSReader;
class TRSWriter;

class TRSObject
{
  public:
    TRSObject() = default;
    TRSObject(const TRSObject &) = delete;
    TRSObject &operator=(const TRSObject &) = delete;

    std::uint8_t Kind = 1; // 0 empty, 1 text, 2 picture
    std::unique_ptr<TPicture> Picture;
    double X1 = 0, Y1 = 0, Y2 = 0, X2 = 0;
    double CenterX = 0, CenterY = 0;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool LinesTopBottom = false;
    bool LinesLeftRight = false;
    TColor LineColor = clBlack;
    double LineWidth = 0.5;
    TColor BackgroundColor = clWhite;
    std::string Text;           // lines separated by CR LF, at most 255 characters
    std::uint8_t Alignment = 1; // 0 left, 1 centred, 2 right
    std::string FontName = "Arial";
    double FontHeight = 8.0;
    std::uint8_t FontStyle = 0; // bit 0 bold, bit 1 italic, bit 2 underlined
    TColor FontColor = clBlack;
    double Angle = 0;
    bool Visible = false;

    void Assign(const TRSObject *source, bool withFrame);
    void SetKind(std::uint8_t kind) { Kind = kind; }
    bool ContainsPoint(double x, double y) const;

    // Sets X1, Y1, X2, Y2 and the derived frame values.
    void SetFrame(double x1, double y1, double x2, double y2);

    void LoadFromStream(TRSReader &stream, int version);
    void SaveToStream(TRSWriter &stream) const;
};

class TRSSpalte
{
  public:
    TRSSpalte(TRS *sheet, std::int32_t index);
    ~TRSSpalte();
    TRSSpalte(const TRSSpalte &) = delete;
    TRSSpalte &operator=(const TRSSpalte &) = delete;

    std::int32_t Index;
    TRS *Sheet;
    std::vector<std::unique_ptr<TRSObject>> Fields;
    double Width = 0, Height = 0, Left = 0, Top = 0;
    bool BackgroundOn = false;
    TColor BackgroundColor = clGreen;

    void BuildFields();
    void ClearFields();
    TRSObject *GetField(std::int32_t row) const;
    bool ContainsPoint(double x, double y) const;

    // Places the column from the sheet's layout (Width, Height, Left, Top).
    void PlaceFromSheet();
    // Computes every field's frame from the column and the sheet's spacing.
    void PlaceFields();

    void LoadFromStream(TRSReader &stream, int version);
    void SaveToStream(TRSWriter &stream) const;
};

class TRS
{
  public:
    TRS();
    ~TRS();
    TRS(const TRS &) = delete;
    TRS &operator=(const TRS &) = delete;

    bool GridBuilt = false;
    QString FileName;
    std::vector<std::unique_ptr<TRSSpalte>> Columns;
    std::int32_t ColumnCount = 0;
    std::int32_t RowCount = 0;
    TColor BackgroundColor = clYellow;
    double PageWidth = 0, PageHeight = 0;
    double MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    double ColumnGap = 0;
    double ColumnWidth = 0, ColumnHeight = 0;
    double FieldSpacing = 0;
    std::string UserName;
    std::string ComputerName;
    double Reserved1 = 0, Reserved2 = 0;
    bool Modified = false;
    TColor RowLineColor = clSilver;
    std::uint8_t RowLineStyle = 1;
    TColor ColumnLineColor = clSilver;
    std::uint8_t ColumnLineStyle = 1;

    void SetLayout(std::int32_t columns, std::int32_t rows, double pageWidth, double pageHeight,
                   double marginLeft, double marginRight, double marginTop, double marginBottom,
                   double columnGap, double fieldSpacing, TColor backgroundColor);
    void SetSpacing(double marginLeft, double marginRight, double marginTop, double marginBottom,
                    double columnGap, double fieldSpacing);
    void SetGrid(std::int32_t columns, std::int32_t rows);
    void BuildGrid();
    void ClearColumns();

    TRSSpalte *GetColumn(std::int32_t index) const;
    TRSObject *GetField(std::int32_t column, std::int32_t row) const;

    TRSSpalte *ColumnAtPoint(double x, double y) const;
    std::int32_t RowAtPoint(double x, double y) const;
    TRSObject *FieldAtPoint(double x, double y) const;
    void SetColumnVisible(bool visible, double x, double y);

    void ShiftColumns(bool toLeft);
    void ShiftRows(bool up);
    void CopyFirstColumn();

    void CopyFieldToAll(const TRSObject *source, bool withContent);
    void CopyFieldToColumn(const TRSObject *source, TRSSpalte *column);
    void CopyFieldToRow(const TRSObject *source, std::int32_t row);

    void Assign(const TRS &other);

    // Reads a label file. The sheet is only changed when the whole file was
    // read; *version receives the version number of the file's header. On
    // failure *error receives the German message for the user; on success it
    // is empty or holds a notice the user should still see (a picture that
    // could not be read, its field left empty).
    bool LoadFromFile(const QString &path, int *version = nullptr, QString *error = nullptr);
    // The same for the bytes of a label file already in memory; path names
    // the file in messages and becomes FileName.
    bool LoadFromBytes(const std::uint8_t *data, std::size_t size, const QString &path,
                       int *version = nullptr, QString *error = nullptr);
    // Writes the sheet as a version 4 label file; the file it replaces stays
    // intact unless everything was written. On failure *error receives the
    // German message, and the sheet (FileName, Modified) stays as it was.
    bool SaveToFile(const QString &path, QString *error = nullptr);

  private:
    void ComputeDerived();
    void CopyValuesFrom(const TRS &other);
    void TakeContentFrom(TRS &other);
    void PlaceColumnHorizontally(TRSSpalte &column, std::int32_t i);
};

// The version the writer puts into the header.
constexpr int kRsdVersion = 4;
constexpr std::size_t kMaxStringBytes = 255;
// The largest grid a label file may describe. A printed page holds far less;
// the limits keep a damaged or hostile file from building millions of fields
// (each takes some hundred bytes) and keep every product of counts and
// record sizes well inside 64 bits.
constexpr std::int32_t kMaxColumns = 32767;
constexpr std::int32_t kMaxRows = 32767;
constexpr std::int64_t kMaxFields = std::int64_t(1) << 20;
constexpr bool GridCountsAllowed(std::int32_t columns, std::int32_t rows)
{
    return columns >= 1 && rows >= 1 && columns <= kMaxColumns && rows <= kMaxRows &&
           std::int64_t(columns) * rows <= kMaxFields;
}
