// dorlix-cli products [FILTER]: lists the label products of the installed
// template database as "VENDOR<TAB>PART<TAB>COLUMNS×ROWS<TAB>W×H mm".
// dorlix-cli new "VENDOR PART" OUT.rsd: writes an empty sheet whose fields
// lie on the product's labels.
#include "cli.h"

#include "model/label_products.h"
#include "model/rs.h"

#include <QDir>

#include <cstdio>

namespace
{
bool LoadProducts(TLabelProductList *list)
{
    const QString folder = LabelTemplateFolder();
    if (!QDir(folder).exists()) {
        CliError(QStringLiteral("Die Etikettendatenbank wurde nicht gefunden (%1).\r\n"
                                "Sie gehört zum Paket glabels-data.")
                     .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    *list = ReadLabelProducts(folder);
    return true;
}

int ProductsMain(const QStringList &args)
{
    TLabelProductList list;
    if (!LoadProducts(&list))
        return kCliFailed;
    const QString filter = args.join(QLatin1Char(' '));
    for (const TLabelProduct *p : list.Filter(filter)) {
        QString line = p->Vendor + QLatin1Char('\t') + p->Part + QLatin1Char('\t') + p->GridText() +
                       QLatin1Char('\t') + p->SizeText();
        if (!p->Note.isEmpty())
            line += QLatin1Char('\t') + p->Note;
        std::printf("%s\n", line.toUtf8().constData());
    }
    return kCliOk;
}

int NewMain(const QStringList &args)
{
    if (args.size() != 2) {
        CliError(QStringLiteral("Aufruf: dorlix-cli new \"HERSTELLER TEILENUMMER\" DATEI.rsd"));
        return kCliFailed;
    }
    TLabelProductList list;
    if (!LoadProducts(&list))
        return kCliFailed;
    const TLabelProduct *product = list.Find(args[0]);
    if (!product) {
        CliError(QStringLiteral("Das Etikett \"%1\" ist nicht bekannt.\r\n"
                                "\"dorlix-cli products\" zeigt die bekannten Etiketten.")
                     .arg(args[0]));
        return kCliFailed;
    }
    TRS sheet;
    product->ApplyTo(sheet);
    return CliSaveSheet(sheet, args[1]) ? kCliOk : kCliFailed;
}

CliRegistration regProducts("products", "products [FILTER]", &ProductsMain);
CliRegistration regNew("new", "new \"VENDOR PART\" OUT.rsd", &NewMain);
} // namespace
