// The output path's PDF file: every page of a source on a page of its own,
// the paper of the setup, and a picture used on many pages kept once.

#include "testsupport.h"

#include "canvas/dpage.h"
#include "document/output.h"
#include "model/picture.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace
{
QString tool(const QString &program, const QStringList &args)
{
    return QString::fromUtf8(RunProgram(program, args).out);
}

// Page n shows the logo and the text "Seite n+1".
class LogoPages : public TPageSource
{
  public:
    LogoPages(const TPicture &logo, int count) : logo_(logo), count_(count) {}
    bool Next(canvas::TDPage &page) override
    {
        if (next_ >= count_)
            return false;
        page.SelectPage(1);
        page.ClearPage();
        page.AddPicture(canvas::kSrcCopy, &logo_, 20, 20, 40, 20);
        page.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 6.0, 0);
        page.AddText(QStringLiteral("Seite %1").arg(++next_), 20, 60);
        return true;
    }
    void Rewind() override { next_ = 0; }
    int PageCount() const override { return count_; }

  private:
    const TPicture &logo_;
    int count_;
    int next_ = 0;
};
} // namespace

TEST(OutputPdf, EveryPageOfTheSourceInOneFileWithThePictureKeptOnce)
{
    if (QProcess::execute(QStringLiteral("pdfinfo"), {QStringLiteral("-v")}) < 0)
        GTEST_SKIP() << "pdfinfo fehlt (poppler-utils).";
    TempProgramFolder dir;
    QImage image(160, 80, QImage::Format_RGB32);
    image.fill(QColor(0, 90, 160));
    const auto logo = TPicture::FromImage(image);
    ASSERT_TRUE(logo);
    LogoPages pages(*logo, 3);
    const QString out = dir.File("seiten.pdf");
    QString error;
    ASSERT_TRUE(WritePdf(pages, PdfPageSetup(QSizeF(100, 150)), out, QStringLiteral("Seiten"), &error))
        << error.toStdString();

    const QString info = tool(QStringLiteral("pdfinfo"), {out});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n")))) << info.toStdString();
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch());
    EXPECT_NEAR(size.captured(1).toDouble(), 100 * 72 / 25.4, 0.5);
    EXPECT_NEAR(size.captured(2).toDouble(), 150 * 72 / 25.4, 0.5);
    // The pages in order, each with its own text.
    const QString text = tool(QStringLiteral("pdftotext"), {out, QStringLiteral("-")});
    const qsizetype one = text.indexOf(QStringLiteral("Seite 1")),
                    three = text.indexOf(QStringLiteral("Seite 3"));
    EXPECT_TRUE(one >= 0 && three > one) << text.toStdString();
    // Three placements of one image object.
    const QStringList rows =
        tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), out}).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2 + 3);
    QSet<QString> objects;
    for (qsizetype i = 2; i < rows.size(); ++i) {
        const QStringList cols = rows[i].simplified().split(u' ');
        if (cols.size() > 11)
            objects.insert(cols[10] + u' ' + cols[11]);
    }
    EXPECT_EQ(objects.size(), 1);

    // A source without pages writes nothing and says so.
    LogoPages none(*logo, 0);
    EXPECT_FALSE(WritePdf(none, PdfPageSetup(QSizeF(100, 150)), dir.File("leer.pdf"), QString(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("nicht geschrieben")));
    EXPECT_FALSE(QFile::exists(dir.File("leer.pdf")));

    // Stopped after the second of three pages: the file that was there stays.
    ASSERT_TRUE(QFile::copy(out, dir.File("vorher.pdf")));
    std::vector<std::pair<int, int>> told;
    EXPECT_FALSE(
        WritePdf(pages, PdfPageSetup(QSizeF(100, 150)), out, QString(), &error, [&told](int done, int total) {
            told.emplace_back(done, total);
            return done < 2;
        }));
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}}));
    EXPECT_TRUE(error.contains(QStringLiteral("abgebrochen"))) << error.toStdString();
    EXPECT_EQ(FileBytes(out), FileBytes(dir.File("vorher.pdf")));
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary file left
}
