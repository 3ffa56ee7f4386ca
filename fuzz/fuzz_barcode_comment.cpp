// The settings of a code read back from picture bytes: the comment parser on
// its own, and the walk through an EMF's records that finds the comment. A
// code that parses is encoded again, flat or upright, which must give the
// same settings; the check without drawing agrees with the encoding.
#include "fuzz_support.h"

#include "model/barcode.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const TBytes bytes = fuzz::Bytes(data, size);
    std::optional<TBarcodeSettings> settings = ParseBarcodeComment(bytes.data(), bytes.size());
    if (!settings)
        settings = BarcodeSettingsFromEmf(bytes);
    if (!settings)
        return 0;
    // What the parser accepts, the writer writes the same way.
    const TBytes again = BarcodeComment(*settings);
    if (ParseBarcodeComment(again.data(), again.size()) != settings)
        std::abort();
    QString error;
    const TBytes emf = EncodeBarcode(*settings, size % 2 ? QSizeF(50, 30) : QSizeF(20, 80), &error);
    if (!emf.empty() && BarcodeSettingsFromEmf(emf) != settings)
        std::abort();
    if (!BarcodeHasPlaceholder(*settings) && CheckBarcode(*settings, nullptr) == emf.empty())
        std::abort();
    return 0;
}
