#pragma once
// Label products of the label-sheet vendors, read from the gLabels template
// database (Debian package glabels-data), and their translation into a
// sheet layout: page size, margins, counts, column gap and field spacing
// so that every field lies on the product's label.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <map>

class TRS;

// One label sheet product whose labels the sheet model can hold.
struct TLabelProduct {
    QString Vendor;
    QString Part;
    QString Description;
    QString EquivalentOf; // part number of the product this one copies, or empty

    // The product's own numbers, all in millimetres.
    double PageWidth = 0, PageHeight = 0;
    double LabelWidth = 0, LabelHeight = 0;
    int Columns = 0, Rows = 0;
    double X0 = 0, Y0 = 0; // top-left corner of the first label
    double Dx = 0, Dy = 0; // pitch from label to label

    // The sheet layout that places the fields on the labels.
    double MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    double ColumnGap = 0, FieldSpacing = 0;
    // Non-empty when the fields cannot cover the labels exactly (they are
    // then smaller than the labels but lie inside them).
    QString Note;

    // "70.1×36.0 mm"
    QString SizeText() const;
    // "3×8"
    QString GridText() const;
    // The kind of label in German words ("Adressetiketten", "Ordnerrücken"),
    // from the English description; empty for a description of no known kind.
    QString KindText() const;
    // Case-insensitive search in vendor, part, description (English and
    // German) and size, where
    // "70 x 36" or "70x36" matches labels of 70 × 36 mm (whole millimetres).
    bool Matches(const QString &filter) const;
    // Sets the layout of the sheet (all content is discarded).
    void ApplyTo(TRS &sheet) const;
};

// Where the fields of a layout lie (page millimetres), for checks against
// the product's labels.
struct TLabelFieldRect {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The products of a database and what had to be left out, counted by reason.
struct TLabelProductList {
    QVector<TLabelProduct> Products;
    std::map<QString, int> Skipped; // reason -> number of templates
    int TemplatesRead = 0;          // every <Template> element seen
    QStringList FileErrors;         // files that could not be read or parsed

    int SkippedTotal() const;
    // Vendor and part compared without regard to case; "Zweckform 3475".
    const TLabelProduct *Find(const QString &vendorAndPart) const;
    QVector<const TLabelProduct *> Filter(const QString &filter) const;
};

// Folder of the installed template database (may not exist).
QString LabelTemplateFolder();

// Paper sizes of paper-sizes.xml: id -> width, height in millimetres.
using TLabelPaperSizes = QHash<QString, std::pair<double, double>>;
TLabelPaperSizes ReadLabelPaperSizes(const QByteArray &xml);

// A length of the template files ("3.5mm", "2in", "12"): millimetres; false
// for anything that is not a finite number with a known unit (pt, in, mm, cm,
// pc; points without one).
bool ParseLabelLength(QStringView text, double *mm);

// Reads one template file into list (products still to be resolved and
// mapped by FinishLabelProducts).
class TLabelProductReader
{
  public:
    explicit TLabelProductReader(TLabelPaperSizes paperSizes);
    // Returns false when the file is not well-formed XML (what was read
    // before the error is kept).
    bool ReadTemplates(const QByteArray &xml, const QString &fileName);
    // Resolves equivalents, maps every product onto the sheet model and sorts
    // the list by vendor and part.
    TLabelProductList Finish();

  private:
    void Skip(const QString &reason);
    TLabelPaperSizes paper_;
    QVector<TLabelProduct> products_;
    QVector<TLabelProduct> equivalents_;
    QHash<QString, QString> skippedReasons_; // vendor/part -> reason
    TLabelProductList list_;
};

// Reads paper-sizes.xml and every *-templates.xml of the folder.
TLabelProductList ReadLabelProducts(const QString &folder = LabelTemplateFolder());

// Computes the sheet layout of a product from its own numbers; false with a
// reason when the sheet model cannot place fields inside the labels.
bool MapLabelProduct(TLabelProduct &product, QString *reason);

// The field rectangles the sheet model makes of the product's layout
// (column-major: column 0 rows 0..n-1, then column 1 ...).
QVector<TLabelFieldRect> LabelProductFields(const TLabelProduct &product);
