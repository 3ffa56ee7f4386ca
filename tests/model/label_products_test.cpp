#include "model/label_products.h"
#include "model/rs.h"
#include "testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{
const QString kData = QStringLiteral(DORLIX_SOURCE_DIR "/tests/data/glabels");

QByteArray ReadData(const QString &name)
{
    QFile f(kData + QLatin1Char('/') + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

constexpr double kPt = 25.4 / 72.0;

// Checks that the sheet built from a product has its fields on the labels:
// exactly (0.1 mm) when the product has no note, inside them otherwise.
void ExpectFieldsOnLabels(const TLabelProduct &p)
{
    TRS sheet;
    p.ApplyTo(sheet);
    ASSERT_TRUE(sheet.GridBuilt);
    ASSERT_EQ(sheet.ColumnCount, p.Columns);
    ASSERT_EQ(sheet.RowCount, p.Rows);
    EXPECT_DOUBLE_EQ(sheet.PageWidth, p.PageWidth);
    EXPECT_DOUBLE_EQ(sheet.PageHeight, p.PageHeight);
    const QVector<TLabelFieldRect> rects = LabelProductFields(p);
    for (int c = 0; c < p.Columns; ++c)
        for (int r = 0; r < p.Rows; ++r) {
            const TRSObject *f = sheet.GetField(c, r);
            ASSERT_NE(f, nullptr);
            const double left = p.X0 + c * p.Dx, top = p.Y0 + r * p.Dy;
            const std::string where = (p.Vendor + QLatin1Char(' ') + p.Part).toStdString() + " column " +
                                      std::to_string(c) + " row " + std::to_string(r);
            // The model's own placement and the written-out rules agree.
            const TLabelFieldRect &rect = rects[c * p.Rows + r];
            EXPECT_NEAR(f->X1, rect.Left, 1e-9) << where;
            EXPECT_NEAR(f->Y2, rect.Bottom, 1e-9) << where;
            // Inside the label.
            EXPECT_GE(f->X1, left - 1e-6) << where;
            EXPECT_GE(f->Y1, top - 1e-6) << where;
            EXPECT_LE(f->X2, left + p.LabelWidth + 1e-6) << where;
            EXPECT_LE(f->Y2, top + p.LabelHeight + 1e-6) << where;
            if (p.Note.isEmpty()) {
                EXPECT_NEAR(f->X1, left, 0.1) << where;
                EXPECT_NEAR(f->Y1, top, 0.1) << where;
                EXPECT_NEAR(f->Width, p.LabelWidth, 0.1) << where;
                EXPECT_NEAR(f->Height, p.LabelHeight, 0.1) << where;
            }
        }
    EXPECT_GE(sheet.MarginLeft, 0);
    EXPECT_GE(sheet.MarginRight, 0);
    // Labels near the top or bottom edge: the first field begins on the page.
    EXPECT_GE(sheet.MarginTop, -1.5 * p.FieldSpacing - 1e-9);
    EXPECT_GE(sheet.MarginBottom, -1.5 * p.FieldSpacing - 1e-9);
    EXPECT_GE(sheet.ColumnGap, 0);
    EXPECT_GE(sheet.FieldSpacing, 0);
}

TLabelProductList ReadSample()
{
    return ReadLabelProducts(kData);
}
} // namespace

TEST(LabelProductLengths, UnitsAndDefaultPoints)
{
    double mm = 0;
    ASSERT_TRUE(ParseLabelLength(u"72", &mm));
    EXPECT_NEAR(mm, 25.4, 1e-9);
    ASSERT_TRUE(ParseLabelLength(u"72pt", &mm));
    EXPECT_NEAR(mm, 25.4, 1e-9);
    ASSERT_TRUE(ParseLabelLength(u"2.625in", &mm));
    EXPECT_NEAR(mm, 66.675, 1e-9);
    ASSERT_TRUE(ParseLabelLength(u" 3.2mm ", &mm));
    EXPECT_NEAR(mm, 3.2, 1e-9);
    ASSERT_TRUE(ParseLabelLength(u"1.5cm", &mm));
    EXPECT_NEAR(mm, 15.0, 1e-9);
    ASSERT_TRUE(ParseLabelLength(u"6pc", &mm));
    EXPECT_NEAR(mm, 25.4, 1e-9);
    EXPECT_FALSE(ParseLabelLength(u"", &mm));
    EXPECT_FALSE(ParseLabelLength(u"mm", &mm));
    EXPECT_FALSE(ParseLabelLength(u"3furlong", &mm));
    EXPECT_FALSE(ParseLabelLength(u"nanmm", &mm));
    EXPECT_FALSE(ParseLabelLength(u"infin", &mm));
    EXPECT_FALSE(ParseLabelLength(u"1,5mm", &mm));
}

TEST(LabelProductLengths, PaperSizesOfThePaperList)
{
    const TLabelPaperSizes sizes = ReadLabelPaperSizes(ReadData(QStringLiteral("paper-sizes.xml")));
    ASSERT_TRUE(sizes.contains(QStringLiteral("A4")));
    EXPECT_NEAR(sizes.value(QStringLiteral("A4")).first, 210.0, 1e-9);
    EXPECT_NEAR(sizes.value(QStringLiteral("A4")).second, 297.0, 1e-9);
    EXPECT_NEAR(sizes.value(QStringLiteral("US-Letter")).first, 215.9, 1e-9);
    EXPECT_NEAR(sizes.value(QStringLiteral("US-Letter")).second, 279.4, 1e-9);
}

TEST(LabelProducts, ZweckformAddressLabelsHandChecked)
{
    const TLabelProductList list = ReadSample();
    const TLabelProduct *p = list.Find(QStringLiteral("zweckform 3475"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Columns, 3);
    EXPECT_EQ(p->Rows, 8);
    EXPECT_EQ(p->SizeText(), QStringLiteral("70.1×36.0 mm"));
    EXPECT_EQ(p->GridText(), QStringLiteral("3×8"));
    // 3 × 198.57 pt is 0.15 mm wider than A4: the fields give way at the edge.
    EXPECT_FALSE(p->Note.isEmpty());
    EXPECT_NEAR(p->FieldSpacing, 0, 1e-9);
    EXPECT_NEAR(p->MarginTop, 12.566 * kPt, 1e-9);
    TRS sheet;
    p->ApplyTo(sheet);
    const TRSObject *f = sheet.GetField(1, 7);
    ASSERT_NE(f, nullptr);
    EXPECT_NEAR(f->X1, 198.57 * kPt, 0.1);
    EXPECT_NEAR(f->Y1, (12.566 + 7 * 102.121) * kPt, 0.01);
    EXPECT_NEAR(f->Height, 102.121 * kPt, 0.01);
    EXPECT_LE(f->X2, 2 * 198.57 * kPt + 1e-6);
    ExpectFieldsOnLabels(*p);
}

TEST(LabelProducts, ZweckformExactColumnGap)
{
    // 3348: 67 × 38 mm labels 3 mm apart, 2 mm from the left edge.
    const TLabelProductList list = ReadSample();
    const TLabelProduct *p = list.Find(QStringLiteral("Zweckform 3348"));
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Note.isEmpty()) << p->Note.toStdString();
    EXPECT_NEAR(p->MarginLeft, 5.66929 * kPt, 1e-6);
    EXPECT_NEAR(p->ColumnGap, (198.425 - 189.921) * kPt, 1e-6);
    EXPECT_NEAR(p->FieldSpacing, 0, 1e-9);
    TRS sheet;
    p->ApplyTo(sheet);
    EXPECT_NEAR(sheet.GetField(2, 0)->X1, 2.0 + 2 * 70.0, 0.1);
    EXPECT_NEAR(sheet.GetField(2, 6)->Y1, 20.0 + 6 * 38.0, 0.1);
    ExpectFieldsOnLabels(*p);
}

TEST(LabelProducts, AveryLetterInchesAndEquivalent)
{
    const TLabelProductList list = ReadSample();
    const TLabelProduct *p = list.Find(QStringLiteral("AVERY 5160"));
    ASSERT_NE(p, nullptr);
    EXPECT_NEAR(p->PageWidth, 215.9, 1e-9);
    EXPECT_NEAR(p->PageHeight, 279.4, 1e-9);
    EXPECT_EQ(p->SizeText(), QStringLiteral("66.7×25.4 mm"));
    EXPECT_TRUE(p->Note.isEmpty());
    TRS sheet;
    p->ApplyTo(sheet);
    // Third column, fourth row: x = 0.15625 + 2 × 2.78125 in, y = 0.5 + 3 in.
    EXPECT_NEAR(sheet.GetField(2, 3)->X1, (0.15625 + 2 * 2.78125) * 25.4, 0.1);
    EXPECT_NEAR(sheet.GetField(2, 3)->Y1, 3.5 * 25.4, 0.1);
    EXPECT_NEAR(sheet.GetField(2, 3)->X2, (0.15625 + 2 * 2.78125 + 2.625) * 25.4, 0.1);
    ExpectFieldsOnLabels(*p);

    const TLabelProduct *e = list.Find(QStringLiteral("Avery 15160"));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->EquivalentOf, QStringLiteral("5160"));
    EXPECT_EQ(e->Description, p->Description);
    EXPECT_DOUBLE_EQ(e->MarginLeft, p->MarginLeft);
    EXPECT_EQ(e->Rows, 10);
}

TEST(LabelProducts, BusinessCardsNarrowerFieldsWithNote)
{
    // 32015: 85 × 54 mm, 91 mm and 60 mm pitch: 6 mm between the rows but the
    // same spacing also lies beside every field, so the fields are 6 mm narrower.
    const TLabelProductList list = ReadSample();
    const TLabelProduct *p = list.Find(QStringLiteral("Zweckform 32015"));
    ASSERT_NE(p, nullptr);
    EXPECT_NEAR(p->FieldSpacing, 6.0, 1e-9);
    EXPECT_NEAR(p->MarginTop, 22.5, 1e-9);
    EXPECT_NEAR(p->MarginBottom, 22.5, 1e-9);
    EXPECT_NEAR(p->ColumnGap, 0.0, 1e-9);
    // A German note: decimal comma.
    EXPECT_TRUE(p->Note.contains(QStringLiteral("Felder 6,0 mm schmaler"))) << p->Note.toStdString();
    TRS sheet;
    p->ApplyTo(sheet);
    const TRSObject *f = sheet.GetField(1, 2);
    EXPECT_NEAR(f->X1, 17 + 91 + 3, 1e-9); // centred on the label
    EXPECT_NEAR(f->Width, 79, 1e-9);
    EXPECT_NEAR(f->Y1, 31.5 + 120, 1e-9);
    EXPECT_NEAR(f->Height, 54, 1e-9);
    ExpectFieldsOnLabels(*p);
}

TEST(LabelProducts, HermaProductsAndSkips)
{
    const TLabelProductList list = ReadSample();
    const TLabelProduct *p = list.Find(QStringLiteral("herma 4464"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GridText(), QStringLiteral("3×8"));
    EXPECT_NEAR(p->LabelWidth, 199 * kPt, 1e-9);
    ExpectFieldsOnLabels(*p);
    // Binder spines: 4283 (and its twin 5090) has 8 mm between the rows but
    // only 11.5 mm above the first label and below the last, less than the
    // 12 mm before the first field; it gets negative top and bottom margins.
    // 4284 (13.5 mm) fits with positive ones. The fields lie on the labels.
    for (const char *part : {"Herma 4283", "Herma 5090", "Herma 4284"}) {
        SCOPED_TRACE(part);
        const TLabelProduct *spine = list.Find(QString::fromLatin1(part));
        ASSERT_NE(spine, nullptr);
        EXPECT_NEAR(spine->FieldSpacing, 8.0, 0.01);
        const double margin = QString::fromLatin1(part).endsWith("4284") ? 13.5 - 12 : 11.5 - 12;
        EXPECT_NEAR(spine->MarginTop, margin, 0.01);
        EXPECT_NEAR(spine->MarginBottom, margin, 0.01);
        EXPECT_TRUE(spine->Note.isEmpty()) << spine->Note.toStdString();
        ExpectFieldsOnLabels(*spine);
    }
    EXPECT_EQ(list.Skipped.at(QStringLiteral("runde Etiketten")), 1);
}

TEST(LabelProducts, EveryProductOfTheSampleLiesOnItsLabels)
{
    const TLabelProductList list = ReadSample();
    EXPECT_EQ(list.Products.size(), 10); // 9 of the vendors' files, 1 of the bad file
    for (const TLabelProduct &p : list.Products)
        ExpectFieldsOnLabels(p);
    // Sorted by vendor, then part.
    for (int i = 1; i < list.Products.size(); ++i)
        EXPECT_LE(QString::localeAwareCompare(list.Products[i - 1].Vendor, list.Products[i].Vendor), 0);
}

TEST(LabelProducts, BadTemplatesAreCountedNeverFatal)
{
    TLabelProductReader reader(ReadLabelPaperSizes(ReadData(QStringLiteral("paper-sizes.xml"))));
    EXPECT_FALSE(reader.ReadTemplates(ReadData(QStringLiteral("bad-templates.xml")),
                                      QStringLiteral("bad-templates.xml")));
    const TLabelProductList list = reader.Finish();
    ASSERT_EQ(list.FileErrors.size(), 1);
    EXPECT_TRUE(list.FileErrors[0].startsWith(QStringLiteral("bad-templates.xml")));
    // Only the one sound template survives; everything else is counted.
    ASSERT_EQ(list.Products.size(), 1);
    EXPECT_EQ(list.Products[0].Vendor, QStringLiteral("Good"));
    ExpectFieldsOnLabels(list.Products[0]);
    EXPECT_EQ(list.TemplatesRead, 13);
    EXPECT_EQ(list.SkippedTotal(), 12);
    const auto count = [&](const char *reason) {
        const auto it = list.Skipped.find(QString::fromUtf8(reason));
        return it == list.Skipped.end() ? 0 : it->second;
    };
    // no-width, unit, rows, nan, no-layout and the one cut off
    EXPECT_EQ(count("fehlende oder ungültige Werte"), 6);
    EXPECT_EQ(count("unbekanntes Papierformat"), 1);
    EXPECT_EQ(count("Etiketten überlappen oder ragen über die Seite"), 1);
    EXPECT_EQ(count("mehrere Anordnungen der Etiketten"), 1);
    EXPECT_EQ(count("ovale Etiketten"), 2); // the oval and its equivalent
    EXPECT_EQ(count("Vorlage des Gegenstücks fehlt"), 1);
}

// Templates with pages kilometres long or millions of labels: such numbers
// would build a sheet of millions of fields (and take all memory); they are
// left out like other impossible templates.
TEST(LabelProducts, HugePagesAndCountsAreLeftOut)
{
    TLabelProductReader reader({});
    const QByteArray xml =
        "<Glabels-templates>"
        "<Template brand=\"Huge\" part=\"page\" size=\"Other\" width=\"1e300mm\" height=\"1e300mm\">"
        "<Label-rectangle id=\"0\" width=\"10mm\" height=\"10mm\">"
        "<Layout nx=\"2000000000\" ny=\"2000000000\" x0=\"0\" y0=\"0\" dx=\"10mm\" dy=\"10mm\"/>"
        "</Label-rectangle></Template>"
        "<Template brand=\"Huge\" part=\"count\" size=\"Other\" width=\"4000mm\" height=\"4000mm\">"
        "<Label-rectangle id=\"0\" width=\"10mm\" height=\"10mm\">"
        "<Layout nx=\"400\" ny=\"400\" x0=\"0\" y0=\"0\" dx=\"10mm\" dy=\"10mm\"/>"
        "</Label-rectangle></Template>"
        "<Template brand=\"Large\" part=\"ok\" size=\"Other\" width=\"1000mm\" height=\"1000mm\">"
        "<Label-rectangle id=\"0\" width=\"10mm\" height=\"10mm\">"
        "<Layout nx=\"100\" ny=\"100\" x0=\"0\" y0=\"0\" dx=\"10mm\" dy=\"10mm\"/>"
        "</Label-rectangle></Template>"
        "</Glabels-templates>";
    EXPECT_TRUE(reader.ReadTemplates(xml, QStringLiteral("huge-templates.xml")));
    const TLabelProductList list = reader.Finish();
    ASSERT_EQ(list.Products.size(), 1);
    EXPECT_EQ(list.Products[0].Vendor, QStringLiteral("Large"));
    EXPECT_EQ(LabelProductFields(list.Products[0]).size(), 10000);
    EXPECT_EQ(list.Skipped.at(QStringLiteral("Seite zu groß oder zu viele Etiketten")), 2);

    // The mapping itself refuses them too.
    TLabelProduct p = list.Products[0];
    p.Columns = 101;
    QString reason;
    EXPECT_FALSE(MapLabelProduct(p, &reason));
    EXPECT_EQ(reason, QStringLiteral("Seite zu groß oder zu viele Etiketten"));
}

TEST(LabelProducts, MissingFolderGivesEmptyList)
{
    const TLabelProductList list = ReadLabelProducts(QStringLiteral("/nonexistent/glabels"));
    EXPECT_TRUE(list.Products.isEmpty());
    EXPECT_EQ(list.TemplatesRead, 0);
}

TEST(LabelProducts, FilterByVendorPartAndSize)
{
    const TLabelProductList list = ReadSample();
    const auto parts = [&](const char *filter) {
        QStringList out;
        for (const TLabelProduct *p : list.Filter(QString::fromUtf8(filter)))
            out.append(p->Vendor + QLatin1Char(' ') + p->Part);
        return out.join(QLatin1Char(','));
    };
    EXPECT_EQ(parts("3475"), QStringLiteral("Zweckform 3475"));
    EXPECT_EQ(parts("70 x 36"), QStringLiteral("Zweckform 3475"));
    EXPECT_EQ(parts("70x36"), QStringLiteral("Zweckform 3475"));
    EXPECT_EQ(parts("67 × 38 mm"), QStringLiteral("Zweckform 3348"));
    EXPECT_EQ(parts("66.7x25.4"), QStringLiteral("Avery 15160,Avery 5160"));
    EXPECT_EQ(parts("herma 44"), QStringLiteral("Herma 4464"));
    EXPECT_EQ(parts("avery address"), QStringLiteral("Avery 15160,Avery 5160"));
    EXPECT_EQ(parts("85 x 55"), QString());
    // German words for the kinds, found by the search too.
    EXPECT_EQ(parts("ordner"), QStringLiteral("Herma 4283,Herma 4284,Herma 5090"));
    EXPECT_EQ(parts("Adressetiketten zweckform"), QStringLiteral("Zweckform 3348,Zweckform 3475"));
    EXPECT_EQ(parts("visitenkarten"), QStringLiteral("Zweckform 32015"));
    EXPECT_EQ(list.Find(QStringLiteral("Herma 4283"))->KindText(), QStringLiteral("Ordnerrücken"));
    TLabelProduct kinds;
    kinds.Description = QStringLiteral("Jar labels, water bottle labels, wine bottle labels");
    EXPECT_EQ(kinds.KindText(), QStringLiteral("Glasetiketten, Flaschenetiketten, Weinflaschen-Etiketten"));
    kinds.Description = QStringLiteral("CD/DVD Labels (face only)");
    EXPECT_EQ(kinds.KindText(), QStringLiteral("CD-Etiketten"));
    kinds.Description = QStringLiteral("Diskette labels");
    EXPECT_EQ(kinds.KindText(), QStringLiteral("Disketten-Etiketten"));
    kinds.Description = QStringLiteral("Name Badges");
    EXPECT_EQ(kinds.KindText(), QStringLiteral("Namensschilder"));
    kinds.Description = QStringLiteral("Printable mousepad");
    EXPECT_EQ(kinds.KindText(), QString());
    EXPECT_EQ(list.Filter(QString()).size(), list.Products.size());
}

TEST(LabelProducts, MappingKeepsFieldsInsideForOddGaps)
{
    // Labels touching the top of the page with a gap below: the top margin
    // is -1.5 spacings and the first field begins at the page edge.
    TLabelProduct p;
    p.Vendor = QStringLiteral("X");
    p.Part = QStringLiteral("1");
    p.PageWidth = 210;
    p.PageHeight = 297;
    p.LabelWidth = 60;
    p.LabelHeight = 30;
    p.Columns = 3;
    p.Rows = 8;
    p.X0 = 0;
    p.Y0 = 0;
    p.Dx = 70;
    p.Dy = 35;
    QString reason;
    ASSERT_TRUE(MapLabelProduct(p, &reason)) << reason.toStdString();
    EXPECT_NEAR(p.MarginTop, -7.5, 1e-9);
    ExpectFieldsOnLabels(p);
    // With room above: 5 mm spacing, fields 60 mm wide in a 70 mm pitch is
    // exactly gap 0; the left margin 7.5 − 5 = 2.5 is not enough for the
    // spacing inside the column, so the fields start 2.5 mm later.
    p.X0 = 2.5;
    p.Y0 = 10;
    ASSERT_TRUE(MapLabelProduct(p, &reason)) << reason.toStdString();
    EXPECT_NEAR(p.FieldSpacing, 5, 1e-9);
    EXPECT_NEAR(p.MarginLeft, 0, 1e-9);
    EXPECT_FALSE(p.Note.isEmpty());
    ExpectFieldsOnLabels(p);
}
