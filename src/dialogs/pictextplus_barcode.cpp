// The field editor's barcode tab: kind, data, the text under linear codes and
// the colour of a code, with its preview. Every change makes the code again
// and shows it in the field at once; data the code cannot hold leave the
// field as it was and say why on the tab.
#include "dialogs/pictextplus.h"

#include "controls/ColourSwatch.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVPanel.h"
#include "dialogs/pictextplus_widgets.h"
#include "model/barcode.h"
#include "model/picture.h"
#include "model/rs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace
{
constexpr int kPreviewTop = 22;
}

void TForm_pictextplus::BuildBarcodeTab()
{
    auto *settings = new TMUVPanel(TAB_Strichcode);
    settings->SetCaption(QStringLiteral("Strichcode"));
    settings->setGeometry(4, 2, 196, 230);
    auto *kindLabel = new QLabel(QStringLiteral("Art"), settings);
    kindLabel->setGeometry(8, 20, 180, 18);
    cb_codeart = new QComboBox(settings);
    cb_codeart->setObjectName(QStringLiteral("cb_codeart"));
    cb_codeart->setGeometry(8, 38, 180, 24);
    for (const TBarcodeKindInfo &info : BarcodeKinds())
        cb_codeart->addItem(QString::fromLatin1(info.displayName), int(info.kind));
    auto *dataLabel = new QLabel(QStringLiteral("Daten"), settings);
    dataLabel->setGeometry(8, 66, 180, 18);
    edt_codedaten = new QLineEdit(settings);
    edt_codedaten->setObjectName(QStringLiteral("edt_codedaten"));
    edt_codedaten->setGeometry(8, 84, 148, 24);
    edt_codedaten->setMaxLength(int(kMaxBarcodeData));
    SetEditorHint(edt_codedaten, QStringLiteral("Der Inhalt des Codes: Text, eine Adresse oder Ziffern; "
                                                "mit Platzhaltern wie {Name} einer je Serienetikett"));
    btn_codeplatzhalter =
        EditorToolButton(settings, "btn_codeplatzhalter", QStringLiteral("{ }"),
                         QStringLiteral("Platzhalter für Serienetiketten einfügen"), QRect(158, 84, 30, 24));
    cb_klarschrift = new TMUVCheckBox(settings);
    cb_klarschrift->setObjectName(QStringLiteral("cb_klarschrift"));
    cb_klarschrift->SetCaption(QStringLiteral("Klarschrift unter dem Code"));
    cb_klarschrift->setGeometry(8, 114, 186, 22);
    cb_klarschrift->SetChecked(true);
    SetEditorHint(cb_klarschrift, QStringLiteral("Die Daten als lesbarer Text unter Strichcodes"));
    shape_CodeColor = new TColourSwatch(false, settings);
    shape_CodeColor->setObjectName(QStringLiteral("shape_CodeColor"));
    shape_CodeColor->setGeometry(8, 142, 26, 22);
    shape_CodeColor->SetColour(clBlack);
    SetEditorHint(shape_CodeColor, QStringLiteral("Klick wählt die Farbe des Codes aus"));
    auto *colourLabel = new QLabel(QStringLiteral("Farbe des Codes"), settings);
    colourLabel->setGeometry(40, 142, 140, 22);
    lbl_codehinweis = new QLabel(settings);
    lbl_codehinweis->setObjectName(QStringLiteral("lbl_codehinweis"));
    lbl_codehinweis->setGeometry(8, 168, 180, 58);
    lbl_codehinweis->setWordWrap(true);
    lbl_codehinweis->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    {
        QPalette pal = lbl_codehinweis->palette();
        pal.setColor(QPalette::WindowText, Qt::red);
        lbl_codehinweis->setPalette(pal);
        QFont f = lbl_codehinweis->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        lbl_codehinweis->setFont(f);
    }

    auto *preview = new TMUVPanel(TAB_Strichcode);
    preview->SetCaption(QStringLiteral("Vorschau"));
    preview->setGeometry(204, 2, 292, 230);
    img_code = new TFieldPicturePreview(preview);
    img_code->setObjectName(QStringLiteral("img_code"));
    img_code->setGeometry(8, kPreviewTop, 276, 200);

    connect(cb_codeart, &QComboBox::currentIndexChanged, this, [this](int) { Macheaktuell(); });
    connect(edt_codedaten, &QLineEdit::textEdited, this, [this](const QString &) { Macheaktuell(); });
    connect(cb_klarschrift, &TMUVCheckBox::OnChange, this, &TForm_pictextplus::Macheaktuell);
    connect(shape_CodeColor, &TColourSwatch::MouseUp, this, &TForm_pictextplus::SwatchMouseUp);
    connect(btn_codeplatzhalter, &TMUVButton::OnClick, this, &TForm_pictextplus::btn_codeplatzhalterClick);
}

void TForm_pictextplus::btn_codeplatzhalterClick()
{
    ShowPlaceholderMenu(btn_codeplatzhalter, [this](const QString &name) {
        edt_codedaten->insert(name);
        Macheaktuell();
    });
}

bool TForm_pictextplus::BarcodeTabActive() const
{
    return PageControl1->currentWidget() == TAB_Strichcode;
}

void TForm_pictextplus::LoadBarcode()
{
    const TBarcodeSettings *code = EditedField ? FieldBarcode(*EditedField) : nullptr;
    const TBarcodeSettings s = code ? *code : TBarcodeSettings{};
    cb_codeart->blockSignals(true);
    cb_codeart->setCurrentIndex(std::max(0, cb_codeart->findData(int(s.kind))));
    cb_codeart->blockSignals(false);
    edt_codedaten->setText(s.data);
    cb_klarschrift->SetChecked(s.humanReadable);
    shape_CodeColor->SetColour(s.colour);
    img_code->SetPicture(code ? EditedField->Picture->Clone() : nullptr);
    lbl_codehinweis->clear();
}

bool TForm_pictextplus::UpdateBarcode()
{
    TRSObject *f = EditedField;
    TBarcodeSettings s;
    s.kind = TBarcodeKind(cb_codeart->currentData().toInt());
    s.data = edt_codedaten->text();
    s.humanReadable = cb_klarschrift->Checked();
    s.colour = shape_CodeColor->Colour();
    cb_klarschrift->setEnabled(BarcodeKindInfo(s.kind).linear);

    // Made again only when something of it changed: the picture of the
    // editor is the code the field holds or is about to hold.
    const TPicture *shown = PreviewPicture();
    if (!shown || !shown->Barcode() || !(*shown->Barcode() == s)) {
        QString error;
        TBytes emf = EncodeBarcode(s, QSizeF(f->Width, f->Height), &error);
        std::unique_ptr<TPicture> code =
            emf.empty() ? nullptr : TPicture::FromMetafileBytes(std::move(emf), &error);
        if (!code) {
            lbl_codehinweis->setText(error.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            return false;
        }
        SetPreviewPicture(std::move(code));
        FitPreview(72, 56);
    }
    const TPicture *current = PreviewPicture();
    if (!img_code->Picture() || !img_code->Picture()->SharesDataWith(*current))
        img_code->SetPicture(current->Clone());
    // The code's preview keeps the code's shape within the panel.
    const TPicture *pic = img_code->Picture();
    const QWidget *panel = img_code->parentWidget();
    const int room = panel->width() - 16, roomH = panel->height() - kPreviewTop - 8;
    const double aspect = double(pic->Width()) / std::max(1, pic->Height());
    const int w = std::min(room, int(roomH * aspect)), h = std::min(roomH, int(room / aspect));
    img_code->setGeometry((panel->width() - w) / 2, kPreviewTop + (roomH - h) / 2, w, h);
    lbl_codehinweis->clear();
    return true;
}
