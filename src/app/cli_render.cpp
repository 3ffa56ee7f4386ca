// dorlix-cli render FILE OUT.png [--dpi N] [--no-background]: the page of a
// label file as the window shows and prints it, drawn into a bitmap.
#include "cli.h"

#include "document/compose.h"
#include "model/rs.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace
{

int render(const QStringList &args)
{
    QString in, out;
    int dpi = 150;
    bool background = true;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--dpi") && i + 1 < args.size()) {
            bool ok = false;
            dpi = args[++i].toInt(&ok);
            if (!ok || dpi < 10 || dpi > 1200) {
                CliError(
                    QStringLiteral("Ungültige Auflösung: %1 (erlaubt sind 10 bis 1200 dpi)").arg(args[i]));
                return kCliFailed;
            }
        } else if (a == QLatin1String("--no-background")) {
            background = false;
        } else if (in.isEmpty()) {
            in = a;
        } else if (out.isEmpty()) {
            out = a;
        } else {
            in.clear();
            break;
        }
    }
    if (in.isEmpty() || out.isEmpty()) {
        CliError(QStringLiteral("Aufruf: dorlix-cli render DATEI AUSGABE.png [--dpi N] [--no-background]"));
        return kCliFailed;
    }

    TRS sheet;
    if (!CliLoadSheet(sheet, in, nullptr))
        return kCliFailed;

    // The page in the orientation the window chooses for the sheet.
    platform::Printer &printer = platform::Printer::Instance();
    printer.SetOrientation(canvas::OrientationFor(sheet.PageWidth, sheet.PageHeight));
    canvas::TDPage page;
    page.RefreshPrinter();
    page.SetSeite0Ausgabe(background);
    ComposeSheet(sheet, page, TComposeSettings{});

    QImage image;
    page.RenderToBitmap(image, clWhite, double(dpi) / page.ScreenDpi());
    image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
    if (!image.save(out, "PNG")) {
        CliError(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.")
                     .arg(QDir::toNativeSeparators(out)));
        return kCliFailed;
    }
    return kCliOk;
}

const CliRegistration renderCommand("render", "render DATEI AUSGABE.png [--dpi N] [--no-background]", &render,
                                    true);

} // namespace
