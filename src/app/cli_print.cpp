// dorlix-cli print FILE [options] and dorlix-cli print --calibration: prints
// through the print system exactly what the window's print command prints,
// after the same printer status check.
#include "cli.h"
#include "cli_merge.h"

#include "document/merge_pages.h"
#include "document/print_job.h"
#include "document/settings.h"
#include "model/rs.h"
#include "platform/printer.h"
#include "platform/printer_status.h"

#include <QCommandLineParser>

#include <cmath>

namespace
{

const char *const kUsage =
    "print DATEI [--printer NAME] [--copies N] [--background] [--cutlines] [--shift-x MM] [--shift-y MM] "
    "[--force] [(--data LISTE | --count N [--first K]) [--start N] [--order zeilen|spalten] [--fit]] | print "
    "--calibration [--printer NAME] [--copies N] [--force]  (druckt die Testseite zum "
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
    CliMergeOptions merge;
};

// False after a message on standard error.
bool parseArgs(const QStringList &args, PrintArgs *a)
{
    QCommandLineParser parser;
    const QCommandLineOption background(QStringLiteral("background"));
    const QCommandLineOption cutLines(QStringLiteral("cutlines"));
    const QCommandLineOption force(QStringLiteral("force"));
    const QCommandLineOption calibration(QStringLiteral("calibration"));
    const QCommandLineOption printer(QStringLiteral("printer"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption copies(QStringLiteral("copies"), QString(), QStringLiteral("N"));
    const QCommandLineOption shiftX(QStringLiteral("shift-x"), QString(), QStringLiteral("MM"));
    const QCommandLineOption shiftY(QStringLiteral("shift-y"), QString(), QStringLiteral("MM"));
    parser.addOptions({background, cutLines, force, calibration, printer, copies, shiftX, shiftY});
    a->merge.AddTo(parser);
    QString unknown, missing;
    if (!CliParse(parser, args, &unknown, &missing)) {
        if (!unknown.isEmpty())
            CliError(QStringLiteral("Unbekannte Option: %1").arg(unknown));
        else
            CliError(QStringLiteral("Zur Option %1 fehlt der Wert.").arg(missing));
        return false;
    }
    if (!a->merge.Read(parser))
        return false;
    a->options.Background = parser.isSet(background);
    a->options.CutLines = parser.isSet(cutLines);
    a->force = parser.isSet(force);
    a->calibration = parser.isSet(calibration);
    if (parser.isSet(printer)) {
        a->printer = parser.values(printer).back();
        if (a->printer.isEmpty()) {
            CliError(QStringLiteral("Bitte geben Sie nach --printer den Namen eines Druckers an."));
            return false;
        }
    }
    if (parser.isSet(copies)) {
        const QString v = parser.values(copies).back();
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
    }
    for (const QCommandLineOption *shift : {&shiftX, &shiftY}) {
        if (!parser.isSet(*shift))
            continue;
        const QString v = parser.values(*shift).back();
        double mm = 0;
        if (!parseNumber(v, &mm) || mm < kPrintMinShift || mm > kPrintMaxShift) {
            CliError(QStringLiteral("Ungültige Blattverschiebung: \"%1\" (erlaubt sind %2 bis %3 mm).")
                         .arg(v)
                         .arg(kPrintMinShift)
                         .arg(kPrintMaxShift));
            return false;
        }
        if (shift == &shiftX) {
            a->options.ShiftX = mm;
            a->shiftXGiven = true;
        } else {
            a->options.ShiftY = mm;
            a->shiftYGiven = true;
        }
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() == 1)
        a->file = files[0];
    if (files.size() > 1 || a->calibration == !a->file.isEmpty()) {
        CliError(QStringLiteral("Aufruf: dorlix-cli %1").arg(QString::fromUtf8(kUsage)));
        return false;
    }
    if (a->calibration &&
        (a->options.Background || a->options.CutLines || a->shiftXGiven || a->shiftYGiven)) {
        CliError(QStringLiteral("Die Testseite zum Ausmessen wird ohne Hintergrund, Schnittlinien und "
                                "Blattverschiebung gedruckt."));
        return false;
    }
    if (a->calibration && a->merge.Wanted()) {
        CliError(QStringLiteral("Die Testseite zum Ausmessen wird ohne Liste gedruckt."));
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
    // A list that does not fit the sheet is refused before anything is printed.
    if (a.merge.Wanted() && !a.merge.Prepare(sheet))
        return kCliFailed;
    if (!choosePrinter(a.printer))
        return kCliFailed;
    platform::Printer &printer = platform::Printer::Instance();

    const TComposeSettings settings = ReadProgramSettings().Compose();
    const QString iniPath = SettingsPath();
    if (!a.calibration && !iniPath.isEmpty()) {
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
    bool printed = false;
    if (a.calibration) {
        printed = PrintCalibrationPage(a.options.Copies, &error);
    } else if (a.merge.Wanted()) {
        TMergePages pages(a.merge.Merge(), settings, a.options);
        printed = PrintPages(pages, PrinterPageFor(sheet).setup, a.options.Copies, PrintCopyTitle,
                             a.options.SmoothPictures, &error);
    } else {
        printed = PrintSheet(sheet, settings, a.options, &error);
    }
    if (!printed) {
        CliError(error);
        return kCliFailed;
    }
    return kCliOk;
}

const CliRegistration printCommand("print", kUsage, &print, true);

} // namespace
