// dorlix-cli calc EXPR: evaluates an expression of the calculation line and
// prints "CODE VALUE" (code 0) or "CODE" on one line.
#include "cli.h"

#include "controls/MUVTaRe.h"

#include <cstdio>

namespace
{
int CalcMain(const QStringList &args)
{
    // An unquoted expression arrives split into several arguments.
    const QString expression = args.join(QLatin1Char(' '));
    const TMUVTaReResult r = TMUVTaRe().Evaluate(expression);
    if (r.Code == kTaReOk)
        std::printf("%d %s\n", int(r.Code),
                    TMUVTaRe::FormatGeneral(r.Value, QLatin1Char('.')).toUtf8().constData());
    else
        std::printf("%d\n", int(r.Code));
    return kCliOk;
}

CliRegistration reg("calc", "calc EXPR", &CalcMain);
} // namespace
