// dorlix-cli pdf FILE OUT.pdf [--background] [--cutlines] [--paper ...] and
// dorlix-cli pdf --calibration OUT.pdf: the printed page as a vector PDF,
// composed and drawn through the output path the print command uses, with
// the settings of the program folder.
#include "cli_pdf.h"
#include "cli.h"
#include "cli_merge.h"

#include "document/merge_pages.h"
#include "document/output.h"
#include "document/print_job.h"
#include "document/settings.h"
#include "model/rs.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{

const char *const kUsage =
    "pdf DATEI AUSGABE.pdf [--background] [--cutlines] [--paper A4|Letter|BxHmm] "
    "[(--data LISTE | --count N [--first K]) [--start N] [--order zeilen|spalten] [--fit]] | "
    "pdf --calibration AUSGABE.pdf "
    "[--paper ...]";

void badPaper(const QString &given)
{
    CliError(QStringLiteral("Ungültiges Papierformat: \"%1\" (erlaubt sind A4, Letter oder "
                            "BreitexHöhemm, z. B. 100x150mm, je 10 bis 2000 mm)")
                 .arg(given));
}

int pdf(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption background(QStringLiteral("background"));
    const QCommandLineOption cutLinesOption(QStringLiteral("cutlines"));
    const QCommandLineOption calibrationOption(QStringLiteral("calibration"));
    const QCommandLineOption paperOption(QStringLiteral("paper"), QString(), QStringLiteral("PAPIER"));
    parser.addOptions({background, cutLinesOption, calibrationOption, paperOption});
    CliMergeOptions merge;
    merge.AddTo(parser);
    QString unknown, missing;
    if (!CliParse(parser, args, &unknown, &missing)) {
        if (!missing.isEmpty())
            badPaper(QString());
        else
            CliError(QStringLiteral("Unbekannte Option: %1").arg(unknown));
        return kCliFailed;
    }
    QSizeF paper;
    if (parser.isSet(paperOption) && !ParsePaperSize(parser.values(paperOption).back(), &paper)) {
        badPaper(parser.values(paperOption).back());
        return kCliFailed;
    }
    if (!merge.Read(parser))
        return kCliFailed;
    const bool calibration = parser.isSet(calibrationOption);
    const QStringList files = parser.positionalArguments();
    if (files.size() != (calibration ? 1 : 2)) {
        CliError(QStringLiteral("Aufruf: dorlix-cli %1").arg(QString::fromLatin1(kUsage)));
        return kCliFailed;
    }
    const QString in = calibration ? QString() : files[0];
    const QString out = files.back();

    TRS sheet;
    if (!calibration && !CliLoadSheet(sheet, in, nullptr))
        return kCliFailed;
    if (merge.Wanted() && (calibration || !merge.Prepare(sheet))) {
        if (calibration)
            CliError(QStringLiteral("Die Testseite zum Ausmessen wird ohne Liste gedruckt."));
        return kCliFailed;
    }
    // The page in the orientation the print command chooses; the calibration
    // page is upright.
    const QPageLayout::Orientation orientation =
        calibration ? QPageLayout::Portrait : SheetOrientation(sheet);
    if (paper.isEmpty()) {
        platform::Printer::Instance().Refresh();
        const platform::PrinterPage printerPage = platform::ReadPrinterPage(orientation);
        if (!printerPage.message.isEmpty())
            CliError(printerPage.message);
        paper = QSizeF(printerPage.setup.WidthMm(), printerPage.setup.HeightMm());
    } else if (!calibration && (orientation == QPageLayout::Landscape) != (paper.width() > paper.height())) {
        paper.transpose();
    }

    TPrintOptions options;
    options.Background = parser.isSet(background);
    options.CutLines = parser.isSet(cutLinesOption);
    const TComposeSettings settings = ReadProgramSettings().Compose();
    TSheetPages sheetPage(sheet, settings, options, false);
    TCalibrationPages calibrationPage;
    TMergePages mergePages(merge.Merge(), settings, options, false);
    TPageSource &pages = calibration      ? static_cast<TPageSource &>(calibrationPage)
                         : merge.Wanted() ? static_cast<TPageSource &>(mergePages)
                                          : sheetPage;
    QString error;
    if (!WritePdf(pages, PdfPageSetup(paper), out,
                  calibration ? CalibrationTitle() : QFileInfo(in).completeBaseName(), &error)) {
        CliError(error);
        return kCliFailed;
    }
    return kCliOk;
}

const CliRegistration pdfCommand("pdf", kUsage, &pdf, true);

} // namespace

bool ParsePaperSize(const QString &text, QSizeF *mm)
{
    if (text.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0) {
        *mm = QSizeF(210, 297);
        return true;
    }
    if (text.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0) {
        *mm = QSizeF(215.9, 279.4);
        return true;
    }
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,4}(?:[.,]\\d{1,2})?)[xX×](\\d{1,4}(?:[.,]\\d{1,2})?)mm$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const double w = m.captured(1).replace(u',', u'.').toDouble();
    const double h = m.captured(2).replace(u',', u'.').toDouble();
    if (w < 10 || h < 10 || w > 2000 || h > 2000)
        return false;
    *mm = QSizeF(w, h);
    return true;
}
