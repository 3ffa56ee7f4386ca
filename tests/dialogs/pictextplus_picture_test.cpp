// The field editor's picture side, driven by real clicks: a picture from a
// file (every format), files that cannot be read, the clipboard in both
// directions, the reduction to 300 dpi and the preview.
#include "field_editor_testing.h"

#include "model/picture.h"
#include "platform/clipboard.h"
#include "platform/file_dialogs.h"
#include "testsupport.h"

#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVPanel.h"
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>

namespace
{

// Answers the open dialog with a path and records the request.
class FileAnswer
{
  public:
    explicit FileAnswer(const QString &path)
    {
        previous_ =
            platform::SetFileDialogHandler([this, path](QWidget *, const platform::FileDialogRequest &r) {
                request = r;
                ++asked;
                return path;
            });
    }
    ~FileAnswer() { platform::SetFileDialogHandler(previous_); }
    platform::FileDialogRequest request;
    int asked = 0;

  private:
    platform::FileDialogHandler previous_;
};

QImage HalfTransparent(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.fillRect(QRect(w / 2, 0, w - w / 2, h), Qt::red);
    return img;
}

class PictureEditorTest : public FieldEditorTest
{
  protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString Save(const QString &name, const QImage &img, const char *format)
    {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(img.save(path, format, format == QByteArray("webp") ? 100 : -1));
        return path;
    }

    void ClickFileLabel() { QTest::mouseClick(dlg_->MUVLabel1, Qt::LeftButton); }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(PictureEditorTest, PictureFromFileInEveryFormat)
{
    TForm_pictextplus *dlg = Open();
    ClickTab(1);
    EXPECT_EQ(dlg->PageControl1->currentWidget(), dlg->TAB_Grafik);
    EXPECT_TRUE(dlg->cb_datred->isChecked());
    EXPECT_FALSE(dlg->cb_datred->isEnabled());

    const QImage big = HalfTransparent(1000, 400);
    const QString svg = Write("z.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 40\">"
                                       "<rect x=\"50\" width=\"50\" height=\"40\" fill=\"red\"/></svg>");
    for (const QString &path :
         {Save("a.png", big, "png"), Save("a.tif", big, "tiff"), Save("a.webp", big, "webp"),
          Save("a.bmp", big.convertToFormat(QImage::Format_RGB32), "bmp"),
          Save("a.jpg", big.convertToFormat(QImage::Format_RGB32), "jpg"), svg}) {
        FileAnswer answer(path);
        ClickFileLabel();
        ASSERT_EQ(answer.asked, 1);
        EXPECT_EQ(dlg->MUVLabel1->text(), path);
        ASSERT_TRUE(field_.Picture) << path.toStdString();
        EXPECT_TRUE(field_.Picture->IsBitmap());
        EXPECT_EQ(field_.Picture->BmpInfo().bitCount, 24);
        // 50 mm at 300 dpi.
        EXPECT_EQ(field_.Picture->Width(), 591) << path.toStdString();
        EXPECT_EQ(field_.Picture->Height(), 236) << path.toStdString();
        EXPECT_EQ(field_.Kind, TFieldKind::Picture);
        if (path.endsWith(QStringLiteral(".png")) || path.endsWith(QStringLiteral(".svg"))) {
            // Transparent areas take the field's background (green).
            const QImage shown = field_.Picture->ToImage();
            EXPECT_EQ(shown.pixelColor(5, 100), QColor(0, 255, 0)) << path.toStdString();
            EXPECT_EQ(shown.pixelColor(580, 100), QColor(255, 0, 0)) << path.toStdString();
        }
        EXPECT_EQ(doc_.PictureFolder, dir_.path());
        EXPECT_TRUE(dlg->btn_CopyPic->isEnabled());
    }
    // The preview keeps the picture's aspect inside the panel.
    const QRect g = dlg->Image1->geometry();
    EXPECT_NEAR(double(g.width()) / g.height(), 591.0 / 236, 0.05);
    EXPECT_LE(g.right(), dlg->MUVPanel5->width());

    // The dialog's request: title, filters, the folder of the last picture.
    FileAnswer again{QString()};
    ClickFileLabel();
    EXPECT_EQ(again.request.title, QStringLiteral("Grafik wählen..."));
    EXPECT_EQ(again.request.startFolder, dir_.path());
    EXPECT_EQ(again.request.defaultSuffix, QStringLiteral("wmf"));
    EXPECT_EQ(again.request.filter,
              QStringLiteral(
                  "Alle Grafiken|*.bmp;*.emf;*.wmf;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.webp;*.svg"
                  "|Bitmaps (*.bmp)|*.bmp|Erweiterte Metadateien (*.emf)|*.emf|Metadateien (*.wmf)|*.wmf"
                  "|JPEG-Dateien (*.jpg)|*.jpg;*.jpeg"
                  "|Weitere Bilder (*.png;*.gif;*.tif;*.tiff;*.webp;*.svg)|*.png;*.gif;*.tif;*.tiff;*.webp;"
                  "*.svg"));
    EXPECT_EQ(platform::QtFilter(again.request.filter).split(QStringLiteral(";;")).first(),
              QStringLiteral(
                  "Alle Grafiken (*.bmp *.emf *.wmf *.jpg *.jpeg *.png *.gif *.tif *.tiff *.webp *.svg)"));
    EXPECT_TRUE(field_.Picture); // cancelling the file dialog keeps the picture

    QTest::mouseClick(dlg->BTN_OK, Qt::LeftButton);
    EXPECT_EQ(dlg->result(), 1);
    EXPECT_EQ(field_.Kind, TFieldKind::Picture);
}

TEST_F(PictureEditorTest, SmallPicturesKeepTheirSize)
{
    Open();
    ClickTab(1);
    FileAnswer answer(Save("klein.png", HalfTransparent(120, 60), "png"));
    ClickFileLabel();
    ASSERT_TRUE(field_.Picture);
    EXPECT_EQ(field_.Picture->Width(), 120);
    EXPECT_EQ(field_.Picture->Height(), 60);
}

TEST_F(PictureEditorTest, UnreadableFilesAreReportedAndLeaveTheFieldAsItWas)
{
    TForm_pictextplus *dlg = Open();
    ClickTab(1);
    MessageCapture messages;

    QByteArray png;
    {
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        HalfTransparent(64, 64).save(&b, "png");
    }
    png.truncate(png.size() / 2);
    {
        FileAnswer answer(Write("kaputt.png", png));
        ClickFileLabel();
    }
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Error);
    EXPECT_TRUE(messages.Texts()[0].contains(QStringLiteral("kaputt.png")));
    EXPECT_TRUE(
        messages.Texts()[0].contains(QStringLiteral("PNG-Bild ist nicht gültig (die Datei ist beschädigt)")))
        << messages.Texts()[0].toStdString();
    EXPECT_FALSE(field_.Picture);
    EXPECT_EQ(field_.Kind, TFieldKind::Text); // still the text field it was
    EXPECT_FALSE(dlg->PreviewPicture());

    // A 12-bit JPEG is refused for what it is.
    QImage green(16, 16, QImage::Format_RGB32);
    green.fill(Qt::green);
    QByteArray jpg;
    {
        QBuffer b(&jpg);
        b.open(QIODevice::WriteOnly);
        green.save(&b, "jpg");
    }
    const int sof = int(jpg.indexOf(QByteArray("\xFF\xC0", 2)));
    ASSERT_GT(sof, 0);
    jpg[sof + 1] = char(0xC1);
    jpg[sof + 4] = 12;
    messages.Clear();
    {
        FileAnswer answer(Write("zwoelf.jpg", jpg));
        ClickFileLabel();
    }
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Texts()[0].contains(QStringLiteral("12 Bit je Farbkanal werden nicht unterstützt")))
        << messages.Texts()[0].toStdString();
    EXPECT_FALSE(messages.Texts()[0].contains(QStringLiteral("beschädigt")));

    // A picture already there stays when the next file fails.
    {
        FileAnswer answer(Save("gut.png", HalfTransparent(40, 20), "png"));
        ClickFileLabel();
    }
    ASSERT_TRUE(field_.Picture);
    const TBytes kept = field_.Picture->Bytes();
    messages.Clear();
    {
        FileAnswer answer(Write("leer.png", QByteArray()));
        ClickFileLabel();
    }
    EXPECT_EQ(messages.Messages().size(), 1u);
    ASSERT_TRUE(field_.Picture);
    EXPECT_EQ(field_.Picture->Bytes(), kept);
}

TEST_F(PictureEditorTest, PictureFromAndToTheClipboard)
{
    TForm_pictextplus *dlg = Open();
    ClickTab(1);
    EXPECT_FALSE(dlg->btn_CopyPic->isEnabled());

    QApplication::clipboard()->setImage(HalfTransparent(1000, 500));
    ClickTab(0);
    ClickTab(1); // the buttons follow the clipboard at each tab change
    ASSERT_TRUE(dlg->btn_fromCLPBrd->isEnabled());
    QTest::mouseClick(dlg->btn_fromCLPBrd, Qt::LeftButton);
    ASSERT_TRUE(field_.Picture);
    EXPECT_EQ(field_.Kind, TFieldKind::Picture);
    EXPECT_EQ(field_.Picture->Width(), 591);
    EXPECT_EQ(field_.Picture->Height(), 296); // 295.5 rounded to even
    EXPECT_EQ(field_.Picture->ToImage().pixelColor(3, 100), QColor(0, 255, 0));
    EXPECT_TRUE(dlg->btn_CopyPic->isEnabled());

    // Encoded pictures that Qt does not decode for the clipboard itself.
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"),
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">"
                  "<circle cx=\"5\" cy=\"5\" r=\"5\" fill=\"blue\"/></svg>");
    QApplication::clipboard()->setMimeData(mime);
    QTest::mouseClick(dlg->btn_fromCLPBrd, Qt::LeftButton);
    ASSERT_TRUE(field_.Picture);
    EXPECT_EQ(field_.Picture->Width(), 591);
    EXPECT_EQ(field_.Picture->Height(), 591);
    EXPECT_EQ(field_.Picture->ToImage().pixelColor(2, 2), QColor(0, 255, 0));

    // To the clipboard, through the button and through the preview's menu.
    QApplication::clipboard()->clear();
    QTest::mouseClick(dlg->btn_CopyPic, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(591, 591));
    QApplication::clipboard()->clear();
    QTest::mouseClick(dlg->Image1, Qt::RightButton);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                dlg->Image1->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(dlg->Image1, &menuEvent);
    ASSERT_TRUE(dlg->PM_PIC->isVisible());
    EXPECT_TRUE(dlg->PM_ClipCopy->isEnabled());
    ChooseMenuItem(dlg->PM_PIC, QStringLiteral("Diese Grafik in die Zwischenablage kopieren"));
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(591, 591));
}

TEST_F(PictureEditorTest, OversizedClipboardPictureIsRefusedWithAMessage)
{
    TForm_pictextplus *dlg = Open();
    ClickTab(1);
    QByteArray png;
    {
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        QImage(8, 8, QImage::Format_RGB32).save(&b, "png");
    }
    // The header claims 60000 × 60000 pixels (checksum kept valid).
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char(v >> (24 - 8 * i));
    };
    put32(16, 60000);
    put32(20, 60000);
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : png.mid(12, 17)) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    put32(29, ~crc);
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("image/png"), png);
    QApplication::clipboard()->setMimeData(mime);
    EXPECT_TRUE(platform::ClipboardHasBitmap());
    MessageCapture messages;
    ClickTab(0);
    ClickTab(1);
    QTest::mouseClick(dlg->btn_fromCLPBrd, Qt::LeftButton);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Texts()[0].contains(QStringLiteral("zu groß"))) << messages.Texts()[0].toStdString();
    EXPECT_FALSE(field_.Picture);
}

TEST_F(PictureEditorTest, CancelRestoresThePicture)
{
    field_.Kind = TFieldKind::Picture;
    field_.Picture = TPicture::FromImage(HalfTransparent(30, 10));
    const TBytes before = field_.Picture->Bytes();
    const QString path = Save("neu.png", HalfTransparent(300, 300), "png");
    WhenModal([this, path](QWidget *w) {
        auto *dlg = static_cast<TForm_pictextplus *>(w);
        EXPECT_EQ(dlg->PageControl1->currentWidget(), dlg->TAB_Grafik);
        ASSERT_TRUE(dlg->PreviewPicture());
        FileAnswer answer(path);
        QTest::mouseClick(dlg->MUVLabel1, Qt::LeftButton);
        EXPECT_EQ(field_.Picture->Width(), 300);
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    EXPECT_NE(ExecuteFieldEditor(doc_, &field_, nullptr), 1);
    ASSERT_TRUE(field_.Picture);
    EXPECT_EQ(field_.Picture->Bytes(), before);
    EXPECT_EQ(field_.Kind, TFieldKind::Picture);
}
