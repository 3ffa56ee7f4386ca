#include "model/label_products.h"

#include "model/colors.h"
#include "model/rs.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kTolerance = 0.005; // mm: rounding noise of inch values
constexpr double kMinField = 1.0;    // mm: narrower fields are of no use
constexpr double kOverhang = 1.0;    // mm: labels past the page edge by rounding
// The largest page and the most labels a product may have: far beyond any
// label sheet, and what the layout dialog accepts as a sheet.
constexpr double kMaxPage = 5000; // mm
constexpr std::int64_t kMaxLabels = 10000;

// Reasons for leaving a template out (shown by the benchmark and in reports).
const QString kRound = QStringLiteral("runde Etiketten");
const QString kEllipse = QStringLiteral("ovale Etiketten");
const QString kCd = QStringLiteral("CD-Etiketten");
const QString kOtherShape = QStringLiteral("andere Etikettenform");
const QString kSeveralShapes = QStringLiteral("mehrere Etikettenformen auf einem Bogen");
const QString kSeveralLayouts = QStringLiteral("mehrere Anordnungen der Etiketten");
const QString kNoLabel = QStringLiteral("keine Etiketten beschrieben");
const QString kBadValues = QStringLiteral("fehlende oder ungültige Werte");
const QString kUnknownPaper = QStringLiteral("unbekanntes Papierformat");
const QString kNoOriginal = QStringLiteral("Vorlage des Gegenstücks fehlt");
const QString kOverlap = QStringLiteral("Etiketten überlappen oder ragen über die Seite");
const QString kTooNarrow = QStringLiteral("Felder wären zu schmal");
const QString kTooLarge = QStringLiteral("Seite zu groß oder zu viele Etiketten");

QString Attr(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

bool LengthAttr(const QXmlStreamReader &xml, const char *name, double *mm)
{
    return ParseLabelLength(xml.attributes().value(QLatin1String(name)), mm);
}

QString Fixed1(double v)
{
    // One decimal, "." as separator, no "-0.0".
    const double r = std::round(v * 10.0) / 10.0;
    return QString::number(r == 0 ? 0.0 : r, 'f', 1);
}

// A note's measure the German way: one decimal, comma, no "-0,0".
QString Decimal1(double v)
{
    return Fixed1(v).replace(QLatin1Char('.'), QLatin1Char(','));
}

// German words for the kinds of label the database describes in English;
// the first key found in a part of the description names it, so the more
// specific keys come first.
struct KindWord {
    const char *english; // lower case
    const char *german;
};
constexpr KindWord kKindWords[] = {
    {"arch file insert", "Ordnerrücken-Einsteckschilder"},
    {"arch file", "Ordnerrücken"},
    {"binder", "Ordnerrücken"},
    {"return address", "Absenderetiketten"},
    {"address", "Adressetiketten"},
    {"shipping", "Versandetiketten"},
    {"mailing", "Versandetiketten"},
    {"name badge", "Namensschilder"},
    {"name plate", "Namensschilder"},
    {"business card", "Visitenkarten"},
    {"membership card", "Mitgliedskarten"},
    {"greeting card", "Grußkarten"},
    {"post card", "Postkarten"},
    {"tent card", "Tischkarten"},
    {"cd inlet", "CD-Einleger"},
    {"dvd inlet", "DVD-Einleger"},
    {"cd booklet", "CD-Booklets"},
    {"cd case", "CD-Einleger"},
    {"cd spine", "CD-Rückenetiketten"},
    {"zip disc", "ZIP-Disketten-Etiketten"},
    {"mini disc", "MiniDisc-Etiketten"},
    {"cd", "CD-Etiketten"},
    {"dvd", "CD-Etiketten"},
    {"diskette", "Disketten-Etiketten"},
    {"floppy", "Disketten-Etiketten"},
    {"video tape spine", "Videokassetten-Rückenetiketten"},
    {"vhs", "Videokassetten-Etiketten"},
    {"video", "Videokassetten-Etiketten"},
    {"hanging folder", "Hängeregister-Etiketten"},
    {"file folder", "Aktenmappen-Etiketten"},
    {"divider", "Register-Etiketten"},
    {"filing", "Ablage-Etiketten"},
    {"rounded rectangular", "Etiketten mit runden Ecken"},
    {"rectangular", "rechteckige Etiketten"},
    {"square", "quadratische Etiketten"},
    {"round", "runde Etiketten"},
    {"elliptical", "ovale Etiketten"},
    {"oval", "ovale Etiketten"},
    {"passport photo", "Passbild-Etiketten"},
    {"photo", "Fotoetiketten"},
    {"barcode", "Barcode-Etiketten"},
    {"multi-purpose", "Universaletiketten"},
    {"multipurpose", "Universaletiketten"},
    {"multi purpose", "Universaletiketten"},
    {"allround", "Universaletiketten"},
    {"universal", "Universaletiketten"},
    {"full sheet", "ganzseitige Etiketten"},
    {"wine bottle", "Weinflaschen-Etiketten"},
    {"bottle", "Flaschenetiketten"},
    {"jar", "Glasetiketten"},
    {"candle", "Kerzenetiketten"},
    {"nutritional", "Nährwertetiketten"},
    {"medical chart", "Krankenakten-Etiketten"},
    {"book", "Buchetiketten"},
    {"pvc", "PVC-Etiketten"},
    {"film", "Folienetiketten"},
    {"seal", "Siegeletiketten"},
    {"sticker", "Aufkleber"},
    {"standard", "Standardetiketten"},
};

QString Key(const QString &vendor, const QString &part)
{
    return vendor.toCaseFolded() + QLatin1Char('\n') + part.toCaseFolded();
}
} // namespace

bool ParseLabelLength(QStringView text, double *mm)
{
    text = text.trimmed();
    qsizetype unitStart = text.size();
    while (unitStart > 0 && text[unitStart - 1].isLetter())
        --unitStart;
    const QStringView unit = text.mid(unitStart);
    const QStringView number = text.left(unitStart).trimmed();
    if (number.isEmpty())
        return false;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    double factor;
    if (unit.isEmpty() || unit == u"pt")
        factor = 25.4 / 72.0;
    else if (unit == u"in")
        factor = 25.4;
    else if (unit == u"mm")
        factor = 1.0;
    else if (unit == u"cm")
        factor = 10.0;
    else if (unit == u"pc")
        factor = 25.4 / 6.0;
    else
        return false;
    *mm = value * factor;
    return true;
}

TLabelPaperSizes ReadLabelPaperSizes(const QByteArray &data)
{
    TLabelPaperSizes sizes;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Paper-size") {
            double w, h;
            if (LengthAttr(xml, "width", &w) && LengthAttr(xml, "height", &h) && w > 0 && h > 0)
                sizes.insert(Attr(xml, "id"), {w, h});
        }
    }
    return sizes;
}

QString TLabelProduct::SizeText() const
{
    return Fixed1(LabelWidth) + QChar(0x00D7) + Fixed1(LabelHeight) + QStringLiteral(" mm");
}

QString TLabelProduct::KindText() const
{
    QStringList kinds;
    for (const QString &part : Description.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString english = part.trimmed().toLower();
        for (const KindWord &k : kKindWords) {
            if (!english.contains(QLatin1String(k.english)))
                continue;
            const QString german = QString::fromUtf8(k.german);
            if (!kinds.contains(german))
                kinds << german;
            break;
        }
    }
    return kinds.join(QStringLiteral(", "));
}

QString TLabelProduct::GridText() const
{
    return QString::number(Columns) + QChar(0x00D7) + QString::number(Rows);
}

bool TLabelProduct::Matches(const QString &filter) const
{
    const QString f = filter.simplified();
    if (f.isEmpty())
        return true;
    // "70 x 36", "70x36", "70×36": the label size in whole or tenth millimetres.
    static const QRegularExpression sizeRe(
        QStringLiteral("^(\\d+(?:[.,]\\d+)?)\\s*[x\\x{00D7}*]\\s*(\\d+(?:[.,]\\d+)?)(?:\\s*mm)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = sizeRe.match(f);
    if (m.hasMatch()) {
        const auto close = [](const QString &given, double actual) {
            const double v = QString(given).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
            // Whole numbers match the size rounded down or to the nearest millimetre.
            if (!given.contains(QLatin1Char('.')) && !given.contains(QLatin1Char(',')))
                return std::floor(actual + 0.05) == v || std::round(actual) == v;
            return std::abs(actual - v) < 0.051;
        };
        return close(m.captured(1), LabelWidth) && close(m.captured(2), LabelHeight);
    }
    const QString all = Vendor + QLatin1Char(' ') + Part + QLatin1Char(' ') + Description + QLatin1Char(' ') +
                        KindText() + QLatin1Char(' ') + SizeText();
    for (const QString &word : f.split(QLatin1Char(' ')))
        if (!all.contains(word, Qt::CaseInsensitive))
            return false;
    return true;
}

void TLabelProduct::ApplyTo(TRS &sheet) const
{
    sheet.SetLayout(Columns, Rows, PageWidth, PageHeight, MarginLeft, MarginRight, MarginTop, MarginBottom,
                    ColumnGap, FieldSpacing, sheet.BackgroundColor);
}

bool MapLabelProduct(TLabelProduct &p, QString *reason)
{
    const auto fail = [&](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    const double w = p.LabelWidth, h = p.LabelHeight;
    const int nx = p.Columns, ny = p.Rows;
    if (!(w > 0 && h > 0 && nx >= 1 && ny >= 1 && p.PageWidth > 0 && p.PageHeight > 0 &&
          p.X0 >= -kTolerance && p.Y0 >= -kTolerance))
        return fail(kBadValues);
    // Damaged or made-up numbers must not build millions of fields.
    if (p.PageWidth > kMaxPage || p.PageHeight > kMaxPage || std::int64_t(nx) * ny > kMaxLabels)
        return fail(kTooLarge);
    // With a single row or column the pitch is meaningless (often 0).
    const double dy = ny > 1 ? p.Dy : h;
    if (ny > 1 && dy < h - kTolerance)
        return fail(kOverlap);
    if (nx > 1 && p.Dx < w - kTolerance)
        return fail(kOverlap);
    // Rounded template numbers may put the last column a little past the
    // page edge; its fields are then made narrower below.
    if (p.X0 + (nx - 1) * (nx > 1 ? p.Dx : 0) + w > p.PageWidth + kOverhang ||
        p.Y0 + (ny - 1) * dy + h > p.PageHeight + kTolerance)
        return fail(kOverlap);

    // Vertically the model is exact: the row pitch is the field height plus
    // the field spacing, and the first field starts 1.5 spacings below the top
    // margin; the column ends 0.5 spacing below the last field's bottom plus
    // the spacing around the fields. Labels closer to the page edge than that
    // (binder spines often are) get a negative margin, never below -1.5
    // spacings since the labels lie on the page.
    const double s = std::max(0.0, dy - h);
    double mt = p.Y0 - 1.5 * s;
    double mb = p.PageHeight - mt - ny * dy - 2 * s;
    // Rounding noise of the inch values is no margin.
    const auto settle = [s](double m) { return m > -kTolerance ? std::max(0.0, m) : std::max(m, -1.5 * s); };
    mt = settle(mt);
    mb = settle(mb);

    // Horizontally the same spacing s lies left and right of every field
    // inside its column, so the column gap is the rest of the pitch. Where
    // the gap between labels is smaller than 2 s the fields get narrower than
    // the labels and stay centred on them.
    const double dx = nx > 1 ? p.Dx : w + 2 * s;
    double fw = std::min(w, dx - 2 * s);
    const bool narrowByGap = fw < w - 0.05;
    double fieldLeft = p.X0 + (w - fw) / 2;
    double ml = fieldLeft - s;
    if (ml < 0) {
        ml = 0;
        fieldLeft = s;
        fw = std::min(fw, p.X0 + w - fieldLeft);
    }
    double mr = p.PageWidth - (fieldLeft + (nx - 1) * dx + fw) - s;
    if (mr < 0) {
        fw += mr;
        mr = 0;
    }
    if (fw < kMinField)
        return fail(kTooNarrow);
    const double gap = nx > 1 ? std::max(0.0, dx - 2 * s - fw) : 0.0;

    p.MarginLeft = ml;
    p.MarginRight = mr;
    p.MarginTop = mt;
    p.MarginBottom = mb;
    p.ColumnGap = gap;
    p.FieldSpacing = s;
    p.Note.clear();
    if (fw < w - 0.05)
        p.Note = narrowByGap ? QStringLiteral("Felder %1 mm schmaler als die Etiketten "
                                              "(der Zwischenabstand %2 mm gilt auch seitlich)")
                                   .arg(Decimal1(w - fw), Decimal1(s))
                             : QStringLiteral("Felder %1 mm schmaler als die Etiketten "
                                              "(Etiketten reichen bis an den Seitenrand)")
                                   .arg(Decimal1(w - fw));
    return true;
}

QVector<TLabelFieldRect> LabelProductFields(const TLabelProduct &p)
{
    // The placement rules of the sheet model, written out.
    QVector<TLabelFieldRect> fields;
    if (p.Columns <= 0 || p.Rows <= 0)
        return fields;
    const double s = p.FieldSpacing;
    const double colW =
        (p.PageWidth - p.MarginLeft - p.MarginRight - (p.Columns - 1) * p.ColumnGap) / p.Columns;
    const double colH = p.PageHeight - p.MarginTop - p.MarginBottom;
    const double step = (colH - 2 * s) / p.Rows;
    for (int c = 0; c < p.Columns; ++c) {
        const double left = c * colW + p.MarginLeft + c * p.ColumnGap;
        double y = s / 2 + p.MarginTop + s;
        for (int r = 0; r < p.Rows; ++r) {
            fields.append({left + s, y, left + colW - s, y + step - s});
            y += step;
        }
    }
    return fields;
}

int TLabelProductList::SkippedTotal() const
{
    int n = 0;
    for (const auto &[reason, count] : Skipped)
        n += count;
    return n;
}

const TLabelProduct *TLabelProductList::Find(const QString &vendorAndPart) const
{
    const QString wanted = vendorAndPart.simplified();
    for (const TLabelProduct &p : Products) {
        const QString name = p.Vendor.simplified() + QLatin1Char(' ') + p.Part.simplified();
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

QVector<const TLabelProduct *> TLabelProductList::Filter(const QString &filter) const
{
    QVector<const TLabelProduct *> result;
    for (const TLabelProduct &p : Products)
        if (p.Matches(filter))
            result.append(&p);
    return result;
}

QString LabelTemplateFolder()
{
    const QByteArray env = qgetenv("DORLIX_LABEL_TEMPLATES");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QStringLiteral("/usr/share/libglabels-3.0/templates");
}

TLabelProductReader::TLabelProductReader(TLabelPaperSizes paperSizes) : paper_(std::move(paperSizes)) {}

void TLabelProductReader::Skip(const QString &reason)
{
    ++list_.Skipped[reason];
}

bool TLabelProductReader::ReadTemplates(const QByteArray &data, const QString &fileName)
{
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != u"Template")
            continue;
        ++list_.TemplatesRead;
        TLabelProduct p;
        p.Vendor = Attr(xml, "brand").trimmed();
        p.Part = Attr(xml, "part").trimmed();
        p.Description = Attr(xml, "_description");
        if (p.Description.isEmpty())
            p.Description = Attr(xml, "description");
        p.EquivalentOf = Attr(xml, "equiv").trimmed();
        const QString size = Attr(xml, "size");
        QString problem;
        if (p.Vendor.isEmpty() || p.Part.isEmpty())
            problem = kBadValues;
        if (p.EquivalentOf.isEmpty() && problem.isEmpty()) {
            if (size == u"Other" || size.isEmpty()) {
                if (!LengthAttr(xml, "width", &p.PageWidth) || !LengthAttr(xml, "height", &p.PageHeight))
                    problem = kBadValues;
            } else if (paper_.contains(size)) {
                p.PageWidth = paper_.value(size).first;
                p.PageHeight = paper_.value(size).second;
            } else {
                problem = kUnknownPaper;
            }
        }
        // The label shapes and their layouts.
        int shapes = 0, layouts = 0;
        bool rectangle = false;
        while (xml.readNextStartElement()) {
            const QStringView name = xml.name();
            if (name.startsWith(u"Label-")) {
                ++shapes;
                if (name == u"Label-rectangle") {
                    rectangle = true;
                    if (!LengthAttr(xml, "width", &p.LabelWidth) ||
                        !LengthAttr(xml, "height", &p.LabelHeight))
                        problem = problem.isEmpty() ? kBadValues : problem;
                } else if (problem.isEmpty()) {
                    problem = name == u"Label-round"     ? kRound
                              : name == u"Label-ellipse" ? kEllipse
                              : name == u"Label-cd"      ? kCd
                                                         : kOtherShape;
                }
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"Layout") {
                        ++layouts;
                        bool okX = true, okY = true;
                        const int nx = Attr(xml, "nx").toInt(&okX);
                        const int ny = Attr(xml, "ny").toInt(&okY);
                        // Pitches may be left out with a single column or row.
                        if (!xml.attributes().hasAttribute(QLatin1String("dx")) && nx == 1)
                            p.Dx = 0;
                        else if (!LengthAttr(xml, "dx", &p.Dx))
                            okX = false;
                        if (!xml.attributes().hasAttribute(QLatin1String("dy")) && ny == 1)
                            p.Dy = 0;
                        else if (!LengthAttr(xml, "dy", &p.Dy))
                            okY = false;
                        if (!okX || !okY || !LengthAttr(xml, "x0", &p.X0) || !LengthAttr(xml, "y0", &p.Y0) ||
                            nx < 1 || ny < 1)
                            problem = problem.isEmpty() ? kBadValues : problem;
                        p.Columns = nx;
                        p.Rows = ny;
                    }
                    xml.skipCurrentElement();
                }
            } else {
                xml.skipCurrentElement();
            }
        }
        if (!p.EquivalentOf.isEmpty()) {
            equivalents_.append(p);
            continue;
        }
        if (problem.isEmpty()) {
            if (shapes == 0 || !rectangle)
                problem = kNoLabel;
            else if (shapes > 1)
                problem = kSeveralShapes;
            else if (layouts > 1)
                problem = kSeveralLayouts;
            else if (layouts == 0)
                problem = kBadValues;
        }
        if (problem.isEmpty() && !MapLabelProduct(p, &problem)) {
            // problem holds the reason
        }
        if (!problem.isEmpty()) {
            Skip(problem);
            skippedReasons_.insert(Key(p.Vendor, p.Part), problem);
            continue;
        }
        products_.append(p);
    }
    if (xml.hasError()) {
        list_.FileErrors.append(
            QStringLiteral("%1: %2 (Zeile %3)").arg(fileName, xml.errorString()).arg(xml.lineNumber()));
        return false;
    }
    return true;
}

TLabelProductList TLabelProductReader::Finish()
{
    QHash<QString, int> byKey;
    for (int i = 0; i < products_.size(); ++i)
        byKey.insert(Key(products_[i].Vendor, products_[i].Part), i);
    // An equivalent may name another equivalent; resolve in rounds.
    QVector<TLabelProduct> pending = equivalents_;
    bool progress = true;
    while (!pending.isEmpty() && progress) {
        progress = false;
        QVector<TLabelProduct> next;
        for (const TLabelProduct &e : pending) {
            const QString original = Key(e.Vendor, e.EquivalentOf);
            if (byKey.contains(original)) {
                TLabelProduct p = products_[byKey.value(original)];
                p.Part = e.Part;
                p.EquivalentOf = e.EquivalentOf;
                if (!e.Description.isEmpty())
                    p.Description = e.Description;
                byKey.insert(Key(p.Vendor, p.Part), int(products_.size()));
                products_.append(p);
                progress = true;
            } else if (skippedReasons_.contains(original)) {
                Skip(skippedReasons_.value(original));
                skippedReasons_.insert(Key(e.Vendor, e.Part), skippedReasons_.value(original));
                progress = true;
            } else {
                next.append(e);
            }
        }
        pending = next;
    }
    for (int i = 0; i < pending.size(); ++i)
        Skip(kNoOriginal);
    // The same product listed twice: keep the first.
    QVector<TLabelProduct> unique;
    QHash<QString, bool> seen;
    for (const TLabelProduct &p : products_) {
        const QString k = Key(p.Vendor, p.Part);
        if (seen.contains(k)) {
            Skip(QStringLiteral("doppelt aufgeführt"));
            continue;
        }
        seen.insert(k, true);
        unique.append(p);
    }
    std::stable_sort(unique.begin(), unique.end(), [](const TLabelProduct &a, const TLabelProduct &b) {
        const int v = QString::localeAwareCompare(a.Vendor, b.Vendor);
        if (v != 0)
            return v < 0;
        return QString::compare(a.Part, b.Part, Qt::CaseInsensitive) < 0;
    });
    list_.Products = std::move(unique);
    return std::move(list_);
}

TLabelProductList ReadLabelProducts(const QString &folder)
{
    const QDir dir(folder);
    QFile paperFile(dir.filePath(QStringLiteral("paper-sizes.xml")));
    TLabelPaperSizes paper;
    if (paperFile.open(QIODevice::ReadOnly))
        paper = ReadLabelPaperSizes(paperFile.readAll());
    TLabelProductReader reader(paper);
    QStringList errors;
    const QStringList files = dir.entryList({QStringLiteral("*-templates.xml")}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            errors.append(name + QStringLiteral(": ") + f.errorString());
            continue;
        }
        reader.ReadTemplates(f.readAll(), name);
    }
    TLabelProductList list = reader.Finish();
    list.FileErrors += errors;
    return list;
}
