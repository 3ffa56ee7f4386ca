// Metafiles converted to SVG for drawing: enhanced metafiles through
// libemf2svg here, Windows metafiles through libwmf's SVG device
// (picture_wmf.cpp). The converted form says which part of its user space the
// metafile's frame occupies, so that the frame, not the extent of the ink, is
// stretched into the box.
#include "model/le_bytes.h"
#include "model/picture_internal.h"
#include "model/svg_filter.h"

#include <QRegularExpression>
#include <emf2svg.h>

#include <cstddef>
#include <cstdlib>
#include <vector>

using lebytes::le32;
using lebytes::le32s;

namespace
{

enum : std::uint32_t {
    EMR_REALIZEPALETTE = 52,
    EMR_EXTTEXTOUTA = 83,
    EMR_EXTTEXTOUTW = 84,
    EMR_SMALLTEXTOUT = 108,
};
constexpr std::uint32_t ETO_GLYPH_INDEX = 0x0010;

} // namespace

// Texts given as glyph numbers of a Windows font cannot be shown without that
// font. libemf2svg looks such fonts up and then shuts fontconfig down for the
// whole process (FcFini), pulling it away under Qt's own text drawing. Those
// records become palette records, which draw nothing.
int DropGlyphIndexTexts(std::vector<char> &emf)
{
    int dropped = 0;
    auto *p = reinterpret_cast<std::uint8_t *>(emf.data());
    const std::size_t n = emf.size();
    // Walked like libemf2svg walks them, so that no text record escapes.
    for (std::size_t off = 0; off + 8 <= n;) {
        const std::uint32_t type = le32(p + off), size = le32(p + off + 4);
        if (size < 8 || size > n - off)
            break;
        bool glyphs = false;
        if (type == EMR_EXTTEXTOUTA || type == EMR_EXTTEXTOUTW)
            glyphs = size < 56 || (le32(p + off + 52) & ETO_GLYPH_INDEX); // too short: damaged
        else if (type == EMR_SMALLTEXTOUT)
            glyphs = size < 24 || (le32(p + off + 20) & ETO_GLYPH_INDEX);
        if (glyphs) {
            p[off] = EMR_REALIZEPALETTE;
            p[off + 1] = p[off + 2] = p[off + 3] = 0;
            ++dropped;
        }
        off += size;
    }
    return dropped;
}

namespace
{

// libemf2svg turns a text with an angle about a point 0.9 em below its
// reference point and then moves it down by that much, which puts every
// turned text 0.9 em off along the page's vertical, whatever the angle (a
// text turned upright slides along its own line). Turned about the
// reference point itself, the text sits where GDI draws it.
QByteArray turnTextsAboutTheirPoint(const QByteArray &svg)
{
    static const QRegularExpression turn(
        QStringLiteral("rotate\\((-?[0-9]+), (-?[0-9.]+), (-?[0-9.]+)\\) translate\\(0, (-?[0-9.]+)\\)"));
    const QString text = QString::fromUtf8(svg);
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator it = turn.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(done, m.capturedStart() - done);
        out += QStringLiteral("rotate(%1, %2, %3)")
                   .arg(m.captured(1), m.captured(2),
                        QString::number(m.captured(3).toDouble() - m.captured(4).toDouble(), 'f', 4));
        done = m.capturedEnd();
    }
    out += QStringView(text).mid(done);
    return out.toUtf8();
}

bool emfToSvg(const TBytes &bytes, TMetafileSvg *out)
{
    if (CheckEmfForConversion(bytes) != TEmfCheck::Ok)
        return false;
    const std::uint8_t *p = bytes.data();
    const std::int32_t bl = le32s(p + 8), bt = le32s(p + 12), br = le32s(p + 16), bb = le32s(p + 20);
    const std::int32_t fl = le32s(p + 24), ft = le32s(p + 28), fr = le32s(p + 32), fb = le32s(p + 36);
    const std::int32_t devX = le32s(p + 72), devY = le32s(p + 76);
    const std::int32_t mmX = le32s(p + 80), mmY = le32s(p + 84);
    if (devX <= 0 || devY <= 0 || mmX <= 0 || mmY <= 0)
        return false;
    // libemf2svg places the ink's bounds (device pixels) at the origin. An
    // empty bounds rectangle means the metafile draws nothing.
    const double boundsW = double(br) - bl, boundsH = double(bb) - bt;
    out->svg.clear();
    const double pxPerHmmX = double(devX) / (double(mmX) * 100.0);
    const double pxPerHmmY = double(devY) / (double(mmY) * 100.0);
    // The frame (0.01 mm, inclusive) in the same device pixels, relative to
    // the bounds' corner.
    const double frameLeft = fl * pxPerHmmX - bl, frameTop = ft * pxPerHmmY - bt;
    const double frameW = (double(fr) - fl) * pxPerHmmX, frameH = (double(fb) - ft) * pxPerHmmY;
    if (!(frameW > 0) || !(frameH > 0))
        return false;
    out->frame = QRectF(frameLeft, frameTop, frameW, frameH);
    if (boundsW <= 0 || boundsH <= 0)
        return true; // nothing to draw, yet a valid picture

    generatorOptions options{};
    char ns[] = "";
    options.nameSpace = ns;
    options.verbose = false;
    options.emfplus = false; // played like GDI does: the plain EMF records
    options.svgDelimiter = true;
    options.imgWidth = boundsW; // one SVG unit per device pixel
    options.imgHeight = boundsH;
    char *svg = nullptr;
    size_t svgLength = 0;
    std::vector<char> copy(bytes.begin(), bytes.end());
    DropGlyphIndexTexts(copy);
    emf2svg(copy.data(), copy.size(), &svg, &svgLength, &options);
    if (svg) {
        out->svg = QByteArray(svg, qsizetype(svgLength));
        std::free(svg);
        // Texts of size zero draw nothing; Qt would warn about each of them.
        out->svg.replace("font-size=\"0.0000\"", "font-size=\"0.0001\"");
        if (out->svg.contains(") translate(0, "))
            out->svg = turnTextsAboutTheirPoint(out->svg);
    }
    // A damaged record ends the conversion; what came before it is drawn.
    return !out->svg.isEmpty();
}

} // namespace

namespace
{
int conversions = 0;
}

int MetafileConversions()
{
    return conversions;
}

bool MetafileToSvg(const TBytes &bytes, TPicture::MetafileType type, TMetafileSvg *out)
{
    ++conversions;
    *out = TMetafileSvg();
    if (bytes.size() > kMaxMetafileBytes)
        return false;
    bool converted = false;
    switch (type) {
    case TPicture::MetafileType::Emf:
        converted = emfToSvg(bytes, out);
        break;
    case TPicture::MetafileType::Wmf:
        converted = WmfToSvg(bytes, out);
        break;
    case TPicture::MetafileType::None:
        break;
    }
    if (out->svg.size() > kMaxMetafileSvgBytes) {
        *out = TMetafileSvg();
        return false;
    }
    // The converters embed the metafile's bitmaps as data: URIs; a reference
    // of any other kind can only have come from a text of the file.
    if (converted && out->svg.contains("href")) {
        out->svg = SvgWithOwnReferencesOnly(out->svg);
        converted = !out->svg.isEmpty();
    }
    return converted;
}
