// Metafile detection and both conversions: EMF through libemf2svg, placeable
// WMF through libwmf; plain WMF are wrapped first, as a picture file is.
#include "fuzz_support.h"

#include "model/picture_internal.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TBytes bytes = fuzz::Bytes(data, size);
    TPicture::MetafileType type = DetectMetafile(bytes);
    if (type == TPicture::MetafileType::None) {
        bytes = WrapPlainWmf(bytes);
        if (bytes.empty())
            return 0;
        type = DetectMetafile(bytes);
    }
    auto pic = TPicture::FromMetafileBytes(bytes, nullptr);
    if (!pic)
        return 0;
    (void)pic->Width();
    (void)pic->Height();
    TMetafileSvg svg;
    MetafileToSvg(bytes, type, &svg);
    return 0;
}
