// dorlix-cli pdf with a list: the records land in their labels, page after
// page, from the start label on; what cannot be filled is refused before
// anything is written.
#include "testsupport.h"

#include "model/rs.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>

namespace
{
constexpr double kPt = 72 / 25.4;

struct Word {
    int page;
    QRectF box; // points
};

// Every word of the PDF with its page and box, as pdftotext -bbox gives them.
std::multimap<QString, Word> words(const QString &pdf)
{
    const QString html = QString::fromUtf8(
        RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}).out);
    static const QRegularExpression re(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" "
                       "xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::multimap<QString, Word> result;
    int page = 0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        result.insert({m.captured(5), Word{page, box}});
    }
    return result;
}

QRectF fieldBox(const TRS &sheet, int column, int row)
{
    const TRSObject *f = sheet.GetField(column, row);
    return QRectF(f->Left * kPt, f->Top * kPt, f->Width * kPt, f->Height * kPt);
}
} // namespace

TEST(CliMerge, RecordsLieInTheirLabelsPageAfterPage)
{
    TempProgramFolder dir;
    TRS sheet;
    sheet.SetLayout(3, 4, 210, 297, 10, 10, 10, 10, 4, 2, clWhite);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 4; ++r) {
            TRSObject *f = sheet.GetField(c, r);
            f->Kind = TFieldKind::Text;
            f->Visible = true;
            f->FontHeight = 4;
            f->Text = "{Name}\r\n{Ort}";
        }
    sheet.GetField(0, 0)->Text = "Kopf";
    const QString rsd = dir.File(QStringLiteral("serie.rsd")), csv = dir.File(QStringLiteral("liste.csv"));
    ASSERT_TRUE(sheet.SaveToFile(rsd));
    QFile list(csv);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("Name;Ort\r\n");
    for (int i = 1; i <= 14; ++i)
        list.write(QStringLiteral("N%1;O%1\r\n").arg(i, 2, 10, QLatin1Char('0')).toLatin1());
    list.close();

    const QString pdf = dir.File(QStringLiteral("serie.pdf"));
    QByteArray err;
    ASSERT_EQ(
        CliExitCode({"pdf", rsd, pdf, "--paper", "A4", "--data", csv, "--start", "3", "--order", "spalten"},
                    &err),
        0)
        << err.toStdString();
    const auto found = words(pdf);
    // Columns order, labels 1 and 2 of the first page used: N01 goes to
    // the third label, the first column's third row; page 2 starts at the
    // top again, after the fixed heading.
    struct Expect {
        const char *word;
        int page, column, row;
    };
    for (const Expect &e :
         {Expect{"N01", 1, 0, 2}, Expect{"O01", 1, 0, 2}, Expect{"N03", 1, 1, 0}, Expect{"N10", 1, 2, 3},
          Expect{"Kopf", 2, 0, 0}, Expect{"N11", 2, 0, 1}, Expect{"N14", 2, 1, 0}}) {
        const auto [first, last] = found.equal_range(QString::fromLatin1(e.word));
        ASSERT_EQ(std::distance(first, last), 1) << e.word;
        EXPECT_EQ(first->second.page, e.page) << e.word;
        EXPECT_TRUE(fieldBox(sheet, e.column, e.row).contains(first->second.box)) << e.word;
    }
    EXPECT_EQ(found.count(QStringLiteral("{Name}")), 0u);

    // A placeholder the list does not have: refused, nothing written.
    sheet.GetField(2, 3)->Text = "{Strasse}";
    ASSERT_TRUE(sheet.SaveToFile(rsd));
    const QString refused = dir.File(QStringLiteral("nein.pdf"));
    EXPECT_EQ(CliExitCode({"pdf", rsd, refused, "--paper", "A4", "--data", csv}, &err), 2);
    EXPECT_TRUE(QString::fromUtf8(err).contains(QStringLiteral("{Strasse}"))) << err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(err).contains(QStringLiteral("Name, Ort"))) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(refused));
    EXPECT_EQ(CliExitCode({"pdf", rsd, refused, "--paper", "A4", "--count", "0"}, &err), 2);
    EXPECT_EQ(CliExitCode({"pdf", rsd, refused, "--paper", "A4", "--start", "2"}, &err), 2);
    EXPECT_FALSE(QFileInfo::exists(refused));
}
