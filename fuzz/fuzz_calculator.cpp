// The calculator of the layout dialog: any text, then the number parser and
// the formatting of what it computed.
#include "fuzz_support.h"

#include "controls/MUVTaRe.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const TMUVTaRe calculator;
    const TMUVTaReResult result = calculator.Evaluate(text);
    (void)TMUVTaRe::Message(result.Code);
    if (result.Code == kTaReOk) {
        const QString shown = TMUVTaRe::FormatGeneral(result.Value, QLatin1Char(','));
        long double back = 0;
        (void)TMUVTaRe::ParseNumber(shown, back);
    }
    long double value = 0;
    (void)TMUVTaRe::ParseNumber(text, value);
    return 0;
}
