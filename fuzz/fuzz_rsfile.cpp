// The label file reader, all versions, from memory; pictures of the read
// sheet are measured and small bitmaps decoded.
#include "fuzz_support.h"

#include "model/rs.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TRS sheet;
    int version = 0;
    if (!sheet.LoadFromBytes(data, size, QStringLiteral("fuzz.rsd"), &version))
        return 0;
    for (std::int32_t c = 0; c < sheet.ColumnCount; ++c)
        for (std::int32_t r = 0; r < sheet.RowCount; ++r) {
            const TRSObject *f = sheet.GetField(c, r);
            if (!f || !f->Picture)
                continue;
            const long long w = f->Picture->Width(), h = f->Picture->Height();
            if (f->Picture->IsBitmap() && w * h <= fuzz::kMaxDecodedPixels)
                (void)f->Picture->ToImage();
        }
    return 0;
}
