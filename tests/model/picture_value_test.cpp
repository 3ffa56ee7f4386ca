// Pictures are values: copies share their data and converted forms, cost
// nothing, and never see each other's changes.
#include "model/picture_internal.h"
#include "picture_testutil.h"

#include <gtest/gtest.h>

namespace
{
QImage twoColours(QRgb left, QRgb right)
{
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, left);
    img.setPixel(1, 0, right);
    return img;
}

std::unique_ptr<TPicture> loadCorpus(const char *relative)
{
    QString error;
    auto pic = TPicture::LoadFromFile(CorpusPath(relative), &error);
    EXPECT_TRUE(pic) << relative << ": " << error.toStdString();
    return pic;
}
} // namespace

// A copy and a clone share the data of the original: same bytes at the same
// address, the same answers.
TEST(PictureValue, CopiesShareTheirData)
{
    for (const char *file : {"emf/poi_wrench.emf", "jpeg/pillow_hopper.jpg", "bmp/g/pal8.bmp"}) {
        SCOPED_TRACE(file);
        auto original = loadCorpus(file);
        ASSERT_TRUE(original);
        const TPicture copy = *original;
        auto clone = original->Clone();
        const TPicture *both[] = {&copy, clone.get()};
        for (const TPicture *p : both) {
            EXPECT_TRUE(p->SharesDataWith(*original));
            EXPECT_EQ(p->Bytes().data(), original->Bytes().data()) << "no bytes copied";
            EXPECT_EQ(p->GetKind(), original->GetKind());
            EXPECT_EQ(p->GetMetafileType(), original->GetMetafileType());
            EXPECT_EQ(p->Width(), original->Width());
            EXPECT_EQ(p->Height(), original->Height());
            EXPECT_EQ(RenderTransparent(*p, 60, 40), RenderTransparent(*original, 60, 40));
        }
        // Pictures loaded apart share nothing, even from the same file.
        auto other = loadCorpus(file);
        ASSERT_TRUE(other);
        EXPECT_FALSE(other->SharesDataWith(*original));
        EXPECT_EQ(other->Bytes(), original->Bytes());
    }
}

// Giving one copy another picture leaves every other copy as it was, and the
// original outlives nothing it needs: a copy stays whole when the original
// goes away.
TEST(PictureValue, CopiesAreIndependentValues)
{
    auto red = TPicture::FromImage(twoColours(qRgb(255, 0, 0), qRgb(255, 0, 0)));
    auto blue = TPicture::FromImage(twoColours(qRgb(0, 0, 255), qRgb(0, 0, 255)));
    ASSERT_TRUE(red && blue);
    TPicture a = *red;
    TPicture b = a;
    const TBytes redBytes = red->Bytes();
    b = *blue;
    EXPECT_EQ(a.Bytes(), redBytes);
    EXPECT_EQ(red->Bytes(), redBytes);
    EXPECT_EQ(b.Bytes(), blue->Bytes());
    EXPECT_EQ(a.ToImage().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(b.ToImage().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(RenderTransparent(a, 4, 4).pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(RenderTransparent(b, 4, 4).pixel(1, 1), qRgb(0, 0, 255));

    red.reset();
    EXPECT_EQ(a.Bytes(), redBytes);
    EXPECT_EQ(RenderTransparent(a, 4, 4).pixel(2, 2), qRgb(255, 0, 0));

    // A reduction is a new picture of its own; the source keeps its data.
    auto photo = loadCorpus("jpeg/libjpeg-turbo_testorig.jpg");
    ASSERT_TRUE(photo);
    const TPicture before = *photo;
    auto reduced = photo->ReducedTo300Dpi(5.0);
    ASSERT_TRUE(reduced);
    EXPECT_FALSE(reduced->SharesDataWith(*photo));
    EXPECT_EQ(photo->GetKind(), TPicture::Kind::Jpeg);
    EXPECT_TRUE(photo->SharesDataWith(before));
    EXPECT_EQ(photo->Width(), 227);
}

// The converted forms belong to the shared data: whichever copy draws first
// converts, every other copy draws from it, at the sizes kept; a picture
// loaded apart converts for itself.
TEST(PictureValue, CopiesShareTheConvertedForms)
{
    auto meta = loadCorpus("wmf/dotnet_telescope_01.wmf");
    ASSERT_TRUE(meta);
    const int start = MetafileConversions();
    std::vector<TPicture> copies(5, *meta);
    const QImage first = RenderTransparent(copies[0], 90, 120);
    const int afterFirst = MetafileConversions();
    EXPECT_LE(afterFirst, start + 1); // loading may have converted already
    for (const TPicture &c : copies)
        EXPECT_EQ(RenderTransparent(c, 90, 120), first);
    for (const QSize size : {QSize(45, 60), QSize(180, 240), QSize(30, 40), QSize(90, 120)})
        RenderTransparent(copies[1], size.width(), size.height());
    EXPECT_EQ(RenderTransparent(*meta, 90, 120), first);
    EXPECT_EQ(MetafileConversions(), afterFirst);

    auto apart = TPicture::FromMetafileBytes(meta->Bytes(), nullptr);
    ASSERT_TRUE(apart);
    EXPECT_EQ(RenderTransparent(*apart, 90, 120), first);
    EXPECT_EQ(MetafileConversions(), afterFirst + 1);

    // A photo's scaled decodes are shared the same way: a copy drawn at 1/4
    // shows the very decode the original made.
    auto photo = loadCorpus("jpeg/libjpeg-turbo_testorig.jpg");
    ASSERT_TRUE(photo);
    const QImage quarter = RenderTransparent(*photo, 57, 38, 4);
    const TPicture copy = *photo;
    EXPECT_EQ(RenderTransparent(copy, 57, 38, 4), quarter);
    EXPECT_EQ(RenderTransparent(copy, 57, 38, 1), RenderTransparent(*photo, 57, 38, 1));
}

// Smooth reductions of a bitmap at several sizes are kept side by side, and
// each is the reduction of its own size.
TEST(PictureValue, SmoothReductionsAtSeveralSizes)
{
    QImage img(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            img.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    auto pic = TPicture::FromImage(img);
    ASSERT_TRUE(pic);
    const TPicture copy = *pic;
    auto smooth = [](const TPicture &p, int w, int h) {
        QImage out(w, h, QImage::Format_ARGB32);
        out.fill(Qt::transparent);
        QPainter painter(&out);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        p.Draw(painter, QRectF(0, 0, w, h));
        return out;
    };
    for (int round = 0; round < 2; ++round)
        for (const QSize size : {QSize(20, 10), QSize(10, 5), QSize(8, 4), QSize(4, 2), QSize(2, 1)}) {
            SCOPED_TRACE(size.width());
            const QImage a = smooth(round ? copy : *pic, size.width(), size.height());
            const QImage expected =
                img.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(a.format());
            EXPECT_EQ(a, expected);
        }
}
