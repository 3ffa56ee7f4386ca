// The label template reader: one template file as the reader gets it from
// the database folder, with the paper sizes of a real database, then the
// resolution of equivalents, the layout of every product and its fields.
#include "fuzz_support.h"

#include "model/label_products.h"

#include <QByteArray>

namespace
{
TLabelPaperSizes paperSizes;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    paperSizes = ReadLabelPaperSizes(QByteArrayLiteral(
        "<Glabels-paper-sizes>"
        "<Paper-size id=\"A4\" name=\"A4\" pwg_size=\"iso_a4_210x297mm\" width=\"210mm\" height=\"297mm\"/>"
        "<Paper-size id=\"US-Letter\" name=\"US Letter\" width=\"8.5in\" height=\"11in\"/>"
        "<Paper-size id=\"A5\" name=\"A5\" width=\"148mm\" height=\"210mm\"/>"
        "</Glabels-paper-sizes>"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    // The same bytes as a paper size list must not trouble that reader either.
    (void)ReadLabelPaperSizes(xml);
    TLabelProductReader reader(paperSizes);
    reader.ReadTemplates(xml, QStringLiteral("fuzz-templates.xml"));
    const TLabelProductList list = reader.Finish();
    for (const TLabelProduct &p : list.Products) {
        (void)p.SizeText();
        (void)p.GridText();
        (void)p.Matches(QStringLiteral("70 x 36"));
        (void)p.Matches(QStringLiteral("3475"));
        (void)LabelProductFields(p);
    }
    (void)list.Find(QStringLiteral("Avery 5160"));
    return 0;
}
