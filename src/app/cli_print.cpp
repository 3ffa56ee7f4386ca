// dorlix-cli print FILE [options] and dorlix-cli print --calibration: prints
// through the print system exactly what the window's print command prints,
// after the same printer status check.
#include "cli.h"

#include "document/print_job.h"
#include "model/rs.h"
#include "model/settings_places.h"
#include "platform/ini.h"
#include "platform/printer.h"
#include "platform/printer_status.h"

#include <QFileInfo>

#include <cmath>

namespace
{

const char *const kUsage =
    "print DATEI [--printer NAME] [--copies N] [--background] [--cutlines] [--shift-x MM] [--shift-y MM] "
    "[--force] | print --calibration [--printer NAME] [--copies N] [--force]  (druckt die Testseite zum "
    "Ausmessen ohne Blattverschiebung; ohne --printer auf dem Standarddrucker; --force druckt auch, wenn "
    "der Drucker eine Störung meldet; die für den Drucker gemerkte Blattverschiebung gilt, wenn keine "
    "angegeben ist)";

// A number as the user types it, with a decimal point or comma.
bool parseNumber(const QString &text, double *out)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

struct PrintArgs {
    QString file;
    QString printer;
    bool calibration = false;
    bool force = false;
    bool shiftXGiven = false, shiftYGiven = false;
    TPrintOptions options;
};

// False after a message on standard error.
bool parseArgs(const QStringList &args, PrintArgs *a)
{
    auto value = [&](int &i, const QString &option, QString *out) {
        if (i + 1 >= args.size()) {
            CliError(QStringLiteral("Zur Option %1 fehlt der Wert.").arg(option));
            return false;
        }
        *out = args[++i];
        return true;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        QString v;
        if (arg == QLatin1String("--background")) {
            a->options.Background = true;
        } else if (arg == QLatin1String("--cutlines")) {
            a->options.CutLines = true;
        } else if (arg == QLatin1String("--force")) {
            a->force = true;
        } else if (arg == QLatin1String("--calibration")) {
            a->calibration = true;
        } else if (arg == QLatin1String("--printer")) {
            if (!value(i, arg, &a->printer))
                return false;
            if (a->printer.isEmpty()) {
                CliError(QStringLiteral("Bitte geben Sie nach --printer den Namen eines Druckers an."));
                return false;
            }
        } else if (arg == QLatin1String("--copies")) {
            if (!value(i, arg, &v))
                return false;
            bool ok = false;
            const int n = v.trimmed().toInt(&ok);
            if (!ok || n < kPrintMinCopies || n > kPrintMaxCopies) {
                CliError(QStringLiteral("Ungültige Anzahl der Kopien: \"%1\" (erlaubt sind %2 bis %3).")
                             .arg(v)
                             .arg(kPrintMinCopies)
                             .arg(kPrintMaxCopies));
                return false;
            }
            a->options.Copies = n;
        } else if (arg == QLatin1String("--shift-x") || arg == QLatin1String("--shift-y")) {
            if (!value(i, arg, &v))
                return false;
            double mm = 0;
            if (!parseNumber(v, &mm) || mm < kPrintMinShift || mm > kPrintMaxShift) {
                CliError(QStringLiteral("Ungültige Blattverschiebung: \"%1\" (erlaubt sind %2 bis %3 mm).")
                             .arg(v)
                             .arg(kPrintMinShift)
                             .arg(kPrintMaxShift));
                return false;
            }
            if (arg == QLatin1String("--shift-x")) {
                a->options.ShiftX = mm;
                a->shiftXGiven = true;
            } else {
                a->options.ShiftY = mm;
                a->shiftYGiven = true;
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            CliError(QStringLiteral("Unbekannte Option: %1").arg(arg));
            return false;
        } else if (a->file.isEmpty()) {
            a->file = arg;
        } else {
            CliError(QStringLiteral("Aufruf: dorlix-cli %1").arg(QString::fromUtf8(kUsage)));
            return false;
        }
    }
    if (a->calibration == !a->file.isEmpty()) {
        CliError(QStringLiteral("Aufruf: dorlix-cli %1").arg(QString::fromUtf8(kUsage)));
        return false;
    }
    if (a->calibration &&
        (a->options.Background || a->options.CutLines || a->shiftXGiven || a->shiftYGiven)) {
        CliError(QStringLiteral("Die Testseite zum Ausmessen wird ohne Hintergrund, Schnittlinien und "
                                "Blattverschiebung gedruckt."));
        return false;
    }
    return true;
}

// Makes the wanted printer current; false after a message.
bool choosePrinter(const QString &name)
{
    platform::Printer &printer = platform::Printer::Instance();
    if (!name.isEmpty()) {
        if (!printer.SetPrinterName(name)) {
            CliError(QStringLiteral("Der Drucker \"%1\" ist nicht bekannt.").arg(name));
            return false;
        }
        return true;
    }
    if (!printer.HasPrinter()) {
        CliError(QStringLiteral("Es ist kein Drucker eingerichtet. Bitte richten Sie einen Drucker ein "
                                "oder geben Sie ihn mit --printer NAME an."));
        return false;
    }
    return true;
}

int print(const QStringList &args)
{
    // Whatever the program would show in a message box goes to standard error.
    CliStderrMessages messages;
    PrintArgs a;
    if (!parseArgs(args, &a))
        return kCliFailed;

    TRS sheet;
    if (!a.calibration && !CliLoadSheet(sheet, a.file, nullptr))
        return kCliFailed;
    if (!choosePrinter(a.printer))
        return kCliFailed;
    platform::Printer &printer = platform::Printer::Instance();

    TComposeSettings settings;
    const QString iniPath = SettingsFilePath();
    if (!a.calibration && !iniPath.isEmpty()) {
        const platform::TIniFile ini(iniPath);
        if (ini.FileExists())
            settings.LineFactor = ini.ReadFloat(QStringLiteral("ZeilenHoehe"), QStringLiteral("Wert"), 1.1);
        // The shift kept for this printer, as the print dialog offers it.
        const TRememberedShift kept = ReadRememberedShift(iniPath, printer.PrinterName());
        if (!a.shiftXGiven)
            a.options.ShiftX = kept.x;
        if (!a.shiftYGiven)
            a.options.ShiftY = kept.y;
    }

    const QString status = platform::StatusQuestionText(printer.Status());
    if (!status.isEmpty() && !a.force) {
        CliError(QStringLiteral("Der Drucker meldet : ") + status +
                 QStringLiteral("\nEs wurde nichts gedruckt (mit --force wird dennoch gedruckt)."));
        return kCliFailed;
    }

    QString error;
    const bool printed = a.calibration ? PrintCalibrationPage(a.options.Copies, &error)
                                       : PrintSheet(sheet, settings, a.options, &error);
    if (!printed) {
        CliError(error);
        return kCliFailed;
    }
    return kCliOk;
}

const CliRegistration printCommand("print", kUsage, &print, true);

} // namespace
