#include "model/barcode.h"
#include "model/rs.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace
{

struct Case {
    const char *kind, *data, *zbarType, *decoded;
};
// What the independent decoder knows: everything but DataMatrix, Aztec and
// PDF417 (Debian's zbar is built without it). Retail codes come back with
// their check digit, ITF-14 as interleaved 2 of 5.
constexpr Case kDecodable[] = {
    {"qr", "https://example.org/Archiv/Ordner 12", "QR-Code", "https://example.org/Archiv/Ordner 12"},
    {"code128", "INV-0815", "CODE-128", "INV-0815"},
    {"ean13", "400638133393", "EAN-13", "4006381333931"},
    {"ean8", "9638507", "EAN-8", "96385074"},
    {"upca", "036000291452", "UPC-A", "036000291452"},
    {"code39", "ABC-123", "CODE-39", "ABC-123"},
    {"itf14", "1001234567890", "I2/5", "10012345678902"},
};

// A 3 × 3 sheet with one code of each decodable kind, field by field
// through the command.
QString sheetWithCodes(const TempProgramFolder &dir)
{
    TRS sheet;
    sheet.SetLayout(3, 3, 210, 297, 10, 10, 10, 10, 5, 3, clWhite);
    const QString path = dir.File("codes.rsd");
    EXPECT_TRUE(sheet.SaveToFile(path));
    int i = 0;
    for (const Case &c : kDecodable) {
        QByteArray err;
        EXPECT_EQ(CliExitCode({"barcode", path, QString::number(i % 3 + 1), QString::number(i / 3 + 1),
                               c.kind, QString::fromUtf8(c.data)},
                              &err),
                  0)
            << c.kind << ": " << err.toStdString();
        ++i;
    }
    return path;
}

// Reads the code of every field of a page image at dpi back with zbarimg,
// from the field and the white of the gaps around it, as a scanner sees it.
void expectDecodable(const QString &pageImage, int dpi, const QString &sheetPath,
                     const TempProgramFolder &dir)
{
    const QImage page(pageImage);
    ASSERT_FALSE(page.isNull()) << pageImage.toStdString();
    TRS sheet;
    ASSERT_TRUE(sheet.LoadFromFile(sheetPath));
    int i = 0;
    for (const Case &c : kDecodable) {
        SCOPED_TRACE(c.kind);
        const TRSObject *f = sheet.GetField(i % 3, i / 3);
        ++i;
        ASSERT_TRUE(f);
        const double px = dpi / 25.4;
        const QString crop = dir.File(QStringLiteral("feld-%1.png").arg(i));
        const QRectF around = QRectF(f->Left, f->Top, f->Width, f->Height).adjusted(-1.5, -1.5, 1.5, 1.5);
        ASSERT_TRUE(page.copy(QRectF(around.topLeft() * px, around.size() * px).toRect()).save(crop));
        const ProcessRun zbar =
            RunProgram(QStringLiteral("zbarimg"), {"--nodbus", "-q", "-Supca.enable", crop});
        EXPECT_EQ(zbar.code, 0);
        EXPECT_EQ(zbar.out.trimmed().toStdString(), std::string(c.zbarType) + ":" + c.decoded);
    }
}

bool haveZbar()
{
    return !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty();
}

} // namespace

TEST(CliBarcode, CodesReadBackFromTheRenderedPageAndThePdf)
{
    if (!haveZbar())
        GTEST_SKIP() << "zbarimg fehlt (Debian-Paket zbar-tools): die Codes werden nicht zurückgelesen";
    TempProgramFolder dir;
    const QString sheet = sheetWithCodes(dir);

    const QString png = dir.File("seite.png");
    QByteArray err;
    ASSERT_EQ(CliExitCode({"render", sheet, png, "--dpi", "300", "--no-background"}, &err), 0)
        << err.toStdString();
    expectDecodable(png, 300, sheet, dir);

    const QString pdf = dir.File("seite.pdf");
    ASSERT_EQ(CliExitCode({"pdf", sheet, pdf, "--paper", "A4"}, &err), 0) << err.toStdString();
    ASSERT_EQ(
        RunProgram(QStringLiteral("pdftoppm"), {"-r", "300", "-png", "-singlefile", pdf, dir.File("pdf")})
            .code,
        0);
    expectDecodable(dir.File("pdf.png"), 300, sheet, dir);
}

TEST(CliBarcode, WritesToAnotherFileAndRefusesWithoutTouchingAnything)
{
    TempProgramFolder dir;
    TRS sheet;
    sheet.SetLayout(2, 2, 210, 297, 10, 10, 10, 10, 5, 3, clWhite);
    const QString path = dir.File("bogen.rsd");
    ASSERT_TRUE(sheet.SaveToFile(path));
    const QByteArray before = FileBytes(path);

    const QString out = dir.File("aus.rsd");
    QByteArray err;
    ASSERT_EQ(CliExitCode({"barcode", path, "2", "1", "datamatrix", "--colour", "336699", "--no-text", "--",
                           "-42 Ordner", out},
                          &err),
              0)
        << err.toStdString();
    EXPECT_EQ(FileBytes(path), before);
    TRS read;
    ASSERT_TRUE(read.LoadFromFile(out));
    const TRSObject *f = read.GetField(1, 0);
    ASSERT_TRUE(f && FieldBarcode(*f));
    EXPECT_EQ(FieldBarcode(*f)->kind, TBarcodeKind::DataMatrix);
    EXPECT_EQ(FieldBarcode(*f)->data, QStringLiteral("-42 Ordner"));
    EXPECT_EQ(FieldBarcode(*f)->colour, 0x996633); // $00BBGGRR
    EXPECT_FALSE(FieldBarcode(*f)->humanReadable);

    const struct {
        QStringList args;
        const char *says;
    } refusals[] = {
        {{"barcode", path, "1", "1", "maxicode", "x"}, "Unbekannte Art von Code: \"maxicode\""},
        {{"barcode", path, "1", "1", "ean13", "40063A133393"}, "13 Ziffern"},
        {{"barcode", path, "1", "1", "ean13", "4006381333932"}, "Prüfziffer"},
        {{"barcode", path, "3", "1", "qr", "x"}, "Spalte 3, Reihe 1 gibt es nicht"},
        {{"barcode", path, "0", "1", "qr", "x"}, "ab 1"},
        {{"barcode", dir.File("fehlt.rsd"), "1", "1", "qr", "x"}, "nicht gefunden"},
        {{"barcode", dir.Path(), "1", "1", "qr", "x"}, "Ordner"},
        {{"barcode", path, "1", "1", "qr"}, "Aufruf"},
        {{"barcode", path, "1", "1", "qr", "-5"}, "Unbekannte Option: 5"},
        {{"barcode", path, "1", "1", "qr", "x", "--colour", "grün"}, "Ungültige Farbe"},
    };
    for (const auto &r : refusals) {
        EXPECT_EQ(CliExitCode(r.args, &err), 2) << r.says;
        EXPECT_TRUE(QString::fromUtf8(err).contains(QString::fromUtf8(r.says))) << err.toStdString();
    }
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(QDir(dir.Path()).entryList({"*.rsd"}, QDir::Files).size(), 2); // no temporary file left
}

// Codes with placeholders in a sheet filled from a list: every record's code
// is read back from the PDF's pages, and a record the code cannot hold stops
// the output before anything is written.
TEST(CliBarcode, EachRecordOfAListGetsItsOwnCode)
{
    if (!haveZbar())
        GTEST_SKIP() << "zbarimg fehlt (Debian-Paket zbar-tools): die Codes werden nicht zurückgelesen";
    TempProgramFolder dir;
    TRS sheet;
    sheet.SetLayout(2, 2, 210, 297, 10, 10, 10, 10, 5, 3, clWhite);
    const QString path = dir.File("serie.rsd");
    ASSERT_TRUE(sheet.SaveToFile(path));
    QByteArray err;
    ASSERT_EQ(CliExitCode({"barcode", path, "1", "1", "qr", "https://example.org/{Ordner}/{#:000}"}, &err), 0)
        << err.toStdString();
    ASSERT_EQ(CliExitCode({"barcode", path, "2", "2", "ean13", "{EAN}"}, &err), 0) << err.toStdString();
    const QString list = dir.File("liste.csv");
    {
        QFile f(list);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Ordner;EAN\nSteuer;400638133393\nBank;9638507000004\nMiete;5901234123457\n");
    }
    const QString pdf = dir.File("serie.pdf");
    ASSERT_EQ(CliExitCode({"pdf", path, pdf, "--data", list, "--paper", "A4"}, &err), 0) << err.toStdString();
    ASSERT_EQ(RunProgram(QStringLiteral("pdftoppm"), {"-r", "200", "-png", pdf, dir.File("seite")}).code, 0);
    QStringList decoded;
    for (const QString &page : QDir(dir.Path()).entryList({"seite*.png"}, QDir::Files, QDir::Name)) {
        const QByteArray out = RunProgram(QStringLiteral("zbarimg"), {"--nodbus", "-q", dir.File(page)}).out;
        QStringList symbols = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        symbols.sort();
        decoded.append(QStringLiteral("Seite: ") + symbols.join(QStringLiteral(" | ")));
    }
    EXPECT_EQ(decoded.join(QLatin1Char('\n')).toStdString(),
              "Seite: EAN-13:9638507000004 | QR-Code:https://example.org/Steuer/001\n"
              "Seite: QR-Code:https://example.org/Miete/003");

    QFile::remove(pdf);
    {
        QFile f(list);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Ordner;EAN\nSteuer;400638133393\nBank;40063813339X\n");
    }
    EXPECT_EQ(CliExitCode({"pdf", path, pdf, "--data", list, "--paper", "A4"}, &err), 2);
    EXPECT_TRUE(
        QString::fromUtf8(err).startsWith("Datensatz 2 lässt sich nicht als Code in Spalte 2, Reihe 2"))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}
