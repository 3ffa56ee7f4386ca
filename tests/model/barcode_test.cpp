#include "model/barcode.h"
#include "model/le_bytes.h"
#include "model/picture_internal.h"
#include "model/rs.h"
#include "testsupport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace
{

TBarcodeSettings code(TBarcodeKind kind, const QString &data, bool text = true, TColor colour = clBlack)
{
    return TBarcodeSettings{kind, data, text, colour};
}

TBytes encode(const TBarcodeSettings &s, QSizeF box = QSizeF(60, 30))
{
    QString error;
    TBytes emf = EncodeBarcode(s, box, &error);
    EXPECT_FALSE(emf.empty()) << error.toStdString();
    return emf;
}

QImage draw(const TPicture &picture, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    picture.Draw(p, QRectF(0, 0, size, size));
    return image;
}

// The EMF without its comment records: what a writer that knows nothing of
// codes would have made of the same drawing.
TBytes withoutComments(const TBytes &emf)
{
    TBytes out;
    std::uint32_t records = 0;
    for (std::size_t off = 0; off + 8 <= emf.size();) {
        const std::uint32_t type = lebytes::le32(emf.data() + off),
                            size = lebytes::le32(emf.data() + off + 4);
        if (type != 70) {
            out.insert(out.end(), emf.begin() + std::ptrdiff_t(off),
                       emf.begin() + std::ptrdiff_t(off + size));
            ++records;
        }
        off += size;
    }
    lebytes::put32(out, 48, std::uint32_t(out.size()));
    lebytes::put32(out, 52, records);
    return out;
}

} // namespace

// Every kind with data it holds: the EMF passes the program's check, carries
// its settings back out, and draws ink; 2-D codes are square, linear ones
// take the box's aspect within limits.
TEST(Barcode, EveryKindEncodesAndCarriesItsSettings)
{
    const TBarcodeSettings cases[] = {
        code(TBarcodeKind::Qr, QStringLiteral("https://example.org/Ordner/Müller & Söhne"), true, 0x00336699),
        code(TBarcodeKind::DataMatrix, QStringLiteral("Inventar 4711")),
        code(TBarcodeKind::Code128, QStringLiteral("INV-0815-ä"), false),
        code(TBarcodeKind::Ean13, QStringLiteral("400638133393")),
        code(TBarcodeKind::Ean13, QStringLiteral("4006381333931"), false),
        code(TBarcodeKind::Ean8, QStringLiteral("96385074")),
        code(TBarcodeKind::UpcA, QStringLiteral("03600029145")),
        code(TBarcodeKind::Code39, QStringLiteral("ABC-123")),
        code(TBarcodeKind::Itf14, QStringLiteral("10012345678902")),
        code(TBarcodeKind::Pdf417, QStringLiteral("Lieferschein 2026-117")),
        code(TBarcodeKind::Aztec, QStringLiteral("Aztec 1")),
    };
    for (const TBarcodeSettings &s : cases) {
        SCOPED_TRACE(BarcodeKindInfo(s.kind).displayName);
        const TBytes emf = encode(s);
        ASSERT_FALSE(emf.empty());
        EXPECT_EQ(CheckEmfForConversion(emf), TEmfCheck::Ok);
        QString error;
        const auto picture = TPicture::FromMetafileBytes(emf, &error);
        ASSERT_TRUE(picture);
        ASSERT_NE(picture->Barcode(), nullptr);
        EXPECT_EQ(*picture->Barcode(), s);
        EXPECT_EQ(picture->Barcode(), picture->Clone()->Barcode()); // read once, shared by copies
        const bool square =
            s.kind == TBarcodeKind::Qr || s.kind == TBarcodeKind::DataMatrix || s.kind == TBarcodeKind::Aztec;
        if (square) {
            EXPECT_EQ(picture->Width(), picture->Height());
        }
        if (BarcodeKindInfo(s.kind).linear) {
            EXPECT_NEAR(double(picture->Height()) / picture->Width(), 0.5, 0.02);
        }
        const QImage image = draw(*picture, 300);
        const QRgb ink = QColor(s.colour & 0xFF, (s.colour >> 8) & 0xFF, (s.colour >> 16) & 0xFF).rgb();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixel(x, y) == ink;
        EXPECT_GT(inked, 300 * 300 / 40);
    }
    // A flat box gives linear codes bars between a seventh of the width and
    // the width, an empty box their usual proportions; in a tall box the code
    // is turned upright, with the proportions it has in the box turned flat.
    const TBarcodeSettings ean = code(TBarcodeKind::Ean13, QStringLiteral("400638133393"));
    for (auto [box, low, high] : {std::tuple{QSizeF(20, 200), 0.2, 0.3}, std::tuple{QSizeF(200, 5), 0.2, 0.3},
                                  std::tuple{QSizeF(200, 190), 0.9, 1.0}, std::tuple{QSizeF(), 0.4, 0.6}}) {
        const auto p = TPicture::FromMetafileBytes(encode(ean, box), nullptr);
        ASSERT_TRUE(p);
        const double aspect =
            box.height() > box.width() ? double(p->Width()) / p->Height() : double(p->Height()) / p->Width();
        EXPECT_GE(aspect, low);
        EXPECT_LE(aspect, high);
    }
}

TEST(Barcode, DataTheSymbolCannotHoldAreRefusedInGerman)
{
    const struct {
        TBarcodeSettings s;
        const char *says;
    } cases[] = {
        {code(TBarcodeKind::Ean13, QStringLiteral("40063A133393")), "13 Ziffern"},
        {code(TBarcodeKind::Ean13, QStringLiteral("4006381333932")),
         "nach 400638133393 muss 1 folgen, nicht 2"},
        {code(TBarcodeKind::Ean8, QStringLiteral("123")), "8 Ziffern"},
        {code(TBarcodeKind::UpcA, QStringLiteral("036000291453")), "Prüfziffer"},
        {code(TBarcodeKind::Itf14, QStringLiteral("10012345678903")), "Prüfziffer"},
        {code(TBarcodeKind::Qr, QString(5000, QChar(u'A'))), "zu lang für einen QR-Code"},
        {code(TBarcodeKind::Code39, QStringLiteral("Straße")),
         "Zeichen, die ein Code 39 nicht darstellen kann"},
        {code(TBarcodeKind::Code128, QString()), "keine Daten"},
        {code(TBarcodeKind::Qr, QStringLiteral("x"), true, clNone), "feste Farbe"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_TRUE(EncodeBarcode(c.s, QSizeF(50, 50), &error).empty()) << c.says;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
    }

    // A field keeps what it had when its code cannot be made.
    TRSObject field;
    field.SetFrame(10, 10, 60, 40);
    field.Text = "Ordner";
    QString error;
    EXPECT_FALSE(SetFieldBarcode(field, code(TBarcodeKind::Ean8, QStringLiteral("ABC")), &error));
    EXPECT_EQ(field.Kind, TFieldKind::Text);
    EXPECT_EQ(field.Picture, nullptr);
    EXPECT_FALSE(field.Visible);
}

// The comment is read from bytes of any origin: everything but what the
// writer makes is refused, and no cut or change makes the parser read past
// the bytes it was given.
TEST(Barcode, CommentParserRefusesAnythingItDidNotWrite)
{
    const TBarcodeSettings s = code(TBarcodeKind::Code128, QStringLiteral("Grüße"), false, 0x123456);
    const TBytes good = BarcodeComment(s);
    ASSERT_EQ(ParseBarcodeComment(good.data(), good.size()), s);
    for (std::size_t n = 0; n < good.size(); ++n) {
        const TBytes cut(good.begin(), good.begin() + std::ptrdiff_t(n));
        // Only the zero fill at the end may be missing.
        EXPECT_EQ(ParseBarcodeComment(cut.data(), cut.size()).has_value(), n >= 20 + 7) << n;
    }
    const auto changed = [&](std::size_t at, std::uint8_t value) {
        TBytes b = good;
        b[at] = value;
        return ParseBarcodeComment(b.data(), b.size());
    };
    EXPECT_FALSE(changed(0, 'X'));             // tag
    EXPECT_FALSE(changed(8, 2));               // a version this reader does not know
    EXPECT_FALSE(changed(9, 0));               // kinds
    EXPECT_FALSE(changed(9, 11));              //
    EXPECT_FALSE(changed(10, 0x02));           // unknown flags
    EXPECT_FALSE(changed(15, 0x80));           // a system colour
    EXPECT_FALSE(changed(16, 0));              // no data
    EXPECT_FALSE(changed(19, 0x7F));           // length beyond the bytes
    EXPECT_FALSE(changed(23, 'x'));            // "ü" broken: not UTF-8
    EXPECT_FALSE(changed(21, 0));              // a zero byte inside the data
    EXPECT_FALSE(changed(good.size() - 1, 1)); // fill that is not zero
    TBytes longer = good;
    longer.insert(longer.end(), 4, 0);
    EXPECT_FALSE(ParseBarcodeComment(longer.data(), longer.size()));

    // In a metafile: records whose sizes do not hold together give no code.
    TBytes emf = encode(s);
    ASSERT_TRUE(BarcodeSettingsFromEmf(emf));
    TBytes broken = emf;
    lebytes::put32(broken, 108 + 4, 0xFFFFFFF0); // the comment's record size
    EXPECT_FALSE(BarcodeSettingsFromEmf(broken));
    broken = emf;
    lebytes::put32(broken, 108 + 8, 0x7FFFFFFF); // its data size
    EXPECT_FALSE(BarcodeSettingsFromEmf(broken));
    EXPECT_FALSE(BarcodeSettingsFromEmf(TBytes(emf.begin(), emf.begin() + 120)));
}

// A reader that knows nothing of codes draws the same picture; the label
// file keeps the code editable; copies of the field keep it too.
TEST(Barcode, PlainReadersDrawItAndLabelFilesKeepIt)
{
    const TBarcodeSettings s = code(TBarcodeKind::Ean13, QStringLiteral("400638133393"));
    const TBytes emf = encode(s);
    const auto withCode = TPicture::FromMetafileBytes(emf, nullptr);
    const auto plain = TPicture::FromMetafileBytes(withoutComments(emf), nullptr);
    ASSERT_TRUE(withCode && plain);
    EXPECT_EQ(plain->Barcode(), nullptr);
    EXPECT_EQ(CheckEmfForConversion(plain->Bytes()), TEmfCheck::Ok);
    EXPECT_EQ(draw(*plain, 400), draw(*withCode, 400));

    TempProgramFolder dir;
    TRS sheet;
    sheet.SetLayout(2, 3, 210, 297, 10, 10, 10, 10, 5, 2, clWhite);
    QString error;
    ASSERT_TRUE(SetFieldBarcode(*sheet.GetField(1, 2), s, &error)) << error.toStdString();
    sheet.CopyFieldToRow(sheet.GetField(1, 2), 0);
    const QString path = dir.File("codes.rsd");
    ASSERT_TRUE(sheet.SaveToFile(path));
    TRS read;
    int version = 0;
    ASSERT_TRUE(read.LoadFromFile(path, &version));
    EXPECT_EQ(version, kRsdVersion);
    for (auto [c, r] : {std::pair{1, 2}, std::pair{0, 0}, std::pair{1, 0}}) {
        const TRSObject *f = read.GetField(c, r);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Visible);
        ASSERT_NE(FieldBarcode(*f), nullptr) << c << "," << r;
        EXPECT_EQ(*FieldBarcode(*f), s);
        EXPECT_EQ(f->Picture->Bytes(), sheet.GetField(1, 2)->Picture->Bytes());
    }
    EXPECT_EQ(FieldBarcode(*read.GetField(0, 1)), nullptr);
}

// Data with placeholders: every kind shows a sample and keeps the data as
// written, so the code can be edited and filled from a list later; a linear
// code follows its field when the layout changes it.
TEST(Barcode, PlaceholdersGiveASampleAndLayoutChangesRefitBars)
{
    for (const TBarcodeKindInfo &info : BarcodeKinds()) {
        SCOPED_TRACE(info.cliName);
        const TBarcodeSettings s = code(info.kind, QStringLiteral("Nr. {#:000}-{Name}"));
        EXPECT_TRUE(BarcodeHasPlaceholder(s));
        const auto picture = TPicture::FromMetafileBytes(encode(s), nullptr);
        ASSERT_TRUE(picture && picture->Barcode());
        EXPECT_EQ(*picture->Barcode(), s);
    }
    QString error;
    EXPECT_FALSE(CheckBarcode(code(TBarcodeKind::Code39, QStringLiteral("ä")), &error));
    EXPECT_TRUE(error.contains("Zeichen, die ein Code 39 nicht darstellen kann")) << error.toStdString();
    EXPECT_TRUE(CheckBarcode(code(TBarcodeKind::Ean8, QStringLiteral("96385074")), &error));

    TRS sheet;
    sheet.SetLayout(2, 2, 210, 297, 10, 10, 10, 10, 5, 2, clWhite);
    ASSERT_TRUE(SetFieldBarcode(*sheet.GetField(0, 0), code(TBarcodeKind::Code128, "INV-0815"), &error));
    ASSERT_TRUE(SetFieldBarcode(*sheet.GetField(1, 0), code(TBarcodeKind::Qr, "INV-0815"), &error));
    const TBytes before = sheet.GetField(0, 0)->Picture->Bytes();
    EXPECT_EQ(RefitLinearCodes(sheet), 0);
    sheet.SetGrid(2, 8); // fields a quarter as high
    EXPECT_EQ(RefitLinearCodes(sheet), 1);
    const TPicture &refit = *sheet.GetField(0, 0)->Picture;
    const TRSObject &f = *sheet.GetField(0, 0);
    EXPECT_NE(refit.Bytes(), before);
    EXPECT_EQ(refit.Barcode()->data, QStringLiteral("INV-0815"));
    EXPECT_NEAR(double(refit.Width()) / refit.Height(), f.Width / f.Height, 0.05 * f.Width / f.Height);
}
