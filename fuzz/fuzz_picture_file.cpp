// A picture file recognised by its content (BMP, JPEG, EMF, WMF with or
// without placeable header), then reduced as a field takes it.
#include "fuzz_support.h"

#include "model/picture.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString error;
    auto pic = TPicture::FromFileBytes(fuzz::Bytes(data, size), &error);
    if (!pic || pic->IsMetafile())
        return 0;
    if (std::int64_t(pic->Width()) * pic->Height() <= fuzz::kMaxDecodedPixels)
        (void)pic->ReducedTo300Dpi(20.0);
    return 0;
}
