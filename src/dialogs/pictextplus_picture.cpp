// The field editor's picture tab: a picture from a file or the clipboard,
// reduced to 300 dpi of the field width, the preview and the copy to the
// clipboard.
#include "dialogs/pictextplus.h"

#include "canvas/tcolor.h"
#include "controls/ColourSwatch.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVPanel.h"
#include "dialogs/pictextplus_widgets.h"
#include "document/document.h"
#include "model/picture.h"
#include "model/picture_qtformats.h"
#include "model/rs.h"
#include "platform/clipboard.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

#include <cmath>

QString TForm_pictextplus::PictureFilter()
{
    return QStringLiteral(
        "Alle Grafiken|*.bmp;*.emf;*.wmf;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.webp;*.svg"
        "|Bitmaps (*.bmp)|*.bmp"
        "|Erweiterte Metadateien (*.emf)|*.emf"
        "|Metadateien (*.wmf)|*.wmf"
        "|JPEG-Dateien (*.jpg)|*.jpg;*.jpeg"
        "|Weitere Bilder (*.png;*.gif;*.tif;*.tiff;*.webp;*.svg)|*.png;*.gif;*.tif;*.tiff;*.webp;*.svg");
}

void TForm_pictextplus::BuildPictureTab()
{
    auto *file = new TMUVPanel(TAB_Grafik);
    file->SetCaption(QStringLiteral("Datei"));
    file->setGeometry(4, 2, 196, 230);
    MUVLabel1 = new QLabel(QStringLiteral("Hier klicken um eine Grafikdatei auszuwählen"), file);
    MUVLabel1->setObjectName(QStringLiteral("MUVLabel1"));
    MUVLabel1->setGeometry(8, 22, 180, 76);
    MUVLabel1->setWordWrap(true);
    MUVLabel1->setAlignment(Qt::AlignCenter);
    MUVLabel1->setCursor(Qt::PointingHandCursor);
    MUVLabel1->setFrameShape(QFrame::StyledPanel);
    {
        QPalette pal = MUVLabel1->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        MUVLabel1->setPalette(pal);
        QFont f = MUVLabel1->font();
        f.setUnderline(true);
        MUVLabel1->setFont(f);
    }
    MUVLabel1->installEventFilter(this);
    cb_datred = new TMUVCheckBox(file);
    cb_datred->SetCaption(QStringLiteral("Reduziert"));
    cb_datred->setObjectName(QStringLiteral("cb_datred"));
    cb_datred->setGeometry(8, 104, 180, 22);
    cb_datred->SetChecked(true);
    cb_datred->setEnabled(false);
    SetEditorHint(cb_datred, QStringLiteral("Größenreduktion für Rastergrafiken (auf 300dpi)"));
    lbl_EMFHinweis =
        new QLabel(QStringLiteral("*) Bitte anstatt WMF immer das neuere EMF-Format verwenden!"), file);
    lbl_EMFHinweis->setObjectName(QStringLiteral("lbl_EMFHinweis"));
    lbl_EMFHinweis->setGeometry(8, 132, 180, 48);
    lbl_EMFHinweis->setWordWrap(true);
    lbl_EMFHinweis->setVisible(false);

    MUVPanel5 = new TMUVPanel(TAB_Grafik);
    MUVPanel5->SetCaption(QStringLiteral("Vorschau"));
    MUVPanel5->setObjectName(QStringLiteral("MUVPanel5"));
    MUVPanel5->setGeometry(204, 2, 292, 230);
    Image1 = new TFieldPicturePreview(MUVPanel5);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 22, 220, 200);
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    PM_PIC = new QMenu(this);
    PM_PIC->setObjectName(QStringLiteral("PM_PIC"));
    PM_ClipCopy = PM_PIC->addAction(QStringLiteral("Diese Grafik in die Zwischenablage kopieren"));
    PM_ClipCopy->setObjectName(QStringLiteral("PM_ClipCopy"));
    connect(Image1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        PM_PICPopup();
        PM_PIC->popup(Image1->mapToGlobal(pos));
    });
    connect(PM_ClipCopy, &QAction::triggered, this, &TForm_pictextplus::PM_ClipCopyClick);

    // The clipboard buttons sit in the preview's right-hand column.
    btn_CopyPic = new TMUVButton(MUVPanel5);
    btn_CopyPic->setObjectName(QStringLiteral("btn_CopyPic"));
    btn_CopyPic->SetGlyphName(QStringLiteral("copy"));
    btn_CopyPic->SetCaptionPosition(tp_none);
    btn_CopyPic->SetShowAllwaysSimpleBorder(true);
    btn_CopyPic->setGeometry(292 - 54, 22, 50, 40);
    btn_CopyPic->SetHint(QStringLiteral("Grafik in die Zwischenablage\r\nkopieren"));
    btn_fromCLPBrd = new TMUVButton(MUVPanel5);
    btn_fromCLPBrd->setObjectName(QStringLiteral("btn_fromCLPBrd"));
    btn_fromCLPBrd->SetGlyphName(QStringLiteral("paste"));
    btn_fromCLPBrd->SetCaptionPosition(tp_none);
    btn_fromCLPBrd->SetShowAllwaysSimpleBorder(true);
    btn_fromCLPBrd->setGeometry(292 - 54, 66, 50, 40);
    btn_fromCLPBrd->SetHint(QStringLiteral("Grafik aus der Zwischenablage\r\neinfügen"));
    connect(btn_CopyPic, &TMUVButton::OnClick, this, &TForm_pictextplus::PM_ClipCopyClick);
    connect(btn_fromCLPBrd, &TMUVButton::OnClick, this, &TForm_pictextplus::btn_fromCLPBrdClick);
}

void TForm_pictextplus::SetPreviewPicture(std::unique_ptr<TPicture> picture)
{
    Image1->SetPicture(std::move(picture));
}

void TForm_pictextplus::FitPreview(int margin, int shift)
{
    const TPicture *pic = PreviewPicture();
    if (!pic || pic->Width() <= 0 || pic->Height() <= 0)
        return;
    // Always from the preview's full height, so that a wide picture does not
    // leave a smaller preview for the next one.
    const int panelW = MUVPanel5->width(), panelH = MUVPanel5->height();
    const int top0 = 22;
    const double aspect = double(pic->Width()) / pic->Height();
    int h = panelH - top0 - 8;
    int w = int(std::nearbyint(h * aspect));
    if (panelW - margin < w) {
        w = panelW - margin;
        h = std::max(1, int(std::nearbyint(w / aspect)));
    }
    const int left = (panelW - w - shift) / 2;
    const int top = top0 + (panelH - top0 - 8 - h) / 2;
    Image1->setGeometry(left, top, w, h);
}

void TForm_pictextplus::MUVLabel1Click()
{
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Open;
    request.title = QStringLiteral("Grafik wählen...");
    request.filter = PictureFilter();
    request.defaultSuffix = QStringLiteral("wmf");
    const QString folder = document_.PictureFolder;
    if (!folder.isEmpty() && QDir(folder).exists()) {
        request.startFolder = folder;
        QDir::setCurrent(folder);
    }
    const QString path = platform::ExecuteFileDialog(this, request);
    if (path.isEmpty()) {
        Macheaktuell();
        return;
    }
    MUVLabel1->setText(path);
    TRSObject *f = EditedField;
    const double widthMm = f ? f->X2 - f->X1 : 0;
    QString error;
    auto picture = LoadFieldPicture(path, widthMm, canvas::ToQColor(Shape_BKColor->Colour()), &error);
    if (!picture) {
        // The field stays as it was; the user learns why.
        platform::ShowError(QStringLiteral("Die Grafik \"%1\" kann nicht geladen werden:\r\n%2")
                                .arg(QFileInfo(path).fileName(), error));
        return;
    }
    SetPreviewPicture(std::move(picture));
    if (f)
        f->Picture = PreviewPicture()->Clone();
    FitPreview(72, 56);
    document_.PictureFolder = QFileInfo(path).absolutePath();
    btn_CopyPic->setEnabled(true);
    Macheaktuell();
}

void TForm_pictextplus::btn_fromCLPBrdClick()
{
    TRSObject *f = EditedField;
    const double widthMm = f ? f->X2 - f->X1 : 0;
    QString error;
    auto picture = platform::ClipboardPicture(canvas::ToQColor(Shape_BKColor->Colour()),
                                              Field300DpiWidth(widthMm), &error);
    if (picture) {
        if (picture->IsBitmap()) {
            auto reduced = picture->ReducedTo300Dpi(widthMm);
            if (reduced)
                picture = std::move(reduced);
        }
        SetPreviewPicture(std::move(picture));
        if (f)
            f->Picture = PreviewPicture()->Clone();
        FitPreview(72, 56);
    } else if (!error.isEmpty()) {
        platform::ShowError(
            QStringLiteral("Die Grafik aus der Zwischenablage kann nicht übernommen werden:\r\n%1")
                .arg(error));
    }
    btn_CopyPic->setEnabled(PreviewPicture() != nullptr);
    Macheaktuell();
}

void TForm_pictextplus::PM_ClipCopyClick()
{
    if (const TPicture *pic = PreviewPicture())
        platform::SetClipboardPicture(*pic);
    RefreshClipboardButtons();
}

void TForm_pictextplus::PM_PICPopup()
{
    PM_ClipCopy->setEnabled(PreviewPicture() != nullptr);
}
