#include "document/print_job.h"

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

} // namespace

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
    TSheetPages pages(sheet, settings, options);
    return PrintPages(pages, PrinterPageFor(sheet).setup, options.Copies, PrintCopyTitle,
                      options.SmoothPictures, error);
}

bool PrintCalibrationPage(int copies, QString *error)
{
    TCalibrationPages page;
    return PrintPages(
        page, platform::ReadPrinterPage(QPageLayout::Portrait).setup, copies,
        [](int) { return CalibrationTitle(); }, false, error);
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
