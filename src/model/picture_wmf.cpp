// Windows metafiles converted to SVG through libwmf's SVG device, and plain
// metafiles (without the placeable header) given one.
#include "model/le_bytes.h"
#include "model/picture_internal.h"
#include "model/wmf_fonts.h"

#include "platform/codepage.h"

#include <QStringDecoder>

#include <libwmf/api.h>
#include <libwmf/ipa.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

using lebytes::append16;
using lebytes::append32;
using lebytes::le16;
using lebytes::le16s;
using lebytes::le32;
using lebytes::put16;
using lebytes::put32;

namespace
{

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kWmfHeaderSize = 18;

// WMF record functions used here.
enum : std::uint16_t {
    META_EOF = 0x0000,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SAVEDC = 0x001E,
    META_SELECTOBJECT = 0x012D,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_RECTANGLE = 0x041B,
};

// Records that put ink on the page. The window in force when the first of
// them is played is the one the frame refers to.
bool isDrawingRecord(std::uint16_t fn)
{
    switch (fn) {
    case 0x0213: // LINETO
    case 0x0418: // ELLIPSE
    case 0x041B: // RECTANGLE
    case 0x061C: // ROUNDRECT
    case 0x0324: // POLYGON
    case 0x0325: // POLYLINE
    case 0x0538: // POLYPOLYGON
    case 0x0817: // ARC
    case 0x0830: // CHORD
    case 0x081A: // PIE
    case 0x0521: // TEXTOUT
    case 0x0A32: // EXTTEXTOUT
    case 0x0940: // DIBBITBLT
    case 0x0B41: // DIBSTRETCHBLT
    case 0x0F43: // STRETCHDIB
    case 0x0922: // BITBLT
    case 0x0B23: // STRETCHBLT
    case 0x0D33: // SETDIBTODEV
    case 0x041F: // SETPIXEL
    case 0x0419: // FLOODFILL
    case 0x0548: // EXTFLOODFILL
    case 0x061D: // PATBLT
    case 0x0228: // FILLREGION
    case 0x0429: // FRAMEREGION
    case 0x012A: // INVERTREGION
    case 0x012B: // PAINTREGION
        return true;
    default:
        return false;
    }
}

bool createsObject(std::uint16_t fn)
{
    switch (fn) {
    case 0x00F7: // CREATEPALETTE
    case 0x0142: // DIBCREATEPATTERNBRUSH
    case 0x01F9: // CREATEPATTERNBRUSH
    case 0x02FA: // CREATEPENINDIRECT
    case 0x02FB: // CREATEFONTINDIRECT
    case 0x02FC: // CREATEBRUSHINDIRECT
    case 0x02FD: // CREATEBITMAPINDIRECT
    case 0x06FE: // CREATEBITMAP
    case 0x06FF: // CREATEREGION
        return true;
    default:
        return false;
    }
}
constexpr std::uint16_t META_DELETEOBJECT = 0x01F0;

struct WmfLayout {
    std::size_t headerAt = 0;      // offset of the 18-byte header
    std::size_t setupEnd = 0;      // offset of the first drawing record
    std::vector<bool> objectTable; // the object table at that point (true: in use)
    bool haveExt = false;
    int orgX = 0, orgY = 0, extX = 0, extY = 0;
};

// Walks the records before the first drawing record. False when the header
// is no Windows metafile header.
bool readLayout(const TBytes &b, std::size_t headerAt, WmfLayout &lay)
{
    if (b.size() < headerAt + kWmfHeaderSize)
        return false;
    const std::uint8_t *h = b.data() + headerAt;
    const std::uint16_t type = le16(h), words = le16(h + 2), version = le16(h + 4);
    if ((type != 1 && type != 2) || words != 9 || (version != 0x0100 && version != 0x0300))
        return false;
    lay.headerAt = headerAt;
    std::size_t pos = headerAt + kWmfHeaderSize;
    while (pos + 6 <= b.size()) {
        const std::uint32_t size = le32(b.data() + pos);
        const std::uint16_t fn = le16(b.data() + pos + 4);
        if (fn == META_EOF || isDrawingRecord(fn) || size < 3 || pos + std::size_t(size) * 2 > b.size())
            break;
        const std::uint8_t *par = b.data() + pos + 6;
        if (createsObject(fn)) {
            // Objects take the lowest free slot of the table.
            auto freeSlot = std::find(lay.objectTable.begin(), lay.objectTable.end(), false);
            if (freeSlot == lay.objectTable.end())
                lay.objectTable.push_back(true);
            else
                *freeSlot = true;
        } else if (fn == META_DELETEOBJECT && size >= 4) {
            const std::size_t index = le16(par);
            if (index < lay.objectTable.size())
                lay.objectTable[index] = false;
        }
        if ((fn == META_SETWINDOWORG || fn == META_SETWINDOWEXT) && size >= 5) {
            const int y = le16s(par), x = le16s(par + 2);
            if (fn == META_SETWINDOWORG) {
                lay.orgX = x;
                lay.orgY = y;
            } else {
                lay.extX = x;
                lay.extY = y;
                lay.haveExt = true;
            }
        }
        pos += std::size_t(size) * 2;
    }
    lay.setupEnd = pos;
    return true;
}

// libwmf's SVG device copies a text's bytes into the SVG as they are: an "&"
// or "<" in a label would make the whole drawing unreadable, and 8-bit
// characters are no UTF-8. Each text is handed over as escaped UTF-8, decoded
// in the code page of its font's character set.
using DrawText = void (*)(wmfAPI *, wmfDrawText_t *);
DrawText svgDrawText = nullptr;

// The code page of a font's character set, as Windows uses it for 8-bit text.
const char *codePageOf(unsigned charset)
{
    switch (charset) {
    case 128:
        return "Shift_JIS";
    case 129:
        return "EUC-KR";
    case 134:
        return "GBK";
    case 136:
        return "Big5";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 163:
        return "windows-1258";
    case 177:
        return "windows-1255";
    case 178:
        return "windows-1256";
    case 186:
        return "windows-1257";
    case 204:
        return "windows-1251";
    case 222:
        return "windows-874";
    case 238:
        return "windows-1250";
    default:
        return nullptr; // Western, symbol and OEM fonts: the program's own code page
    }
}

QString decodeText(const char *text, const wmfDrawText_t *draw)
{
    const wmfFont *font = draw->dc ? draw->dc->font : nullptr;
    if (const char *codePage = font ? codePageOf(font->lfCharSet) : nullptr) {
        QStringDecoder decoder(codePage);
        if (decoder.isValid())
            return decoder(QByteArrayView(text));
    }
    return platform::FromAnsi(std::string(text));
}

void drawEscapedText(wmfAPI *api, wmfDrawText_t *text)
{
    if (!text->str) {
        svgDrawText(api, text);
        return;
    }
    QString unicode = decodeText(text->str, text);
    for (QChar &c : unicode)
        if (c.unicode() < 0x20)
            c = QLatin1Char(' '); // not allowed in XML
    QByteArray escaped = unicode.toHtmlEscaped().toUtf8();
    char *original = text->str;
    text->str = escaped.data();
    svgDrawText(api, text);
    text->str = original;
}

// libwmf allocates what the records ask for (a bitmap record may claim
// 65535 × 65535 pixels). Its memory comes from here, with a cap for all
// blocks of one player; libwmf treats a refused block as an error of the file.
struct WmfMemory {
    std::size_t live = 0;
};
struct alignas(std::max_align_t) WmfBlockHead {
    std::size_t size;
};

void *wmfMalloc(void *context, std::size_t size)
{
    auto *memory = static_cast<WmfMemory *>(context);
    if (size > kMaxWmfMemory || memory->live > kMaxWmfMemory - size)
        return nullptr;
    auto *head = static_cast<WmfBlockHead *>(std::malloc(sizeof(WmfBlockHead) + size));
    if (!head)
        return nullptr;
    head->size = size;
    memory->live += size;
    return head + 1;
}
void wmfFree(void *context, void *mem)
{
    if (!mem)
        return;
    auto *head = static_cast<WmfBlockHead *>(mem) - 1;
    static_cast<WmfMemory *>(context)->live -= head->size;
    std::free(head);
}
void *wmfRealloc(void *context, void *mem, std::size_t size)
{
    if (!mem)
        return wmfMalloc(context, size);
    if (size == 0) {
        wmfFree(context, mem);
        return nullptr;
    }
    auto *memory = static_cast<WmfMemory *>(context);
    auto *head = static_cast<WmfBlockHead *>(mem) - 1;
    const std::size_t old = head->size;
    const std::size_t others = memory->live - old;
    if (size > kMaxWmfMemory || others > kMaxWmfMemory - size)
        return nullptr;
    auto *grown = static_cast<WmfBlockHead *>(std::realloc(head, sizeof(WmfBlockHead) + size));
    if (!grown)
        return nullptr;
    grown->size = size;
    memory->live = others + size;
    return grown + 1;
}

// libwmf is fed from memory and writes SVG to memory. Errors and debugging
// output stay quiet.
class WmfPlayer
{
  public:
    WmfPlayer()
    {
        wmfAPI_Options options;
        std::memset(&options, 0, sizeof options);
        options.function = wmf_svg_function;
        options.context = &memory_;
        options.malloc = wmfMalloc;
        options.realloc = wmfRealloc;
        options.free = wmfFree;
        const unsigned long flags =
            WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&api_, flags, &options) != wmf_E_None) {
            if (api_)
                wmf_api_destroy(api_);
            api_ = nullptr;
            return;
        }
        wmffonts::ShareFaces(api_);
        auto *functions = static_cast<wmfFunctionReference *>(api_->function_reference);
        if (functions->draw_text != drawEscapedText) {
            svgDrawText = functions->draw_text;
            functions->draw_text = drawEscapedText;
        }
    }
    ~WmfPlayer()
    {
        if (api_)
            wmf_api_destroy(api_);
    }
    WmfPlayer(const WmfPlayer &) = delete;
    WmfPlayer &operator=(const WmfPlayer &) = delete;

    wmfAPI *api() const { return api_; }

    // Opens and scans data (which must outlive the player).
    bool Scan(TBytes &data, wmfD_Rect *box)
    {
        if (!api_ || data.size() > std::size_t(0x7FFFFFFF))
            return false;
        if (wmf_mem_open(api_, data.data(), long(data.size())) != wmf_E_None)
            return false;
        return wmf_scan(api_, 0, box) == wmf_E_None;
    }

  private:
    WmfMemory memory_; // declared first: outlives the api
    wmfAPI *api_ = nullptr;
};

// The bytes handed to libwmf. libwmf allocates a buffer of the header's
// largest record size before reading anything: a record cannot be larger
// than the file, so neither may that size be.
TBytes playerInput(const TBytes &b, std::size_t headerAt)
{
    TBytes data = b;
    const std::size_t words = (data.size() - headerAt) / 2;
    if (le32(data.data() + headerAt + 12) > words)
        put32(data, headerAt + 12, std::uint32_t(words));
    return data;
}

// Where the frame lies in libwmf's device space: the metafile cut before its
// first drawing record, followed by an invisible rectangle over the frame, is
// scanned; its extent is the frame.
bool frameInDeviceSpace(const TBytes &b, const WmfLayout &lay, int left, int top, int right, int bottom,
                        wmfD_Rect *frame)
{
    TBytes probe = playerInput(b, lay.headerAt);
    probe.resize(lay.setupEnd);
    const std::size_t h = lay.headerAt;
    auto record = [&probe](std::uint16_t fn, std::initializer_list<std::uint16_t> params) {
        append32(probe, std::uint32_t(3 + params.size()));
        append16(probe, fn);
        for (std::uint16_t v : params)
            append16(probe, v);
    };
    // The pen and the brush take the two lowest free objectTable.
    std::vector<bool> objectTable = lay.objectTable;
    auto take = [&objectTable]() {
        auto it = std::find(objectTable.begin(), objectTable.end(), false);
        const std::size_t index = std::size_t(it - objectTable.begin());
        if (it == objectTable.end())
            objectTable.push_back(true);
        else
            *it = true;
        return std::uint16_t(index);
    };
    const std::uint16_t pen = take(), brush = take();
    record(META_SAVEDC, {});
    record(META_CREATEPENINDIRECT, {5 /*PS_NULL*/, 0, 0, 0, 0});
    record(META_SELECTOBJECT, {pen});
    record(META_CREATEBRUSHINDIRECT, {1 /*BS_NULL*/, 0, 0, 0});
    record(META_SELECTOBJECT, {brush});
    record(META_RECTANGLE,
           {std::uint16_t(bottom), std::uint16_t(right), std::uint16_t(top), std::uint16_t(left)});
    record(META_EOF, {});
    // The header must announce the two objects, the largest record and the size.
    if (objectTable.size() > 0xFFFF)
        return false;
    put16(probe, h + 10,
          std::max<std::uint16_t>(le16(probe.data() + h + 10), std::uint16_t(objectTable.size())));
    put32(probe, h + 6, std::uint32_t((probe.size() - h) / 2));
    put32(probe, h + 12, std::max<std::uint32_t>(le32(probe.data() + h + 12), 8));

    WmfPlayer player;
    wmfD_Rect box;
    if (!player.Scan(probe, &box))
        return false;
    *frame = box;
    return box.BR.x - box.TL.x > 0 && box.BR.y - box.TL.y > 0;
}

// The logical rectangle that is stretched into the box: the window set up
// before the first drawing record, else the placeable header's rectangle.
void logicalFrame(const TBytes &b, const WmfLayout &lay, int &l, int &t, int &r, int &bt)
{
    if (lay.haveExt && lay.extX != 0 && lay.extY != 0) {
        l = lay.orgX;
        t = lay.orgY;
        r = std::clamp(lay.orgX + lay.extX, -32768, 32767);
        bt = std::clamp(lay.orgY + lay.extY, -32768, 32767);
        return;
    }
    l = le16s(b.data() + 6);
    t = le16s(b.data() + 8);
    r = le16s(b.data() + 10);
    bt = le16s(b.data() + 12);
}

// libwmf copies the texts' 8-bit characters into the SVG unchanged, while the
// SVG claims UTF-8: read them as the Windows code page they were written in.
QByteArray toUtf8Xml(const QByteArray &svg)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(svg);
    if (!utf8.hasError())
        return svg;
    return platform::FromAnsi(std::string(svg.constData(), std::size_t(svg.size()))).toUtf8();
}

} // namespace

bool WmfToSvg(const TBytes &bytes, TMetafileSvg *out)
{
    WmfLayout lay;
    if (!readLayout(bytes, kPlaceableSize, lay) || !WmfBitmapsOk(bytes, lay.headerAt) ||
        !WmfWithinLimits(bytes, lay.headerAt))
        return false;
    int l, t, r, b;
    logicalFrame(bytes, lay, l, t, r, b);
    wmfD_Rect frame;
    const bool framed = frameInDeviceSpace(bytes, lay, l, t, r, b, &frame);

    TBytes data = playerInput(bytes, lay.headerAt);
    WmfPlayer player;
    wmfD_Rect ink;
    if (!player.Scan(data, &ink))
        return false;
    if (!framed)
        frame = ink; // no usable window: the ink's extent stands for the frame
    const double fw = frame.BR.x - frame.TL.x, fh = frame.BR.y - frame.TL.y;
    if (!(fw > 0) || !(fh > 0))
        return false;

    // libwmf maps its bounding box onto width × height: give it the frame, in
    // a resolution fine enough for the printer.
    constexpr double kUnits = 4000.0;
    const double scale = kUnits / std::max(fw, fh);
    wmf_svg_t *ddata = WMF_SVG_GetData(player.api());
    ddata->out = wmf_stream_create(player.api(), nullptr);
    char description[] = "Dorlix";
    ddata->Description = description;
    ddata->bbox = frame;
    ddata->width = std::max(1u, static_cast<unsigned>(std::lround(fw * scale)));
    ddata->height = std::max(1u, static_cast<unsigned>(std::lround(fh * scale)));
    ddata->flags |= WMF_SVG_INLINE_IMAGES;
    const wmf_error_t played = wmf_play(player.api(), 0, &ink);
    char *svg = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(player.api(), ddata->out, &svg, &length);
    ddata->out = nullptr;
    if (svg) {
        if (played == wmf_E_None)
            out->svg = toUtf8Xml(QByteArray(svg, qsizetype(length)));
        wmf_free(player.api(), svg); // libwmf's own memory manager owns it
    }
    out->frame = QRectF(0, 0, ddata->width, ddata->height);
    return !out->svg.isEmpty();
}

TBytes WrapPlainWmf(const TBytes &bytes)
{
    WmfLayout lay;
    if (!readLayout(bytes, 0, lay) || !WmfWithinLimits(bytes, 0))
        return {};
    int l = 0, t = 0, r = 0, b = 0;
    if (lay.haveExt && lay.extX != 0 && lay.extY != 0) {
        l = std::min(lay.orgX, lay.orgX + lay.extX);
        r = std::max(lay.orgX, lay.orgX + lay.extX);
        t = std::min(lay.orgY, lay.orgY + lay.extY);
        b = std::max(lay.orgY, lay.orgY + lay.extY);
    }
    // The file must play; without a window its drawing gives the frame (in
    // the text mapping mode libwmf's device units are the logical ones).
    TBytes data = playerInput(bytes, 0);
    WmfPlayer player;
    wmfD_Rect ink;
    if (!player.Scan(data, &ink))
        return {};
    if (r == l || b == t) {
        // Coordinates outside the 16-bit range of a metafile cannot be a frame.
        for (double v : {double(ink.TL.x), double(ink.TL.y), double(ink.BR.x), double(ink.BR.y)})
            if (!std::isfinite(v) || v < -32768 || v > 32767)
                return {};
        l = int(std::floor(ink.TL.x));
        t = int(std::floor(ink.TL.y));
        r = int(std::ceil(ink.BR.x));
        b = int(std::ceil(ink.BR.y));
    }
    if (r <= l || b <= t || l < -32768 || t < -32768 || r > 32767 || b > 32767)
        return {};
    // Such a file does not say how large its units are: take the guess libwmf
    // makes for it (points for small coordinates, twips for large ones).
    const int inch = (std::int64_t(r - l) * (b - t) < 1024 * 1024) ? 72 : 1440;

    TBytes out;
    out.reserve(kPlaceableSize + bytes.size());
    append32(out, kPlaceableKey);
    append16(out, 0); // handle
    append16(out, std::uint16_t(l));
    append16(out, std::uint16_t(t));
    append16(out, std::uint16_t(r));
    append16(out, std::uint16_t(b));
    append16(out, std::uint16_t(inch));
    append32(out, 0); // reserved
    std::uint16_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= le16(out.data() + 2 * i);
    append16(out, sum);
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}
