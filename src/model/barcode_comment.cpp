// The settings of a code inside its EMF: one comment record whose contents
// begin with a tag of this program. Layout (little-endian):
//
//   0   8  tag "DORLIXBC"
//   8   1  version (1)
//   9   1  kind (TBarcodeKind)
//  10   1  flags: bit 0 human-readable text; the other bits 0
//  11   1  0
//  12   4  colour ($00BBGGRR)
//  16   4  n, the length of the data (1 … kMaxBarcodeData)
//  20   n  the data, UTF-8
//
// followed by at most three zero bytes that fill the record to whole words.
// The settings are read from picture bytes of any origin, so every size is
// checked against the bytes there, and anything not written this way is no
// code.
#include "model/barcode.h"
#include "model/le_bytes.h"
#include "model/picture_internal.h"
#include "model/rs.h"

#include <cstring>

using lebytes::append32;
using lebytes::le32;

namespace
{

constexpr char kTag[8] = {'D', 'O', 'R', 'L', 'I', 'X', 'B', 'C'};
constexpr std::uint8_t kVersion = 1;
constexpr std::size_t kFixed = 20;
constexpr std::uint8_t kFlagHumanReadable = 0x01;

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrComment = 70;
constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"

bool knownKind(std::uint8_t k)
{
    for (const TBarcodeKindInfo &info : BarcodeKinds())
        if (std::uint8_t(info.kind) == k)
            return true;
    return false;
}

} // namespace

TBytes BarcodeComment(const TBarcodeSettings &settings)
{
    const QByteArray data = settings.data.toUtf8();
    TBytes out(kTag, kTag + sizeof kTag);
    out.push_back(kVersion);
    out.push_back(std::uint8_t(settings.kind));
    out.push_back(settings.humanReadable ? kFlagHumanReadable : 0);
    out.push_back(0);
    append32(out, std::uint32_t(settings.colour));
    append32(out, std::uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4)
        out.push_back(0);
    return out;
}

std::optional<TBarcodeSettings> ParseBarcodeComment(const std::uint8_t *p, std::size_t size)
{
    if (!p || size < kFixed || std::memcmp(p, kTag, sizeof kTag) != 0 || p[8] != kVersion)
        return std::nullopt;
    if (!knownKind(p[9]) || (p[10] & ~kFlagHumanReadable) != 0 || p[11] != 0)
        return std::nullopt;
    const std::uint32_t colour = le32(p + 12);
    if (colour > 0xFFFFFF)
        return std::nullopt; // system colours and "none" make no code
    const std::size_t n = le32(p + 16);
    if (n == 0 || n > kMaxBarcodeData || n > size - kFixed || size - kFixed - n > 3)
        return std::nullopt;
    for (std::size_t i = kFixed + n; i < size; ++i)
        if (p[i] != 0)
            return std::nullopt;
    const QByteArray bytes(reinterpret_cast<const char *>(p + kFixed), qsizetype(n));
    if (bytes.contains('\0'))
        return std::nullopt;
    TBarcodeSettings s;
    s.data = QString::fromUtf8(bytes);
    if (s.data.toUtf8() != bytes)
        return std::nullopt; // not UTF-8: decoding replaced something
    s.kind = TBarcodeKind(p[9]);
    s.humanReadable = (p[10] & kFlagHumanReadable) != 0;
    s.colour = TColor(colour);
    return s;
}

std::optional<TBarcodeSettings> BarcodeSettingsFromEmf(const TBytes &emf)
{
    const std::size_t n = emf.size();
    const std::uint8_t *p = emf.data();
    if (n < 88 || le32(p) != kEmrHeader || le32(p + 40) != kEmfSignature)
        return std::nullopt;
    for (std::size_t off = 0; n - off >= 8;) {
        const std::uint8_t *rec = p + off;
        const std::uint32_t type = le32(rec), recSize = le32(rec + 4);
        if (recSize < 8 || recSize % 4 != 0 || recSize > n - off)
            return std::nullopt;
        if (type == kEmrEof)
            break;
        if (type == kEmrComment && recSize >= 12) {
            const std::size_t cb = le32(rec + 8);
            if (cb <= recSize - 12 && cb >= sizeof kTag && std::memcmp(rec + 12, kTag, sizeof kTag) == 0)
                return ParseBarcodeComment(rec + 12, cb);
        }
        off += recSize;
    }
    return std::nullopt;
}

const TBarcodeSettings *TPicture::Barcode() const
{
    if (d_->kind != Kind::Metafile || d_->metaType != MetafileType::Emf)
        return nullptr;
    TPictureCache &cache = d_->Cache(); // derived from the bytes, like every converted form
    if (!cache.barcodeDone) {
        cache.barcodeDone = true;
        if (auto s = BarcodeSettingsFromEmf(d_->bytes))
            cache.barcode = std::make_shared<const TBarcodeSettings>(std::move(*s));
    }
    return cache.barcode.get();
}

const TBarcodeSettings *FieldBarcode(const TRSObject &field)
{
    return field.Kind == TFieldKind::Picture && field.Picture ? field.Picture->Barcode() : nullptr;
}
