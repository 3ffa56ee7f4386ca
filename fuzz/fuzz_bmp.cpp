// The BMP stream reader, as embedded in a label file and as a picture file,
// and the decoding of what it accepts.
#include "fuzz_support.h"

#include "model/picture.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    for (TBmpMode mode : {TBmpMode::Embedded, TBmpMode::File}) {
        std::size_t consumed = 0;
        QString error;
        auto pic = TPicture::FromBmpStream(data, size, mode, &consumed, &error);
        if (!pic)
            continue;
        if (consumed > size)
            __builtin_trap();
        if (std::int64_t(pic->Width()) * pic->Height() <= fuzz::kMaxDecodedPixels)
            (void)pic->ToImage();
    }
    return 0;
}
