#include "dialogs/rsneu_values.h"

#include <QLocale>

#include <cmath>

const std::vector<TRSPreset> &RSPresets()
{
    static const std::vector<TRSPreset> presets = [] {
        auto preset = [](const char *name, double w, double h, std::uint8_t orientation, double lr, double tb,
                         double spacing, std::int32_t columns, std::int32_t rows) {
            TRSPreset p;
            p.Name = QString::fromUtf8(name);
            p.PageWidth = w;
            p.PageHeight = h;
            p.Orientation = orientation;
            p.MarginLeft = p.MarginRight = lr;
            p.MarginTop = p.MarginBottom = tb;
            p.ColumnGap = 0;
            p.FieldSpacing = spacing;
            p.LineFactor = 1.0;
            p.Columns = columns;
            p.Rows = rows;
            return p;
        };
        return std::vector<TRSPreset>{
            preset(" Ordnerrücken Breit (61/192 mm, 4 Spalten mit je 6 Reihen, DIN-A4-Quer)", 297, 210, 1, 26,
                   9, 4, 4, 6),
            preset(" Ordnerrücken Breit (61/192 mm, 4 Spalten mit je 1 Reihe, DIN-A4-Quer)", 297, 210, 1, 26,
                   9, 4, 4, 1),
            preset(" Ordnerrücken Schmal (38/192 mm, 7 Spalten mit je 6 Reihen, DIN-A4-Quer)", 297, 210, 1,
                   15.5, 9, 4, 7, 6),
            preset(" Ordnerrücken Schmal (38/192 mm, 7 Spalten mit je 1 Reihe, DIN-A4-Quer)", 297, 210, 1,
                   15.5, 9, 4, 7, 1),
            preset(" Etiketten (3 × 8 Felder, mit je 70×36 mm Größe, DIN-A4-Hoch)", 210, 297, 0, 0, 4.5, 2, 3,
                   8),
            preset(" Etiketten (5 × 13 Felder, mit je 38×21,2 mm Größe, DIN-A4-Hoch)", 210, 297, 0, 10, 10.7,
                   1, 5, 13),
            preset(" Etiketten (3 × 7 Felder, mit je 64×36 mm Größe, DIN-A4-Hoch)", 210, 297, 0, 9, 22.5, 1,
                   3, 7),
        };
    }();
    return presets;
}

TRSPreset PresetFromLabelProduct(const TLabelProduct &product, double lineFactor)
{
    TRSPreset p;
    p.Name = (product.Vendor + QLatin1Char(' ') + product.Part).left(255);
    p.PageWidth = product.PageWidth;
    p.PageHeight = product.PageHeight;
    p.Orientation = product.PageWidth > product.PageHeight ? 1 : 0;
    p.MarginLeft = product.MarginLeft;
    p.MarginRight = product.MarginRight;
    p.MarginTop = product.MarginTop;
    p.MarginBottom = product.MarginBottom;
    p.ColumnGap = product.ColumnGap;
    p.FieldSpacing = product.FieldSpacing;
    p.LineFactor = lineFactor;
    p.Columns = product.Columns;
    p.Rows = product.Rows;
    return p;
}

double LayoutColumnWidth(const TRSLayoutValues &v)
{
    return (v.PageWidth - v.MarginLeft - v.MarginRight - v.ColumnGap * (v.Columns - 1)) / v.Columns;
}

double LayoutRowHeight(const TRSLayoutValues &v)
{
    return (v.PageHeight - v.MarginTop - v.MarginBottom) / v.Rows;
}

QString FormatMeasure(double v)
{
    // QLocale writes group separators unless told otherwise.
    return QLocale().toString(v, 'f', 2);
}

namespace
{
QString mm(double v)
{
    return FormatMeasure(v) + QStringLiteral(" mm");
}
} // namespace

double LeastTopBottomMargin(double fieldSpacing)
{
    return std::isfinite(fieldSpacing) && fieldSpacing > 0 ? -1.5 * fieldSpacing : 0.0;
}

QString LayoutProblem(const TRSLayoutValues &v)
{
    struct Named {
        const char *name;
        double value;
        double least = 0;
    };
    // The top and bottom margin may be negative down to where the first
    // field begins at the page edge.
    const double least = LeastTopBottomMargin(v.FieldSpacing);
    const Named measures[] = {
        {"Seitenbreite", v.PageWidth},         {"Seitenhöhe", v.PageHeight},
        {"Rand links", v.MarginLeft},          {"Rand rechts", v.MarginRight},
        {"Rand oben", v.MarginTop, least},     {"Rand unten", v.MarginBottom, least},
        {"Spaltenabstand", v.ColumnGap},       {"Zwischenabstand", v.FieldSpacing},
        {"Faktor der Texthöhe", v.LineFactor},
    };
    for (const Named &m : measures) {
        if (!std::isfinite(m.value))
            return QStringLiteral("Der Wert für „%1“ ist keine Zahl.").arg(QString::fromUtf8(m.name));
        if (m.value < 0 && m.least < 0 && m.value < m.least - 1e-9)
            return QStringLiteral("Der Wert für „%1“ darf nicht kleiner als %2 sein, das −1,5-fache "
                                  "des Zwischenabstands (%3).")
                .arg(QString::fromUtf8(m.name), mm(m.least), mm(m.value));
        if (m.value < 0 && m.least == 0)
            return QStringLiteral("Der Wert für „%1“ darf nicht negativ sein (%2).")
                .arg(QString::fromUtf8(m.name), FormatMeasure(m.value));
        if (m.value > kMaxSheetMeasure)
            return QStringLiteral("Der Wert für „%1“ ist mit %2 zu groß (höchstens %3).")
                .arg(QString::fromUtf8(m.name), mm(m.value), mm(kMaxSheetMeasure));
    }
    if (v.LineFactor <= 0)
        return QStringLiteral("Der Faktor der Texthöhe für den Zeilenabstand muss größer als 0 sein.");
    if (v.PageWidth <= 0)
        return QStringLiteral("Die Seitenbreite muss größer als 0 mm sein.");
    if (v.PageHeight <= 0)
        return QStringLiteral("Die Seitenhöhe muss größer als 0 mm sein.");
    if (v.Columns < 1)
        return QStringLiteral("Die Anzahl der Spalten muss mindestens 1 sein.");
    if (v.Rows < 1)
        return QStringLiteral("Die Anzahl der Reihen muss mindestens 1 sein.");
    const std::int64_t fields = std::int64_t(v.Columns) * std::int64_t(v.Rows);
    if (fields > kMaxSheetFields)
        return QStringLiteral("%1 Spalten mit je %2 Reihen ergäben %3 Felder.\r\n"
                              "Ein Rückenschild kann höchstens %4 Felder aufnehmen.")
            .arg(v.Columns)
            .arg(v.Rows)
            .arg(QLocale().toString(fields), QLocale().toString(kMaxSheetFields));

    const double columnWidth = LayoutColumnWidth(v);
    if (!(columnWidth > 0))
        return QStringLiteral("Die Spaltenbreite wäre %1 und damit nicht größer als 0:\r\n"
                              "Rand links (%2), Rand rechts (%3) und %4 × Spaltenabstand (%5)\r\n"
                              "lassen auf der Seitenbreite von %6 keinen Platz für %7 Spalten.")
            .arg(mm(columnWidth), mm(v.MarginLeft), mm(v.MarginRight))
            .arg(v.Columns - 1)
            .arg(mm(v.ColumnGap), mm(v.PageWidth))
            .arg(v.Columns);
    const double rowHeight = LayoutRowHeight(v);
    if (!(rowHeight > 0))
        return QStringLiteral("Die Reihenhöhe wäre %1 und damit nicht größer als 0:\r\n"
                              "Rand oben (%2) und Rand unten (%3) lassen auf der\r\n"
                              "Seitenhöhe von %4 keinen Platz für die Reihen.")
            .arg(mm(rowHeight), mm(v.MarginTop), mm(v.MarginBottom), mm(v.PageHeight));

    // The fields sit inside the column with the spacing around and between
    // them: each is the column width less two spacings wide, and a row's
    // share of the column height less two spacings, less one more, high.
    const double s = v.FieldSpacing;
    const double fieldWidth = columnWidth - 2 * s;
    const double fieldHeight = (v.PageHeight - v.MarginTop - v.MarginBottom - 2 * s) / v.Rows - s;
    if (!(fieldWidth > 0))
        return QStringLiteral("Der Zwischenabstand von %1 ist zu groß:\r\n"
                              "in einer Spalte von %2 Breite bleibt für die Felder kein Platz.")
            .arg(mm(s), mm(columnWidth));
    if (!(fieldHeight > 0))
        return QStringLiteral("Der Zwischenabstand von %1 ist zu groß:\r\n"
                              "bei %2 Reihen und einer Spaltenhöhe von %3 bleibt für die Felder kein Platz.")
            .arg(mm(s))
            .arg(v.Rows)
            .arg(mm(v.PageHeight - v.MarginTop - v.MarginBottom));
    return QString();
}
