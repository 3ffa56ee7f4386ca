// The JPEG reader at full size and at one of libjpeg's reduced scales.
#include "fuzz_support.h"

#include "model/picture_internal.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const TBytes bytes = fuzz::Bytes(data, size);
    QImage image;
    QString error;
    if (!DecodeJpeg(bytes, 1, &image, &error))
        return 0;
    const int denom = 2 << (size % 3); // 2, 4 or 8
    DecodeJpeg(bytes, denom, &image, &error);
    return 0;
}
