#include "model/le_bytes.h"
#include "model/picture_internal.h"

#include <cstdlib>

using lebytes::le16s;
using lebytes::le32s;

namespace
{

// Windows' MulDiv: a * b / c rounded half away from zero.
std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t p = a * b;
    const std::int64_t q = (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c);
    return ((p < 0) != (c < 0)) ? -q : q;
}

constexpr int kScreenDpi = 96; // the picture class measures metafiles in screen pixels
constexpr int kHundredthMmPerInch = 2540;

// Size of a metafile in 0.01 mm, as its header states it.
void metafileSizeHmm(const TBytes &b, TPicture::MetafileType type, std::int64_t &w, std::int64_t &h)
{
    w = h = 0;
    if (type == TPicture::MetafileType::Emf) {
        // rclFrame, inclusive-inclusive in 0.01 mm
        w = std::int64_t(le32s(b.data() + 32)) - le32s(b.data() + 24);
        h = std::int64_t(le32s(b.data() + 36)) - le32s(b.data() + 28);
    } else if (type == TPicture::MetafileType::Wmf) {
        const int inch = static_cast<std::uint16_t>(le16s(b.data() + 14));
        w = mulDiv(std::int64_t(le16s(b.data() + 10)) - le16s(b.data() + 6), kHundredthMmPerInch, inch);
        h = mulDiv(std::int64_t(le16s(b.data() + 12)) - le16s(b.data() + 8), kHundredthMmPerInch, inch);
    }
}
} // namespace

TPicture::TPicture() : d_(std::make_shared<TPictureData>()) {}
TPicture::~TPicture() = default;

std::unique_ptr<TPicture> TPicture::Clone() const
{
    return std::make_unique<TPicture>(*this);
}

TPictureData &TPicture::Write()
{
    if (d_.use_count() > 1)
        d_ = std::make_shared<TPictureData>(*d_); // the values only
    d_->cache.reset();
    return *d_;
}

TPicture::Kind TPicture::GetKind() const
{
    return d_->kind;
}

TPicture::MetafileType TPicture::GetMetafileType() const
{
    return d_->metaType;
}

const TBytes &TPicture::Bytes() const
{
    return d_->bytes;
}

const TBmpInfo &TPicture::BmpInfo() const
{
    return d_->bmp;
}

std::unique_ptr<TPicture> TPicture::FromMetafileBytes(TBytes bytes, QString *error)
{
    const MetafileType type = DetectMetafile(bytes);
    if (type == MetafileType::None) {
        if (error)
            *error = QStringLiteral("Fehlerhafte Grafik");
        return nullptr;
    }
    std::unique_ptr<TPicture> pic(new TPicture);
    TPictureData &d = pic->Write();
    d.kind = Kind::Metafile;
    d.metaType = type;
    d.bytes = std::move(bytes);
    return pic;
}

int TPicture::Width() const
{
    switch (d_->kind) {
    case Kind::Bitmap:
        return d_->bmp.width;
    case Kind::Jpeg:
        return d_->decoded.width();
    case Kind::Metafile: {
        std::int64_t w, h;
        metafileSizeHmm(d_->bytes, d_->metaType, w, h);
        return int(mulDiv(w, kScreenDpi, kHundredthMmPerInch));
    }
    }
    return 0;
}

int TPicture::Height() const
{
    switch (d_->kind) {
    case Kind::Bitmap:
        return d_->bmp.AbsHeight();
    case Kind::Jpeg:
        return d_->decoded.height();
    case Kind::Metafile: {
        std::int64_t w, h;
        metafileSizeHmm(d_->bytes, d_->metaType, w, h);
        return int(mulDiv(h, kScreenDpi, kHundredthMmPerInch));
    }
    }
    return 0;
}

QImage TPicture::ToImage() const
{
    switch (d_->kind) {
    case Kind::Bitmap:
        return DecodeBmp(d_->bmp, d_->bytes);
    case Kind::Jpeg:
        return d_->decoded;
    case Kind::Metafile:
        break;
    }
    return QImage();
}
