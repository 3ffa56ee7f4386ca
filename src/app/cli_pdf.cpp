// dorlix-cli pdf FILE OUT.pdf [--background] [--cutlines] [--paper ...] and
// dorlix-cli pdf --calibration OUT.pdf: the printed page as a vector PDF,
// composed and drawn exactly as the print command does.
#include "cli_pdf.h"
#include "cli.h"
#include "document/calibration.h"

#include "canvas/dpage.h"
#include "document/compose.h"
#include "document/print_job.h"
#include "model/rs.h"
#include "model/safe_file.h"
#include "platform/printer.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace
{

constexpr double kMmPerInch = 25.4;
constexpr int kPdfDpi = 1200; // fine enough that millimetre positions stay exact

const char *const kUsage = "pdf DATEI AUSGABE.pdf [--background] [--cutlines] [--paper A4|Letter|BxHmm] | "
                           "pdf --calibration AUSGABE.pdf "
                           "[--paper ...]";

int pdf(const QStringList &args)
{
    QString in, out;
    bool background = false, cutLines = false, calibration = false;
    QSizeF paper;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--background")) {
            background = true;
        } else if (a == QLatin1String("--cutlines")) {
            cutLines = true;
        } else if (a == QLatin1String("--calibration")) {
            calibration = true;
        } else if (a == QLatin1String("--paper")) {
            if (i + 1 >= args.size() || !ParsePaperSize(args[i + 1], &paper)) {
                CliError(QStringLiteral("Ungültiges Papierformat: \"%1\" (erlaubt sind A4, Letter oder "
                                        "BreitexHöhemm, z. B. 100x150mm, je 10 bis 2000 mm)")
                             .arg(i + 1 < args.size() ? args[i + 1] : QString()));
                return kCliFailed;
            }
            ++i;
        } else if (a.startsWith(QLatin1String("--"))) {
            CliError(QStringLiteral("Unbekannte Option: %1").arg(a));
            return kCliFailed;
        } else if (in.isEmpty() && !calibration) {
            in = a;
        } else if (out.isEmpty()) {
            out = a;
        } else {
            out.clear();
            break;
        }
    }
    if (calibration && !in.isEmpty() && out.isEmpty()) {
        out = in; // "--calibration" given after the output name
        in.clear();
    }
    if (out.isEmpty() || (calibration ? !in.isEmpty() : in.isEmpty())) {
        CliError(QStringLiteral("Aufruf: dorlix-cli %1").arg(QString::fromLatin1(kUsage)));
        return kCliFailed;
    }

    canvas::TDPage page;
    platform::Printer &printer = platform::Printer::Instance();
    TRS sheet;
    if (calibration) {
        printer.SetOrientation(QPageLayout::Portrait);
        page.RefreshPrinter();
        if (paper.isEmpty())
            paper = QSizeF(page.PageWidthMm(), page.PageHeightMm());
        AddCalibrationPage(page, paper.width(), paper.height());
    } else {
        if (!CliLoadSheet(sheet, in, nullptr))
            return kCliFailed;
        // The page in the orientation the print command chooses for the sheet.
        const QPageLayout::Orientation orientation =
            canvas::OrientationFor(sheet.PageWidth, sheet.PageHeight);
        printer.SetOrientation(orientation);
        page.RefreshPrinter();
        page.SetSeite0Ausgabe(background);
        page.SetPageInfosShown(false);
        ComposeSheet(sheet, page, TComposeSettings{});
        if (paper.isEmpty())
            paper = QSizeF(page.PageWidthMm(), page.PageHeightMm());
        else if ((orientation == QPageLayout::Landscape) != (paper.width() > paper.height()))
            paper.transpose();
        if (cutLines)
            AddCutLines(sheet, page, paper.width(), paper.height());
    }

    QString error;
    if (!WritePagePdf(page, paper, out, calibration ? CalibrationTitle() : QFileInfo(in).completeBaseName(),
                      &error)) {
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

bool WritePagePdf(const canvas::TDPage &page, QSizeF paperMm, const QString &out, const QString &title,
                  QString *error)
{
    const QString shown = QDir::toNativeSeparators(out);
    if (QFileInfo(out).isDir()) {
        *error = QStringLiteral("\"%1\" ist ein Ordner, keine Datei.").arg(shown);
        return false;
    }
    TSafeFile file(out);
    if (!file.Open()) {
        *error = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.\n%2")
                     .arg(shown, file.ErrorString());
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file.Device());
        writer.setCreator(QStringLiteral("Dorlix"));
        writer.setTitle(title);
        writer.setResolution(kPdfDpi);
        // A4 and Letter keep their names; other sizes are taken as they are.
        const QPageSize size(paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        QPainter p;
        if (p.begin(&writer)) {
            canvas::TDrawTarget target = page.PrinterTarget();
            // Origin at the paper's corner: the PDF page is the whole sheet.
            target.map.pixelPerMmX = target.map.pixelPerMmY = kPdfDpi / kMmPerInch;
            target.map.originXMm = target.map.originYMm = 0;
            target.map.zoom = 1.0;
            target.pageInfo = false;
            page.Draw(p, target);
            painted = p.end();
        }
    }
    if (!painted) {
        file.Cancel();
        *error = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.").arg(shown);
        return false;
    }
    if (!file.Commit()) {
        *error = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.\n%2")
                     .arg(shown, file.ErrorString());
        return false;
    }
    return true;
}
