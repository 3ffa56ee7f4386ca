// Composition and pictures: the page's copies of the fields' pictures share
// the converted forms, so composing an unchanged sheet again converts nothing.
#include "canvas/dpaintbox.h"
#include "document/compose.h"
#include "model/picture_internal.h"
#include "model/rs.h"
#include "platform/printer.h"
#include "testsupport.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<TPicture> corpusPicture(const char *relative)
{
    QString error;
    auto pic = TPicture::LoadFromFile(CorpusPath(relative), &error);
    EXPECT_TRUE(pic) << relative << ": " << error.toStdString();
    return pic;
}

class ComposePictures : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        canvas.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
        canvas.SetZoomFaktor(1.0);
        sheet.SetLayout(3, 4, 210, 297, 10, 10, 20, 20, 2, 2, clWhite);
    }

    // Compose as after an edit, then paint the page as the window does.
    QImage RecomposeAndPaint()
    {
        ComposeSheet(sheet, canvas.Page(), settings);
        canvas.Redraw();
        QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        canvas.render(&image);
        return image;
    }

    void FillWith(const TPicture &picture)
    {
        for (std::int32_t c = 0; c < sheet.ColumnCount; ++c)
            for (std::int32_t r = 0; r < sheet.RowCount; ++r) {
                TRSObject *f = sheet.GetField(c, r);
                f->Kind = 2;
                f->Visible = true;
                f->Picture = picture.Clone();
            }
    }

    canvas::TDPaintbox canvas;
    TRS sheet;
    TComposeSettings settings;
};
} // namespace

TEST_F(ComposePictures, RecomposingAnUnchangedSheetConvertsNothing)
{
    auto emf = corpusPicture("emf/poi_wrench.emf");
    ASSERT_TRUE(emf);
    FillWith(*emf);
    sheet.GetField(2, 3)->Picture = corpusPicture("wmf/dotnet_telescope_01.wmf");
    ASSERT_TRUE(sheet.GetField(2, 3)->Picture);

    const QImage first = RecomposeAndPaint();
    const int converted = MetafileConversions();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(RecomposeAndPaint(), first);
    EXPECT_EQ(MetafileConversions(), converted) << "an unchanged picture is never converted again";

    // The page holds copies: the fields' pictures are untouched and the
    // page's elements share their data.
    EXPECT_TRUE(sheet.GetField(0, 0)->Picture->SharesDataWith(*emf));

    // A field given another picture converts that one only, once; the others
    // keep their converted forms.
    sheet.GetField(1, 1)->Picture = corpusPicture("emf/pillow_drawing.emf");
    ASSERT_TRUE(sheet.GetField(1, 1)->Picture);
    const int beforeChange = MetafileConversions();
    const QImage changed = RecomposeAndPaint();
    EXPECT_NE(changed, first);
    EXPECT_LE(MetafileConversions(), beforeChange + 1);
    const int afterChange = MetafileConversions();
    EXPECT_EQ(RecomposeAndPaint(), changed);
    EXPECT_EQ(MetafileConversions(), afterChange);

    // A field emptied, and the picture put back: the page shows it again
    // from the shared converted form.
    auto kept = std::move(sheet.GetField(1, 1)->Picture);
    sheet.GetField(1, 1)->Kind = 0;
    EXPECT_NE(RecomposeAndPaint(), changed);
    sheet.GetField(1, 1)->Kind = 2;
    sheet.GetField(1, 1)->Picture = std::move(kept);
    EXPECT_EQ(RecomposeAndPaint(), changed);
    EXPECT_EQ(MetafileConversions(), afterChange);
}
