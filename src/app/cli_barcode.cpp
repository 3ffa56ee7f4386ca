// dorlix-cli barcode FILE COLUMN ROW KIND DATA [OUT.rsd] [--no-text]
// [--colour RRGGBB]: turns one field into a barcode or QR code and writes the
// sheet, to OUT or in place. The
// file is written only when the code could be made, and then through the
// label file writer, which replaces the target only when all was written.
#include "cli.h"

#include "canvas/colours.h"
#include "model/barcode.h"
#include "model/rs.h"

#include <QCommandLineParser>

namespace
{

const char *const kUsage = "barcode DATEI SPALTE REIHE ART DATEN [AUSGABE.rsd] [--no-text] [--colour RRGGBB]";

QString kindList()
{
    QStringList names;
    for (const TBarcodeKindInfo &info : BarcodeKinds())
        names << QLatin1String(info.cliName);
    return names.join(QStringLiteral(", "));
}

int barcode(const QStringList &args)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("DATEI"), QStringLiteral("der Bogen"));
    parser.addPositionalArgument(QStringLiteral("SPALTE"), QStringLiteral("Spalte des Feldes, ab 1"));
    parser.addPositionalArgument(QStringLiteral("REIHE"), QStringLiteral("Reihe des Feldes, ab 1"));
    parser.addPositionalArgument(QStringLiteral("ART"), kindList());
    parser.addPositionalArgument(QStringLiteral("DATEN"), QStringLiteral("der Inhalt des Codes"));
    parser.addPositionalArgument(QStringLiteral("AUSGABE"),
                                 QStringLiteral("wohin der Bogen geschrieben wird"),
                                 QStringLiteral("[AUSGABE.rsd]"));
    const QCommandLineOption noText(QStringLiteral("no-text"),
                                    QStringLiteral("ohne Klarschrift unter dem Code"));
    const QCommandLineOption colour(QStringLiteral("colour"), QStringLiteral("Farbe des Codes"),
                                    QStringLiteral("RRGGBB"));
    parser.addOption(noText);
    parser.addOption(colour);
    if (!parser.parse(QStringList{QStringLiteral("dorlix-cli")} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        CliError(
            unknown.isEmpty()
                ? QStringLiteral("Aufruf: dorlix-cli %1").arg(QLatin1String(kUsage))
                : QStringLiteral("Unbekannte Option: %1 (Daten, die mit \"-\" beginnen, folgen nach \"--\").")
                      .arg(unknown.first()));
        return kCliFailed;
    }
    const QStringList pos = parser.positionalArguments();
    if (pos.size() < 5 || pos.size() > 6) {
        CliError(QStringLiteral("Aufruf: dorlix-cli %1").arg(QLatin1String(kUsage)));
        return kCliFailed;
    }
    const QString &in = pos[0];
    const QString out = pos.size() == 6 ? pos[5] : in;

    bool columnOk = false, rowOk = false;
    const int column = pos[1].toInt(&columnOk), row = pos[2].toInt(&rowOk);
    if (!columnOk || !rowOk || column < 1 || row < 1) {
        CliError(QStringLiteral(
                     "Spalte und Reihe werden ab 1 gezählt: \"%1\" und \"%2\" sind keine solchen Zahlen.")
                     .arg(pos[1], pos[2]));
        return kCliFailed;
    }
    const std::optional<TBarcodeKind> kind = BarcodeKindFromCliName(pos[3]);
    if (!kind) {
        CliError(
            QStringLiteral("Unbekannte Art von Code: \"%1\" (möglich sind %2).").arg(pos[3], kindList()));
        return kCliFailed;
    }

    TRS sheet;
    if (!CliLoadSheet(sheet, in, nullptr))
        return kCliFailed;
    TRSObject *field = sheet.GetField(column - 1, row - 1);
    if (!field) {
        CliError(QStringLiteral("Ein Feld in Spalte %1, Reihe %2 gibt es nicht: der Bogen hat %3 Spalten und "
                                "%4 Reihen.")
                     .arg(column)
                     .arg(row)
                     .arg(sheet.ColumnCount)
                     .arg(sheet.RowCount));
        return kCliFailed;
    }
    TBarcodeSettings settings;
    settings.kind = *kind;
    settings.data = pos[4];
    if (const TBarcodeSettings *before = FieldBarcode(*field)) {
        settings.humanReadable = before->humanReadable; // a code made again keeps its look
        settings.colour = before->colour;
    }
    if (parser.isSet(noText))
        settings.humanReadable = false;
    if (parser.isSet(colour)) {
        const std::optional<std::uint32_t> html = colours::HexToColor(parser.value(colour));
        if (!html) {
            CliError(QStringLiteral("Ungültige Farbe: \"%1\" (erwartet sind sechs Hexziffern RRGGBB).")
                         .arg(parser.value(colour)));
            return kCliFailed;
        }
        settings.colour = colours::HtmlValueToColor(*html);
    }
    QString error;
    if (!SetFieldBarcode(*field, settings, &error)) {
        CliError(error);
        return kCliFailed;
    }

    return CliSaveSheet(sheet, out) ? kCliOk : kCliFailed;
}

const CliRegistration barcodeCommand("barcode", kUsage, &barcode);

} // namespace
