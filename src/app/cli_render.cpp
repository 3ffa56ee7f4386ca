// dorlix-cli render FILE OUT.png [--dpi N] [--no-background]: the page of a
// label file as the window shows and prints it (with the settings of the
// program folder), drawn into a bitmap through the output path.
#include "cli.h"

#include "document/output.h"
#include "document/settings.h"
#include "model/rs.h"

#include <QCommandLineParser>

namespace
{

const char *const kUsage = "render DATEI AUSGABE.png [--dpi N] [--no-background]";

int render(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption dpiOption(QStringLiteral("dpi"), QString(), QStringLiteral("N"));
    const QCommandLineOption noBackground(QStringLiteral("no-background"));
    parser.addOptions({dpiOption, noBackground});
    QString unknown, missing;
    const bool parsed = CliParse(parser, args, &unknown, &missing);
    if (!parsed || parser.positionalArguments().size() != 2) {
        CliError(QStringLiteral("Aufruf: dorlix-cli %1").arg(QString::fromLatin1(kUsage)));
        return kCliFailed;
    }
    int dpi = 150;
    if (parser.isSet(dpiOption)) {
        const QString given = parser.values(dpiOption).back();
        bool ok = false;
        dpi = given.toInt(&ok);
        if (!ok || dpi < 10 || dpi > 1200) {
            CliError(QStringLiteral("Ungültige Auflösung: %1 (erlaubt sind 10 bis 1200 dpi)").arg(given));
            return kCliFailed;
        }
    }
    const QString in = parser.positionalArguments()[0];
    const QString out = parser.positionalArguments()[1];

    TRS sheet;
    if (!CliLoadSheet(sheet, in, nullptr))
        return kCliFailed;

    // The page the window shows for the sheet: the printer's, turned to it.
    platform::Printer::Instance().Refresh();
    const platform::PrinterPage page = PrinterPageFor(sheet);
    if (!page.message.isEmpty())
        CliError(page.message);
    TPrintOptions options;
    options.Background = !parser.isSet(noBackground);
    TSheetPages pages(sheet, ReadProgramSettings().Compose(), options, false);
    QString error;
    if (!WritePng(pages, page.setup, dpi, out, &error)) {
        CliError(error);
        return kCliFailed;
    }
    return kCliOk;
}

const CliRegistration renderCommand("render", kUsage, &render, true);

} // namespace
