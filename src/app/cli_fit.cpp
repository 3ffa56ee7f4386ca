// dorlix-cli fit FILE [OUT.rsd] (--all | --column N | --field COLUMN ROW):
// "Optimierte Textbreite" for every field, one column or one field, as the
// window's context menu runs it. The result replaces FILE (or is written to
// OUT.rsd) only when the whole file was written; a refused command writes
// nothing.
#include "cli.h"

#include "document/document.h"
#include "document/text_width.h"
#include "model/settings_places.h"
#include "platform/ini.h"

#include <QCommandLineParser>

#include <optional>

namespace
{

const char *const kUsage = "fit DATEI [AUSGABE.rsd] (--all | --column N | --field SPALTE REIHE)";

QString usageText()
{
    return QStringLiteral("Aufruf: dorlix-cli %1  (Spalten und Reihen gezählt ab 1; ohne AUSGABE.rsd "
                          "wird DATEI ersetzt)")
        .arg(QString::fromLatin1(kUsage));
}

// A column or row number as typed: counted from 1.
std::optional<int> parseCount(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 1 ? std::optional<int>(n) : std::nullopt;
}

// The line factor the window composes with, from its settings file; it
// decides how wide a turned text of several lines is.
double settingsLineFactor()
{
    constexpr double kDefault = 1.1;
    const QString path = SettingsFilePath();
    if (path.isEmpty())
        return kDefault;
    const platform::TIniFile ini(path);
    return ini.FileExists() ? ini.ReadFloat(QStringLiteral("ZeilenHoehe"), QStringLiteral("Wert"), kDefault)
                            : kDefault;
}

int fit(const QStringList &args)
{
    // --field takes two numbers; the parser takes one value per option, so
    // both go in as one.
    QStringList argv{QStringLiteral("fit")};
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--field") && i + 2 < args.size()) {
            argv << args[i] << args[i + 1] + QLatin1Char(' ') + args[i + 2];
            i += 2;
        } else {
            argv << args[i];
        }
    }
    QCommandLineParser parser;
    const QCommandLineOption all(QStringLiteral("all"));
    const QCommandLineOption column(QStringLiteral("column"), QString(), QStringLiteral("N"));
    const QCommandLineOption field(QStringLiteral("field"), QString(), QStringLiteral("SPALTE REIHE"));
    parser.addOptions({all, column, field});
    const QStringList files = parser.parse(argv) ? parser.positionalArguments() : QStringList();
    const int scopes = int(parser.isSet(all)) + int(parser.isSet(column)) + int(parser.isSet(field));
    if (files.isEmpty() || files.size() > 2 || scopes != 1) {
        CliError(usageText());
        return kCliFailed;
    }

    TTextFitScope scope = TTextFitScope::Sheet;
    TFieldPos pos;
    if (parser.isSet(column)) {
        const std::optional<int> c = parseCount(parser.value(column));
        if (!c) {
            CliError(QStringLiteral("Ungültige Spalte: \"%1\" (Spalten werden ab 1 gezählt)")
                         .arg(parser.value(column)));
            return kCliFailed;
        }
        scope = TTextFitScope::Column;
        pos.column = *c - 1;
    } else if (parser.isSet(field)) {
        const QStringList numbers = parser.value(field).split(QLatin1Char(' '));
        const std::optional<int> c = parseCount(numbers.value(0)), r = parseCount(numbers.value(1));
        if (numbers.size() != 2 || !c || !r) {
            CliError(QStringLiteral("Ungültiges Feld: \"%1\" (erwartet: --field SPALTE REIHE, gezählt ab 1)")
                         .arg(parser.value(field)));
            return kCliFailed;
        }
        scope = TTextFitScope::Field;
        pos = {*c - 1, *r - 1};
    }

    // The page asks the printer once; whatever it has to say goes to
    // standard error.
    CliStderrMessages messages;
    TDocument document;
    if (!CliLoadSheet(document.Sheet(), files[0], nullptr))
        return kCliFailed;
    const TRS &sheet = document.Sheet();
    if (scope != TTextFitScope::Sheet && pos.column >= sheet.ColumnCount) {
        CliError(QStringLiteral("Die Spalte %1 gibt es nicht: der Bogen hat %2 Spalten.")
                     .arg(pos.column + 1)
                     .arg(sheet.ColumnCount));
        return kCliFailed;
    }
    if (scope == TTextFitScope::Field && pos.row >= sheet.RowCount) {
        CliError(QStringLiteral("Die Reihe %1 gibt es nicht: der Bogen hat %2 Reihen.")
                     .arg(pos.row + 1)
                     .arg(sheet.RowCount));
        return kCliFailed;
    }

    document.LineFactor = settingsLineFactor();
    document.Commit(false);
    if (scope == TTextFitScope::Field && !OwnTextWidth(document, pos.column, pos.row)) {
        CliError(QStringLiteral("Das Feld in Spalte %1, Reihe %2 zeigt keinen Text; die Datei bleibt "
                                "unverändert.")
                     .arg(pos.column + 1)
                     .arg(pos.row + 1));
        return kCliFailed;
    }
    FitTextWidths(document, scope, pos);

    const QString out = files.value(1, files[0]);
    if (!CliSaveSheet(document.Sheet(), out))
        return kCliFailed;
    return kCliOk;
}

const CliRegistration fitCommand("fit", kUsage, &fit, true);

} // namespace
