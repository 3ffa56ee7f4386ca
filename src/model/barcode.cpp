// Codes laid out by libzint: the data are checked first where the program
// can say more precisely what is wrong (digits, length, check digit of the
// retail codes), then libzint encodes them with the quiet zones the
// symbology needs, and its vector output becomes the metafile.
#include "model/barcode.h"
#include "model/barcode_emf.h"
#include "model/rs.h"
#include "model/text_template.h"

#include <QStringList>

#include <zint.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace
{

constexpr TBarcodeKindInfo kKinds[] = {
    {TBarcodeKind::Qr, "qr", "QR-Code", false},
    {TBarcodeKind::DataMatrix, "datamatrix", "DataMatrix", false},
    {TBarcodeKind::Code128, "code128", "Code 128", true},
    {TBarcodeKind::Ean13, "ean13", "EAN-13", true},
    {TBarcodeKind::Ean8, "ean8", "EAN-8", true},
    {TBarcodeKind::UpcA, "upca", "UPC-A", true},
    {TBarcodeKind::Code39, "code39", "Code 39", true},
    {TBarcodeKind::Itf14, "itf14", "ITF-14", true},
    {TBarcodeKind::Pdf417, "pdf417", "PDF417", false},
    {TBarcodeKind::Aztec, "aztec", "Aztec", false},
};

int symbology(TBarcodeKind kind)
{
    switch (kind) {
    case TBarcodeKind::Qr:
        return BARCODE_QRCODE;
    case TBarcodeKind::DataMatrix:
        return BARCODE_DATAMATRIX;
    case TBarcodeKind::Code128:
        return BARCODE_CODE128;
    case TBarcodeKind::Ean13:
    case TBarcodeKind::Ean8:
        return BARCODE_EANX;
    case TBarcodeKind::UpcA:
        return BARCODE_UPCA;
    case TBarcodeKind::Code39:
        return BARCODE_CODE39;
    case TBarcodeKind::Itf14:
        return BARCODE_ITF14;
    case TBarcodeKind::Pdf417:
        return BARCODE_PDF417;
    case TBarcodeKind::Aztec:
        return BARCODE_AZTEC;
    }
    return BARCODE_QRCODE;
}

// The retail codes: digits of a fixed count, the last one a check digit that
// may be left out (it is then computed).
struct DigitRule {
    TBarcodeKind kind;
    int digits; // with the check digit
};
constexpr DigitRule kDigitRules[] = {
    {TBarcodeKind::Ean13, 13},
    {TBarcodeKind::Ean8, 8},
    {TBarcodeKind::UpcA, 12},
    {TBarcodeKind::Itf14, 14},
};

// The GS1 check digit of the digits before it: weights 3 and 1 from the
// right.
int checkDigit(const QString &digits)
{
    int sum = 0, weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += weight * (digits[i].unicode() - '0');
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

// The data as libzint gets them: retail codes without their check digit.
// Empty with *error when the data cannot be such a code.
QString checkedData(const TBarcodeSettings &s, QString *error)
{
    const QString name = QString::fromLatin1(BarcodeKindInfo(s.kind).displayName);
    if ((std::uint32_t(s.colour) & 0xFF000000) != 0) {
        *error = QStringLiteral("Die Farbe eines Codes muss eine feste Farbe sein.");
        return QString();
    }
    if (s.data.isEmpty()) {
        *error = QStringLiteral("Für den Code sind keine Daten angegeben.");
        return QString();
    }
    if (s.data.toUtf8().size() > qsizetype(kMaxBarcodeData)) {
        *error =
            QStringLiteral("Die Daten sind zu lang für einen Code (höchstens %1 Byte).").arg(kMaxBarcodeData);
        return QString();
    }
    if (s.data.contains(QChar(0))) {
        *error = QStringLiteral("Die Daten enthalten ein Nullzeichen.");
        return QString();
    }
    for (const DigitRule &rule : kDigitRules) {
        if (rule.kind != s.kind)
            continue;
        const bool digitsOnly =
            std::all_of(s.data.begin(), s.data.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!digitsOnly || (s.data.size() != rule.digits && s.data.size() != rule.digits - 1)) {
            *error = QStringLiteral("Ein %1 besteht aus %2 Ziffern, die letzte davon die Prüfziffer "
                                    "(sie darf fehlen).\r\n\"%3\" ist kein %1.")
                         .arg(name)
                         .arg(rule.digits)
                         .arg(s.data);
            return QString();
        }
        const QString body = s.data.left(rule.digits - 1);
        if (s.data.size() == rule.digits) {
            const int expected = checkDigit(body), given = s.data.back().unicode() - '0';
            if (expected != given) {
                *error =
                    QStringLiteral("Die Prüfziffer des %1 stimmt nicht: nach %2 muss %3 folgen, nicht %4.")
                        .arg(name, body)
                        .arg(expected)
                        .arg(given);
                return QString();
            }
        }
        return body;
    }
    return s.data;
}

QString zintError(int code, const TBarcodeSettings &s, const char *text)
{
    const QString name = QString::fromLatin1(BarcodeKindInfo(s.kind).displayName);
    QString why;
    switch (code) {
    case ZINT_ERROR_TOO_LONG:
        why = QStringLiteral("Die Daten sind zu lang für einen %1.").arg(name);
        break;
    case ZINT_ERROR_INVALID_DATA:
        why = QStringLiteral("Die Daten enthalten Zeichen, die ein %1 nicht darstellen kann.").arg(name);
        break;
    case ZINT_ERROR_INVALID_CHECK:
        why = QStringLiteral("Die Prüfziffer des %1 stimmt nicht.").arg(name);
        break;
    default:
        why = QStringLiteral("Der %1 konnte nicht erzeugt werden.").arg(name);
        break;
    }
    return QStringLiteral("%1\r\n(libzint: %2)").arg(why, QString::fromUtf8(text));
}

struct ZintDeleter {
    void operator()(zint_symbol *s) const { ZBarcode_Delete(s); }
};
using ZintSymbol = std::unique_ptr<zint_symbol, ZintDeleter>;

// Lays the symbol out; barHeight in modules, 0 for libzint's usual one.
// Without vector only the encoding is done, enough to know it succeeds.
ZintSymbol layOut(const TBarcodeSettings &s, const QByteArray &data, float barHeight, QString *error,
                  bool vector = true)
{
    ZintSymbol symbol(ZBarcode_Create());
    if (!symbol) {
        *error = QStringLiteral("Für den Code ist nicht genug Speicher frei.");
        return nullptr;
    }
    zint_symbol *z = symbol.get();
    z->symbology = symbology(s.kind);
    z->input_mode = UNICODE_MODE;
    z->output_options |= BARCODE_QUIET_ZONES;
    z->show_hrt = s.humanReadable ? 1 : 0;
    if (barHeight > 0)
        z->height = barHeight;
    switch (s.kind) {
    case TBarcodeKind::Qr:
        z->option_1 = 2; // error correction M: a label gets scratched
        break;
    case TBarcodeKind::DataMatrix:
        z->option_3 = DM_SQUARE;
        break;
    default:
        break;
    }
    const int rc =
        ZBarcode_Encode(z, reinterpret_cast<const unsigned char *>(data.constData()), int(data.size()));
    if (rc >= ZINT_ERROR) {
        *error = zintError(rc, s, z->errtxt);
        return nullptr;
    }
    if (!vector)
        return symbol;
    const int vrc = ZBarcode_Buffer_Vector(z, 0);
    if (vrc >= ZINT_ERROR || !z->vector) {
        *error = zintError(vrc, s, z->errtxt);
        return nullptr;
    }
    return symbol;
}

// The offered kinds draw only rectangles and texts (no MaxiCode hexagons,
// no dots).
TSymbolDrawing drawingOf(const zint_vector &v)
{
    TSymbolDrawing d;
    d.width = v.width;
    d.height = v.height;
    for (const zint_vector_rect *r = v.rectangles; r; r = r->next)
        d.bars.emplace_back(r->x, r->y, r->width, r->height);
    for (const zint_vector_string *t = v.strings; t; t = t->next)
        d.texts.push_back({QPointF(t->x, t->y), t->fsize, t->width, t->halign,
                           QString::fromUtf8(reinterpret_cast<const char *>(t->text), t->length)});
    return d;
}

// Bar height (modules) that gives a linear code the aspect of the box: as
// tall as the box allows, yet no lower than a seventh of the symbol's width
// and no taller than its width.
float barHeightFor(const zint_symbol &z, QSizeF box)
{
    const double width = z.vector->width;                 // units, two per module
    const double other = z.vector->height - 2 * z.height; // text, guard bars, bearer bars
    const double wanted = box.isEmpty() ? z.vector->height : width * box.height() / box.width();
    const double minBars = std::max(10.0, width / 7);
    const double maxBars = std::max(minBars, width - other);
    return float(std::clamp(wanted - other, minBars, maxBars) / 2);
}

// What a code with placeholders shows until a list fills it: the data as
// written where the symbology can hold braces, zeros of the right count for
// the retail codes, and for Code 39 (capitals, digits and a few signs) the
// literal parts with a 0 for each placeholder.
QString sampleData(const TBarcodeSettings &s)
{
    for (const DigitRule &rule : kDigitRules)
        if (rule.kind == s.kind)
            return QString(rule.digits - 1, u'0');
    if (s.kind != TBarcodeKind::Code39)
        return s.data;
    QStringList lines;
    for (const auto &line : ParseTextTemplate(s.data).lines) {
        QString text;
        for (const TTextPiece &piece : line)
            text += piece.kind == TTextPiece::Literal ? piece.text : QStringLiteral("0");
        lines.append(text);
    }
    return lines.join(QStringLiteral("\r\n"));
}

// Under a sample, the data as written take the place of the text libzint
// set, centred under the whole symbol and below the guard bars that reach
// into the text line of the retail codes.
void labelSample(TSymbolDrawing &d, const QString &data)
{
    if (d.texts.empty())
        return;
    TSymbolDrawing::Text text = d.texts.front();
    double barsEnd = 0;
    for (const QRectF &bar : d.bars)
        barsEnd = std::max(barsEnd, bar.bottom());
    text.base = QPointF(d.width / 2, std::max(text.base.y(), barsEnd + text.size));
    text.advance = 0;
    text.align = 0;
    text.text = data;
    d.texts.assign(1, text);
    d.height = std::max(d.height, text.base.y() + text.size * 0.25);
}

// The drawing turned a quarter anticlockwise: bars across a tall field and
// the text read from bottom to top, as on the spine of a binder.
TSymbolDrawing turnedUpright(const TSymbolDrawing &d)
{
    TSymbolDrawing t;
    t.width = d.height;
    t.height = d.width;
    for (const QRectF &bar : d.bars)
        t.bars.emplace_back(bar.top(), d.width - bar.right(), bar.height(), bar.width());
    for (TSymbolDrawing::Text text : d.texts) {
        text.base = QPointF(text.base.y(), d.width - text.base.x());
        text.angle = 900;
        t.texts.push_back(text);
    }
    return t;
}

} // namespace

std::span<const TBarcodeKindInfo> BarcodeKinds()
{
    return kKinds;
}

const TBarcodeKindInfo &BarcodeKindInfo(TBarcodeKind kind)
{
    for (const TBarcodeKindInfo &info : kKinds)
        if (info.kind == kind)
            return info;
    return kKinds[0];
}

std::optional<TBarcodeKind> BarcodeKindFromCliName(const QString &name)
{
    for (const TBarcodeKindInfo &info : kKinds)
        if (name.compare(QLatin1String(info.cliName), Qt::CaseInsensitive) == 0)
            return info.kind;
    return std::nullopt;
}

bool BarcodeHasPlaceholder(const TBarcodeSettings &settings)
{
    return HasPlaceholder(settings.data);
}

bool CheckBarcode(const TBarcodeSettings &settings, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    const QString data = checkedData(settings, &why);
    return !data.isEmpty() && layOut(settings, data.toUtf8(), 0, &why, false);
}

TBytes EncodeBarcode(const TBarcodeSettings &settings, QSizeF box, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    const bool sample = BarcodeHasPlaceholder(settings);
    TBarcodeSettings shown = settings;
    if (sample)
        shown.data = sampleData(settings);
    const QString data = checkedData(shown, &why);
    if (data.isEmpty())
        return {};
    const QByteArray utf8 = data.toUtf8();
    ZintSymbol symbol = layOut(shown, utf8, 0, &why);
    if (!symbol)
        return {};
    // A linear code in a field taller than wide runs along its length.
    const bool upright = BarcodeKindInfo(settings.kind).linear && box.height() > box.width();
    if (upright)
        box.transpose();
    if (BarcodeKindInfo(settings.kind).linear) {
        const float height = barHeightFor(*symbol, box);
        if (std::abs(height - symbol->height) > 0.01f) {
            symbol = layOut(shown, utf8, height, &why);
            if (!symbol)
                return {};
        }
    }
    TSymbolDrawing drawing = drawingOf(*symbol->vector);
    if (sample)
        labelSample(drawing, settings.data);
    if (upright)
        drawing = turnedUpright(drawing);
    return WriteSymbolEmf(drawing, settings.colour, BarcodeComment(settings));
}

bool SetFieldBarcode(TRSObject &field, const TBarcodeSettings &settings, QString *error)
{
    TBytes emf = EncodeBarcode(settings, QSizeF(field.Width, field.Height), error);
    if (emf.empty())
        return false;
    QString why;
    std::unique_ptr<TPicture> picture = TPicture::FromMetafileBytes(std::move(emf), &why);
    if (!picture) {
        if (error)
            *error = why;
        return false;
    }
    field.Picture = std::move(picture);
    field.Kind = TFieldKind::Picture;
    field.Visible = true;
    return true;
}

int RefitLinearCodes(TRS &sheet)
{
    int changed = 0;
    for (int column = 0; column < sheet.ColumnCount; ++column)
        for (int row = 0; row < sheet.RowCount; ++row) {
            TRSObject *f = sheet.GetField(column, row);
            const TBarcodeSettings *code = f ? FieldBarcode(*f) : nullptr;
            if (!code || !BarcodeKindInfo(code->kind).linear)
                continue;
            TBytes emf = EncodeBarcode(*code, QSizeF(f->Width, f->Height), nullptr);
            if (emf.empty() || emf == f->Picture->Bytes())
                continue;
            if (std::unique_ptr<TPicture> picture = TPicture::FromMetafileBytes(std::move(emf), nullptr)) {
                f->Picture = std::move(picture);
                ++changed;
            }
        }
    return changed;
}
