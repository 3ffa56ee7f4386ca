#include "document/print_job.h"

#include "canvas/dpage.h"
#include "canvas/tcolor.h"
#include "document/calibration.h"
#include "model/rs.h"
#include "platform/ini.h"
#include "platform/printer.h"

#include <algorithm>
#include <cmath>

namespace
{
const QString kSectionH = QStringLiteral("DruckVH");
const QString kSectionV = QStringLiteral("DruckVV");

double clampShift(double v)
{
    return std::isfinite(v) ? std::clamp(v, kPrintMinShift, kPrintMaxShift) : 0.0;
}

// Nothing can be printed without a printer, unless documents go to a file.
bool canPrint(QString *error)
{
    platform::Printer &printer = platform::Printer::Instance();
    if (printer.HasPrinter() || !printer.PdfOutput().isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("Es ist kein Drucker eingerichtet. Bitte richten Sie einen Drucker ein.");
    return false;
}

QString handOverError()
{
    return QStringLiteral("Der Druckauftrag konnte nicht an den Drucker \"%1\" übergeben werden.")
        .arg(platform::Printer::Instance().PrinterName());
}
} // namespace

std::vector<QLineF> CutLines(const TRS &sheet, double pageWidthMm, double pageHeightMm)
{
    std::vector<QLineF> lines;
    if (sheet.ColumnCount <= 0 || sheet.RowCount <= 0)
        return lines;
    const TRSSpalte *last = nullptr;
    for (std::int32_t i = 0; i < sheet.ColumnCount; ++i) {
        const TRSSpalte *column = sheet.GetColumn(i);
        if (!column)
            continue;
        lines.emplace_back(column->Left, 0.0, column->Left, pageHeightMm);
        last = column;
    }
    if (!last)
        return lines;
    lines.emplace_back(last->Left + last->Width, 0.0, last->Left + last->Width, pageHeightMm);
    const double pitch = last->Height / sheet.RowCount;
    for (std::int32_t j = 0; j < sheet.RowCount; ++j)
        lines.emplace_back(0.0, last->Top + j * pitch, pageWidthMm, last->Top + j * pitch);
    lines.emplace_back(0.0, last->Top + last->Height, pageWidthMm, last->Top + last->Height);
    return lines;
}

void AddCutLines(const TRS &sheet, canvas::TDPage &page, double pageWidthMm, double pageHeightMm)
{
    page.SetLineStyle(0, clBlack, 0.1);
    for (const QLineF &l : CutLines(sheet, pageWidthMm, pageHeightMm))
        page.AddLine(l.x1(), l.y1(), l.x2(), l.y2());
}

void ComposePrintPage(const TRS &sheet, canvas::TDPage &page, const TComposeSettings &settings,
                      const TPrintOptions &options, bool withShift)
{
    const QPageLayout::Orientation wanted = canvas::OrientationFor(sheet.PageWidth, sheet.PageHeight);
    platform::Printer::Instance().SetOrientation(wanted);
    // The page is read again only when it lies the other way round, so that a
    // printer that answers oddly is reported once, not at every refresh.
    if (canvas::OrientationFor(page.PageWidthMm(), page.PageHeightMm()) != wanted)
        page.ReadPrinterMetrics();
    // Composed without shift; setting it afterwards moves what the content
    // page holds, cut lines included.
    page.SetOffsetX(0);
    page.SetOffsetY(0);
    ComposeSheet(sheet, page, settings); // leaves the content page current
    page.SetSeite0Ausgabe(options.Background);
    page.SetPageInfosShown(false);
    if (options.CutLines)
        AddCutLines(sheet, page, page.PageWidthMm(), page.PageHeightMm());
    if (withShift) {
        page.SetOffsetX(options.ShiftX);
        page.SetOffsetY(options.ShiftY);
    }
}

QString PrintCopyTitle(int copy)
{
    return QStringLiteral("Rückenschild (%1 Kopie)").arg(copy);
}

QString CalibrationTitle()
{
    return QStringLiteral("Testseite zum Ausmessen");
}

bool PrintSheet(const TRS &sheet, const TComposeSettings &settings, const TPrintOptions &options,
                QString *error)
{
    if (!canPrint(error))
        return false;
    platform::Printer::Instance().SetOrientation(canvas::OrientationFor(sheet.PageWidth, sheet.PageHeight));
    canvas::TDPage page; // the printer's page in that orientation
    ComposePrintPage(sheet, page, settings, options, true);
    for (int i = 1; i <= options.Copies; ++i) {
        if (!page.PrintPage(1, PrintCopyTitle(i), options.SmoothPictures)) {
            if (error)
                *error = handOverError();
            return false;
        }
    }
    return true;
}

bool PrintCalibrationPage(int copies, QString *error)
{
    if (!canPrint(error))
        return false;
    platform::Printer::Instance().SetOrientation(QPageLayout::Portrait);
    canvas::TDPage page;
    page.SetPageInfosShown(false);
    AddCalibrationPage(page, page.PageWidthMm(), page.PageHeightMm());
    for (int i = 1; i <= copies; ++i) {
        if (!page.PrintPage(1, CalibrationTitle())) {
            if (error)
                *error = handOverError();
            return false;
        }
    }
    return true;
}

TRememberedShift ReadRememberedShift(const QString &iniPath, const QString &printer)
{
    const platform::TIniFile ini(iniPath);
    return TRememberedShift{clampShift(ini.ReadFloat(kSectionH, printer, 0)),
                            clampShift(ini.ReadFloat(kSectionV, printer, 0))};
}

void WriteRememberedShift(const QString &iniPath, const QString &printer, const TRememberedShift &shift)
{
    platform::TIniFile ini(iniPath);
    ini.WriteFloat(kSectionH, printer, shift.x);
    ini.WriteFloat(kSectionV, printer, shift.y);
}
