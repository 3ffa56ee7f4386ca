// Writes the heaviest metafiles the picture readers still accept, and a
// label file for each with the picture in one page-sized field:
//
//   build/bin/make_metafile_lines FOLDER
//
// Every case stays just under the limits of records and points. Lines run
// from edge to edge of the frame, so that each one covers as many pixels as
// a line can; run.sh draws them with dorlix-cli.
#include "model/picture.h"
#include "model/picture_internal.h"
#include "model/rs.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <functional>
#include <string>

namespace
{

// The frame: 600 mm square, 10 device pixels per millimetre, so that
// render-picture draws it at its largest default width (2000 pixels).
constexpr int kSide = 6000;

class Bytes
{
  public:
    TBytes b;
    void u16(std::uint32_t v)
    {
        b.push_back(std::uint8_t(v));
        b.push_back(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void put32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b[at + i] = std::uint8_t(v >> (8 * i));
    }
};

// The n-th corner of a zigzag from edge to edge: alternately on the top and
// the bottom edge, moving right by step pixels each time and folding back
// at the sides; with steep set, from the left to the right edge instead.
std::pair<int, int> zigzag(std::uint64_t n, int step, bool steep = false)
{
    const std::uint64_t span = 2 * std::uint64_t(kSide - 1);
    std::uint64_t along = (n * std::uint64_t(step)) % span;
    if (along >= std::uint64_t(kSide))
        along = span - along;
    const int a = int(along), edge = (n % 2) ? kSide - 1 : 0;
    return steep ? std::pair{edge, a} : std::pair{a, edge};
}

// Enhanced metafiles.
enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_EOF = 14,
    EMR_MOVETOEX = 27,
    EMR_LINETO = 54,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_SETPOLYFILLMODE = 19,
};

class Emf
{
  public:
    Bytes o;
    std::uint32_t records = 0;
    Emf()
    {
        o.u32(EMR_HEADER);
        o.u32(88);
        for (int v : {0, 0, kSide - 1, kSide - 1}) // bounds, device pixels
            o.u32(std::uint32_t(v));
        for (int v : {0, 0, kSide * 10 - 1, kSide * 10 - 1}) // frame, 0.01 mm
            o.u32(std::uint32_t(v));
        o.u32(0x464D4520);
        o.u32(0x10000);
        o.u32(0); // bytes, filled in at the end
        o.u32(0); // records
        o.u16(3); // handles
        o.u16(0);
        o.u32(0); // description
        o.u32(0);
        o.u32(0);     // palette
        o.u32(kSide); // reference device: 10 pixels per millimetre
        o.u32(kSide);
        o.u32(kSide / 10);
        o.u32(kSide / 10);
        records = 1;
    }
    void record(std::uint32_t type, std::initializer_list<std::uint32_t> values)
    {
        o.u32(type);
        o.u32(std::uint32_t(8 + 4 * values.size()));
        for (std::uint32_t v : values)
            o.u32(v);
        ++records;
    }
    // style: 0 solid, 1 dash; width in device pixels (0: a hairline).
    void pen(std::uint32_t style, std::uint32_t width)
    {
        record(EMR_CREATEPEN, {1, style, width, 0, 0x00000000});
        record(EMR_SELECTOBJECT, {1});
    }
    void brush(std::uint32_t colour)
    {
        record(EMR_CREATEBRUSHINDIRECT, {2, 0, colour, 0});
        record(EMR_SELECTOBJECT, {2});
    }
    void poly(std::uint32_t type, std::uint64_t first, std::uint32_t count, int step, bool steep)
    {
        o.u32(type);
        o.u32(28 + 4 * count);
        for (int v : {0, 0, kSide - 1, kSide - 1})
            o.u32(std::uint32_t(v));
        o.u32(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const auto [x, y] = zigzag(first + i, step, steep);
            o.u16(std::uint32_t(x));
            o.u16(std::uint32_t(y));
        }
        ++records;
    }
    TBytes finish()
    {
        record(EMR_EOF, {0, 16, 20});
        o.put32(48, std::uint32_t(o.b.size()));
        o.put32(52, records);
        return o.b;
    }
};

// Placeable Windows metafiles, in the same frame (1000 units per inch).
class Wmf
{
  public:
    Bytes o;
    std::uint32_t records = 0;
    Wmf()
    {
        o.u32(0x9AC6CDD7);
        o.u16(0);
        for (int v : {0, 0, kSide, kSide})
            o.u16(std::uint32_t(v));
        o.u16(254); // units per inch: 10 per millimetre
        o.u32(0);
        std::uint16_t sum = 0;
        for (std::size_t i = 0; i < 20; i += 2)
            sum ^= std::uint16_t(o.b[i] | (o.b[i + 1] << 8));
        o.u16(sum);
        o.u16(1); // memory metafile
        o.u16(9);
        o.u16(0x0300);
        o.u32(0); // size in words, filled in at the end
        o.u16(2); // objects
        o.u32(0); // largest record
        o.u16(0);
        record(0x020B, {0, 0});         // SETWINDOWORG
        record(0x020C, {kSide, kSide}); // SETWINDOWEXT
    }
    std::uint32_t largest = 0;
    void record(std::uint16_t function, std::initializer_list<int> params)
    {
        const std::uint32_t words = 3 + std::uint32_t(params.size());
        o.u32(words);
        o.u16(function);
        for (int v : params)
            o.u16(std::uint32_t(v) & 0xFFFF);
        largest = std::max(largest, words);
        ++records;
    }
    void pen(int style, int width)
    {
        record(0x02FA, {style, width, 0, 0, 0}); // CREATEPENINDIRECT, black
        record(0x012D, {0});                     // SELECTOBJECT
    }
    void brush(std::uint32_t colour)
    {
        record(0x02FC, {0, int(colour & 0xFFFF), int(colour >> 16), 0}); // CREATEBRUSHINDIRECT
        record(0x012D, {1});
    }
    void poly(std::uint16_t function, std::uint64_t first, std::uint32_t count, int step, bool steep)
    {
        const std::uint32_t words = 4 + 2 * count;
        o.u32(words);
        o.u16(function);
        o.u16(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const auto [x, y] = zigzag(first + i, step, steep);
            o.u16(std::uint32_t(x));
            o.u16(std::uint32_t(y));
        }
        largest = std::max(largest, words);
        ++records;
    }
    TBytes finish()
    {
        record(0, {});
        const std::uint32_t words = std::uint32_t((o.b.size() - 22) / 2);
        o.put32(22 + 6, words);
        o.put32(22 + 12, largest);
        return o.b;
    }
};

constexpr std::uint32_t kRecords = kMaxMetafileRecords;
constexpr std::uint32_t kPoints = kMaxMetafilePoints;

// Many single lines: one move, then a line to the far edge per record.
TBytes emfLineTo(std::uint32_t style, std::uint32_t width)
{
    Emf e;
    e.pen(style, width);
    e.record(EMR_MOVETOEX, {0, 0});
    for (std::uint64_t n = 1; e.records < kRecords - 1; ++n) {
        const auto [x, y] = zigzag(n, 7);
        e.record(EMR_LINETO, {std::uint32_t(x), std::uint32_t(y)});
    }
    return e.finish();
}

// Polylines (or polygons) using up all points in as many records as allowed.
TBytes emfPoly(std::uint32_t type, std::uint32_t style, std::uint32_t width, std::uint32_t perRecord)
{
    Emf e;
    e.pen(style, width);
    if (type == EMR_POLYGON16) {
        e.brush(0x00C08040);
        e.record(EMR_SETPOLYFILLMODE, {2}); // winding
    }
    std::uint64_t points = e.records + 1, n = 0; // every other record counts as one point
    while (e.records + 1 < kRecords) {
        const std::uint32_t count = std::min<std::uint64_t>(perRecord, kPoints - points);
        if (count < 2)
            break;
        e.poly(type, n, count, 7, (e.records % 2) != 0);
        n += count;
        points += count;
    }
    return e.finish();
}

TBytes wmfLineTo(int style, int width)
{
    Wmf w;
    w.pen(style, width);
    w.record(0x0214, {0, 0}); // MOVETO
    for (std::uint64_t n = 1; w.records < kRecords - 1; ++n) {
        const auto [x, y] = zigzag(n, 7);
        w.record(0x0213, {y, x}); // LINETO
    }
    return w.finish();
}

TBytes wmfPoly(std::uint16_t function, int style, int width, std::uint32_t perRecord)
{
    Wmf w;
    w.pen(style, width);
    if (function == 0x0324) {
        w.brush(0x00C08040);
        w.record(0x0106, {2}); // SETPOLYFILLMODE winding
    }
    std::uint64_t points = w.records + 1, n = 0;
    while (w.records + 1 < kRecords) {
        const std::uint32_t count = std::min<std::uint64_t>(perRecord, kPoints - points);
        if (count < 2)
            break;
        w.poly(function, n, count, 7, (w.records % 2) != 0);
        n += count;
        points += count;
    }
    return w.finish();
}

bool writeFile(const QString &path, const TBytes &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(reinterpret_cast<const char *>(bytes.data()),
                                                   qint64(bytes.size())) == qint64(bytes.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_metafile_lines FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const std::uint32_t perRecord = kPoints / kRecords + 1; // every point used, records to spare
    const struct {
        const char *name;
        std::function<TBytes()> make;
    } cases[] = {
        {"emf-lineto-hairline.emf", [] { return emfLineTo(0, 0); }},
        {"emf-lineto-thick.emf", [] { return emfLineTo(0, 40); }},
        {"emf-lineto-dash.emf", [] { return emfLineTo(1, 0); }},
        {"emf-polyline-hairline.emf", [&] { return emfPoly(EMR_POLYLINE16, 0, 0, perRecord); }},
        {"emf-polyline-1px.emf", [&] { return emfPoly(EMR_POLYLINE16, 0, 3, perRecord); }},
        {"emf-polyline-thick.emf", [&] { return emfPoly(EMR_POLYLINE16, 0, 40, perRecord); }},
        {"emf-polyline-dash.emf", [&] { return emfPoly(EMR_POLYLINE16, 1, 0, perRecord); }},
        {"emf-polyline-one.emf", [] { return emfPoly(EMR_POLYLINE16, 0, 0, kPoints); }},
        {"emf-polygon.emf", [&] { return emfPoly(EMR_POLYGON16, 0, 0, perRecord); }},
        {"emf-polygon-one.emf", [] { return emfPoly(EMR_POLYGON16, 0, 0, kPoints); }},
        {"wmf-lineto-hairline.wmf", [] { return wmfLineTo(0, 0); }},
        {"wmf-lineto-thick.wmf", [] { return wmfLineTo(0, 40); }},
        {"wmf-polyline-hairline.wmf", [&] { return wmfPoly(0x0325, 0, 0, perRecord); }},
        {"wmf-polyline-thick.wmf", [&] { return wmfPoly(0x0325, 0, 40, perRecord); }},
        {"wmf-polyline-dash.wmf", [&] { return wmfPoly(0x0325, 1, 0, perRecord); }},
        {"wmf-polyline-one.wmf", [] { return wmfPoly(0x0325, 0, 0, 65000); }},
        {"wmf-polygon.wmf", [&] { return wmfPoly(0x0324, 0, 0, perRecord); }},
    };
    int failed = 0;
    for (const auto &c : cases) {
        const TBytes bytes = c.make();
        const QString path = folder + QLatin1Char('/') + QLatin1String(c.name);
        QString error;
        auto picture = TPicture::FromMetafileBytes(bytes, &error);
        if (!picture || !writeFile(path, bytes)) {
            std::fprintf(stderr, "%s: %s\n", c.name, picture ? "cannot be written" : qPrintable(error));
            ++failed;
            continue;
        }
        // One field over the whole of an A4 page.
        TRS sheet;
        sheet.SetLayout(1, 1, 210, 297, 10, 10, 10, 10, 0, 0, clWhite);
        TRSObject *field = sheet.GetField(0, 0);
        field->Kind = TFieldKind::Picture;
        field->Visible = true;
        field->Picture = std::move(picture);
        if (!sheet.SaveToFile(path + QStringLiteral(".rsd"), &error)) {
            std::fprintf(stderr, "%s: %s\n", c.name, qPrintable(error));
            ++failed;
            continue;
        }
        std::printf("%-28s %9zu bytes\n", c.name, bytes.size());
    }
    return failed ? 1 : 0;
}
