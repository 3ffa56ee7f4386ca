// dorlix-cli colour: the colour rules of the colour dialog.
//   colour hsv R G B   prints "H S V" (R, G, B each 0..255)
//   colour rgb H S V   prints "R G B" (values outside H 0..360, S and V 0..255
//                      are clamped, as in the dialog)
//   colour names       prints the named colours, "INDEX<TAB>NAME<TAB>RRGGBB"
// Without a window system the system colours take their fixed defaults.
#include "cli.h"

#include "canvas/colours.h"

#include <cstdio>

namespace
{
const char kUsage[] = "colour hsv R G B | colour rgb H S V | colour names";

bool ReadInts(const QStringList &args, int values[3])
{
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = args.at(i + 1).trimmed().toInt(&ok);
        if (!ok) {
            CliError(QStringLiteral("\"%1\" ist keine ganze Zahl.").arg(args.at(i + 1)));
            return false;
        }
    }
    return true;
}

int ColourMain(const QStringList &args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("names") && args.size() == 1) {
        const auto list = colours::NamedColors();
        for (std::size_t i = 0; i < list.size(); ++i)
            std::printf("%d\t%s\t%06X\n", int(i), list[i].Name.toUtf8().constData(), unsigned(list[i].Html));
        return kCliOk;
    }
    if ((what == QLatin1String("hsv") || what == QLatin1String("rgb")) && args.size() == 4) {
        int v[3];
        if (!ReadInts(args, v))
            return kCliFailed;
        if (what == QLatin1String("hsv")) {
            for (int i = 0; i < 3; ++i)
                if (v[i] < 0 || v[i] > 255) {
                    CliError(QStringLiteral("Rot, Grün und Blau liegen zwischen 0 und 255 (%1).").arg(v[i]));
                    return kCliFailed;
                }
            const colours::THSV hsv = colours::RGBToHSV(v[0], v[1], v[2]);
            std::printf("%d %d %d\n", hsv.H, hsv.S, hsv.V);
        } else {
            const colours::TRGB rgb = colours::HSVToRGB(v[0], v[1], v[2]);
            std::printf("%d %d %d\n", rgb.R, rgb.G, rgb.B);
        }
        return kCliOk;
    }
    CliError(QStringLiteral("Falsche Angaben. Aufruf: dorlix-cli %1").arg(QLatin1String(kUsage)));
    return kCliFailed;
}

CliRegistration reg("colour", kUsage, &ColourMain);
} // namespace
