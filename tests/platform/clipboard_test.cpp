#include "../model/picture_testutil.h"
#include "platform/clipboard.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

namespace
{

std::unique_ptr<TPicture> loadCorpus(const char *relative)
{
    QString error;
    auto pic = TPicture::LoadFromFile(CorpusPath(relative), &error);
    EXPECT_TRUE(pic) << error.toStdString();
    return pic;
}

QClipboard *board()
{
    return QGuiApplication::clipboard();
}
} // namespace

// Text goes out as Unicode with the system's line breaks and comes back in
// the program's code page with CR LF; characters outside it become "?".
TEST(Clipboard, TextInCodePage)
{
    platform::SetClipboardText("Gr\xFC\xDF"
                               "e\r\n\x80 5,-");
    EXPECT_EQ(board()->text(), QString::fromUtf8("Grüße\n€ 5,-"));
    EXPECT_TRUE(platform::ClipboardHasText());
    EXPECT_EQ(platform::ClipboardText(), "Gr\xFC\xDF"
                                         "e\r\n\x80 5,-");

    board()->setText(QString::fromUtf8("Ωmega\r\nzwei\rdrei\nvier"));
    EXPECT_EQ(platform::ClipboardText(), "?mega\r\nzwei\r\ndrei\r\nvier");

    board()->clear();
    EXPECT_FALSE(platform::ClipboardHasText());
    EXPECT_EQ(platform::ClipboardText(), "");
}

// A bitmap travels as an image and comes back as a 24-bit bitmap with the
// same pixels.
TEST(Clipboard, BitmapRoundTrip)
{
    const TBytes bytes = ReadCorpus("bmp/g/pal8.bmp");
    auto pic = TPicture::FromBmpStream(bytes.data(), bytes.size(), TBmpMode::File, nullptr, nullptr);
    ASSERT_TRUE(pic);
    platform::SetClipboardPicture(*pic);
    EXPECT_TRUE(platform::ClipboardHasBitmap());
    EXPECT_FALSE(platform::ClipboardHasMetafile());
    EXPECT_FALSE(platform::ClipboardHasText());
    const QImage shared = qvariant_cast<QImage>(board()->mimeData()->imageData());
    EXPECT_EQ(shared.convertToFormat(QImage::Format_RGB32), pic->ToImage());

    auto back = platform::ClipboardPicture();
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->IsBitmap());
    EXPECT_EQ(back->BmpInfo().bitCount, 24);
    EXPECT_EQ(back->ToImage(), pic->ToImage());

    // Images put there by other programs arrive the same way.
    QImage foreign(3, 2, QImage::Format_ARGB32);
    foreign.fill(qRgb(10, 200, 30));
    board()->setImage(foreign);
    auto pasted = platform::ClipboardPicture();
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->Width(), 3);
    EXPECT_EQ(pasted->ToImage().pixel(2, 1), qRgb(10, 200, 30));
}

// Metafiles travel with their exact bytes under their MIME types, with a
// rendered image beside them, and come back as metafiles.
TEST(Clipboard, MetafileRoundTrip)
{
    const struct {
        const char *file;
        QStringList types;
        TPicture::MetafileType type;
    } cases[] = {
        {"emf/poi_wrench.emf", platform::EmfMimeTypes(), TPicture::MetafileType::Emf},
        {"wmf/pillow_drawing.wmf", platform::WmfMimeTypes(), TPicture::MetafileType::Wmf},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        auto pic = loadCorpus(c.file);
        ASSERT_TRUE(pic);
        platform::SetClipboardPicture(*pic);
        const QMimeData *data = board()->mimeData();
        for (const QString &type : c.types)
            EXPECT_EQ(data->data(type), QByteArray(reinterpret_cast<const char *>(pic->Bytes().data()),
                                                   qsizetype(pic->Bytes().size())));
        EXPECT_TRUE(platform::ClipboardHasMetafile());
        ASSERT_TRUE(data->hasImage());
        const QImage rendered = qvariant_cast<QImage>(data->imageData());
        EXPECT_EQ(rendered.size(), QSize(pic->Width(), pic->Height()));
        EXPECT_NE(rendered.pixel(rendered.width() / 2, rendered.height() / 2), qRgb(255, 255, 255));
        EXPECT_EQ(rendered.pixel(rendered.width() - 1, 0), qRgb(255, 255, 255)); // paper where no ink is

        auto back = platform::ClipboardPicture();
        ASSERT_TRUE(back);
        EXPECT_TRUE(back->IsMetafile());
        EXPECT_EQ(back->GetMetafileType(), c.type);
        EXPECT_EQ(back->Bytes(), pic->Bytes());
    }
}

// Metafiles from other programs: a plain Windows metafile gets a placeable
// header; unreadable metafile data gives no picture, even beside an image.
TEST(Clipboard, ForeignMetafiles)
{
    const TBytes plain = ReadCorpus("wmf/dotnet_gdiwmfboundariesbug.wmf");
    auto *data = new QMimeData;
    data->setData("image/wmf",
                  QByteArray(reinterpret_cast<const char *>(plain.data()), qsizetype(plain.size())));
    board()->setMimeData(data);
    EXPECT_TRUE(platform::ClipboardHasMetafile());
    EXPECT_FALSE(platform::ClipboardHasBitmap());
    auto pic = platform::ClipboardPicture();
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->GetMetafileType(), TPicture::MetafileType::Wmf);
    EXPECT_EQ(pic->Bytes().size(), plain.size() + 22);

    auto *broken = new QMimeData;
    broken->setData("image/x-emf", QByteArray("not a metafile"));
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    broken->setImageData(image);
    board()->setMimeData(broken);
    EXPECT_FALSE(platform::ClipboardPicture());

    board()->clear();
    EXPECT_FALSE(platform::ClipboardPicture());
    EXPECT_FALSE(platform::ClipboardHasBitmap());
    EXPECT_FALSE(platform::ClipboardHasMetafile());
}
