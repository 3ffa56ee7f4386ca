// The field editor: loading the field into the controls and writing them back
// (Macheaktuell), the text commands. The window is built in
// pictextplus_layout.cpp, the picture commands live in
// pictextplus_picture.cpp.
#include "dialogs/pictextplus.h"

#include "canvas/tcolor.h"
#include "controls/ColourSwatch.h"
#include "controls/MUVASCIICtrl.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVFontComboBox.h"
#include "controls/MUVWinkelWahl.h"
#include "controls/SpezialSpin.h"
#include "dialogs/colorDialog.h"
#include "dialogs/pictextplus_widgets.h"
#include "dialogs/txtascii.h"
#include "document/document.h"
#include "model/barcode.h"
#include "model/data_list.h"
#include "model/picture.h"
#include "model/rs.h"
#include "platform/clipboard.h"
#include "platform/codepage.h"

#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextOption>

#include <utility>

namespace
{

// The program's colour dialog, its bottom-right corner 20 px beyond the
// editor's.
bool standardColourPicker(QWidget *parent, TColor &colour)
{
    return PickColour(parent, colour, TColorDialogPlace::BeyondCallerCorner);
}

TForm_pictextplus::ColourPicker &pickerSlot()
{
    static TForm_pictextplus::ColourPicker picker;
    return picker;
}

// Field text (Windows-1252, CR LF) and the text box's text.
QString memoText(const std::string &fieldText)
{
    QString t = platform::FromAnsi(fieldText);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

std::string fieldText(const QString &memo)
{
    QString t = memo;
    t.replace(QChar(0x2029), QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return platform::ToAnsi(t);
}

} // namespace

TForm_pictextplus::ColourPicker TForm_pictextplus::SetColourPicker(ColourPicker picker)
{
    return std::exchange(pickerSlot(), std::move(picker));
}

bool TForm_pictextplus::TextTabActive() const
{
    return PageControl1->currentWidget() == TAB_TEXT;
}

const TPicture *TForm_pictextplus::PreviewPicture() const
{
    return Image1->Picture();
}

int TForm_pictextplus::RemainingChars() const
{
    return Memo->MaxLength() - TFieldMemo::FieldLength(Memo->toPlainText());
}

void TForm_pictextplus::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        // Centred on the window it belongs to.
        if (QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr)
            move(owner->geometry().center() - QPoint(width() / 2, height() / 2));
        FormShow();
    }
}

bool TForm_pictextplus::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TForm_pictextplus::FormShow()
{
    TRSObject *f = EditedField;
    if (f) {
        cb_visible->setChecked(f->Visible);
        cb_lineou->setChecked(f->LinesTopBottom);
        cb_linelire->setChecked(f->LinesLeftRight);
        spin_linewidth->SetValueReal(f->LineWidth);
        Shape_linColor->SetColour(f->LineColor);
        const QString fontName = QString::fromLatin1(f->FontName.c_str());
        CB_Schriftart->SetSelectedName(fontName);
        spin_SchriftH->SetValueReal(f->FontHeight);
        Memo->setPlainText(memoText(f->Text));
        QFont mf = Memo->font();
        mf.setFamily(fontName);
        Memo->setFont(mf);
        shape_FontColor->SetColour(f->FontColor);
        Shape_BKColor->SetColour(f->BackgroundColor);
        SPIN_W->SetValueReal(f->Angle);
        WinkelWahl->SetWinkel(f->Angle);
        SPIN_ZH->SetValueReal(document_.LineFactor);
        btn_links->SetDown(f->Alignment == 0);
        btn_mitte->SetDown(f->Alignment == 1);
        btn_rechts->SetDown(f->Alignment == 2);
        BTN_Fett->SetDown(f->FontStyle & 1);
        BTN_Kursiv->SetDown(f->FontStyle & 2);
        BTN_Unter->SetDown(f->FontStyle & 4);
        SetPreviewPicture(f->Picture ? f->Picture->Clone() : nullptr);
        if (PreviewPicture())
            FitPreview(72, 56);
        PageControl1->blockSignals(true);
        LoadBarcode();
        PageControl1->setCurrentWidget(FieldBarcode(*f) ? TAB_Strichcode
                                       : KindTraits(f->Kind).editorPage == TFieldEditorPage::Picture
                                           ? TAB_Grafik
                                           : TAB_TEXT);
        PageControl1->blockSignals(false);
    }
    MemoChange(); // the count and the copy button follow the loaded text
    RefreshClipboardButtons();
    Loading = false;
    Macheaktuell();
    Memo->selectAll();
}

void TForm_pictextplus::FormActivate()
{
    RefreshClipboardButtons();
}

void TForm_pictextplus::RefreshClipboardButtons()
{
    btn_einfg->setEnabled(platform::ClipboardHasText());
    btn_fromCLPBrd->setEnabled(platform::ClipboardHasBitmap() || platform::ClipboardHasMetafile());
    btn_CopyPic->setEnabled(PreviewPicture() != nullptr);
}

void TForm_pictextplus::Macheaktuell()
{
    if (Loading || !EditedField)
        return;
    TRSObject *f = EditedField;
    f->Visible = cb_visible->isChecked();
    f->LinesTopBottom = cb_lineou->isChecked();
    f->LinesLeftRight = cb_linelire->isChecked();
    f->LineColor = Shape_linColor->Colour();
    f->LineWidth = spin_linewidth->ValueReal();
    f->BackgroundColor = Shape_BKColor->Colour();

    const bool text = TextTabActive();
    if (text) {
        f->FontName = platform::ToAnsi(CB_Schriftart->SelectedName());
        f->FontHeight = spin_SchriftH->ValueReal();
        f->Text = fieldText(Memo->toPlainText());
        f->FontColor = shape_FontColor->Colour();
        f->FontStyle = std::uint8_t((BTN_Fett->Down() ? 1 : 0) | (BTN_Kursiv->Down() ? 2 : 0) |
                                    (BTN_Unter->Down() ? 4 : 0));
        QFont mf = Memo->font();
        mf.setBold(BTN_Fett->Down());
        mf.setItalic(BTN_Kursiv->Down());
        mf.setUnderline(BTN_Unter->Down());
        f->Angle = SPIN_W->Value();
        f->SetKind(KindOfEditorPage(TFieldEditorPage::Text));
        mf.setFamily(CB_Schriftart->SelectedName());
        if (mf != Memo->font()) // a new font lays the whole text out again
            Memo->setFont(mf);

        // Only horizontal and vertical texts are aligned; every other angle
        // turns about the field's centre.
        const int t = int(std::trunc(f->Angle));
        std::uint8_t alignment = 1;
        if (t == 0 || t == 90) {
            for (TMUVButton *b : {btn_links, btn_mitte, btn_rechts})
                b->setEnabled(true);
            if (btn_links->Down())
                alignment = 0;
            if (btn_mitte->Down())
                alignment = 1;
            if (btn_rechts->Down())
                alignment = 2;
        } else {
            btn_links->SetDown(false);
            btn_mitte->SetDown(true);
            btn_rechts->SetDown(false);
            for (TMUVButton *b : {btn_links, btn_mitte, btn_rechts})
                b->setEnabled(false);
        }
        btn_einfg->setEnabled(platform::ClipboardHasText());
        f->Alignment = alignment;
        QTextOption option = Memo->document()->defaultTextOption();
        const Qt::Alignment memoAlignment = alignment == 0   ? Qt::AlignLeft
                                            : alignment == 2 ? Qt::AlignRight
                                                             : Qt::AlignHCenter;
        if (option.alignment() != memoAlignment) {
            option.setAlignment(memoAlignment);
            Memo->document()->setDefaultTextOption(option);
        }
    }
    // Data that make no code leave the field's content as it was.
    const bool keepContent = BarcodeTabActive() && !UpdateBarcode();
    if (!text && !keepContent)
        f->SetKind(KindOfEditorPage(TFieldEditorPage::Picture));
    // A copy of the preview; skipped when the field already holds that copy,
    // so that typing does not copy a photo at every key.
    if (!keepContent) {
        const TPicture *preview = PreviewPicture();
        if (!preview)
            f->Picture.reset();
        else if (!f->Picture || f->Picture->Bytes() != preview->Bytes())
            f->Picture = preview->Clone();
    }
    lbl_EMFHinweis->setVisible(f->Picture && f->Picture->IsMetafile());

    document_.LineFactor = SPIN_ZH->ValueReal();
    document_.Commit(false);
    if (text && isVisible())
        Memo->setFocus();
}

void TForm_pictextplus::BTN_OKClick()
{
    Macheaktuell();
    // A code the data cannot make keeps the editor open, its reason shown.
    if (BarcodeTabActive() && !Loading && EditedField && !UpdateBarcode())
        return;
    done(1);
}

void TForm_pictextplus::BTN_AbbruchClick()
{
    done(2);
}

void TForm_pictextplus::AlignmentClick(TMUVButton *clicked)
{
    // The three buttons act as one group of which one is always down.
    if (clicked->Down()) {
        for (TMUVButton *b : {btn_links, btn_mitte, btn_rechts})
            if (b != clicked)
                b->SetDown(false);
    } else {
        clicked->SetDown(true);
    }
    Macheaktuell();
}

void TForm_pictextplus::Winkel0horizontalerText1Click(int tag)
{
    SPIN_W->SetValue(tag);
    Macheaktuell();
}

void TForm_pictextplus::WinkelWahlMouseChange()
{
    SPIN_W->SetValue(int(std::nearbyint(WinkelWahl->Winkel())));
    Macheaktuell();
}

void TForm_pictextplus::MemoChange()
{
    btn_copy->setEnabled(!Memo->toPlainText().isEmpty());
    btn_einfg->setEnabled(platform::ClipboardHasText());
    lbl_anzzeichen->setText(QStringLiteral(" verbleibende Anzahl Zeichen: %1 ").arg(RemainingChars()));
    Macheaktuell();
}

bool TForm_pictextplus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == MUVLabel1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        MUVLabel1Click();
        return true;
    }
    if (watched == Memo && event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (MemoKeyDown(k->key(), k->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm_pictextplus::MemoKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (ctrl && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        BTN_OKClick();
        return true;
    }
    if (key == Qt::Key_Escape) {
        BTN_AbbruchClick();
        return true;
    }
    if (ctrl && key == Qt::Key_A) {
        Memo->selectAll();
        return true;
    }
    return false;
}

void TForm_pictextplus::btn_copyClick()
{
    const QString text = Memo->toPlainText();
    if (!text.isEmpty())
        platform::SetClipboardText(fieldText(text));
    btn_einfg->setEnabled(platform::ClipboardHasText());
}

void TForm_pictextplus::btn_einfgClick()
{
    if (!platform::ClipboardHasText())
        return;
    // Through the code page, as the field will hold it; the memo cuts what
    // does not fit.
    Memo->textCursor().insertText(memoText(platform::ClipboardText()));
    Memo->setFocus();
}

void TForm_pictextplus::btn_yinyangClick()
{
    TForm_TXTASCII dlg(this);
    dlg.adjustSize();
    const QPoint bottomRight = btn_yinyang->mapToGlobal(QPoint(btn_yinyang->width(), btn_yinyang->height()));
    dlg.move(bottomRight.x() - dlg.width(), bottomRight.y());
    QFont f = dlg.MUVASCIICtrl1->AFont();
    f.setFamily(CB_Schriftart->SelectedName());
    dlg.MUVASCIICtrl1->SetAFont(f);
    if (dlg.exec() == 1) {
        const char c = static_cast<char>(dlg.Zeichen());
        Memo->textCursor().insertText(platform::FromAnsi(&c, 1));
    }
    btn_yinyang->SetDown(false);
}

QStringList TForm_pictextplus::Placeholders() const
{
    QStringList names{QStringLiteral("{#}"), QStringLiteral("{#:000}")};
    if (const TDataList *list = document_.MergeList.get()) {
        for (int c = 0; c < list->ColumnCount(); ++c) {
            const QString heading = c < list->Headings.size() ? list->Headings[c] : QString();
            // A heading with braces can only be named by its number.
            const bool byName = !heading.isEmpty() && !heading.contains(QLatin1Char('{')) &&
                                !heading.contains(QLatin1Char('}'));
            names.append(QStringLiteral("{%1}").arg(byName ? heading : QString::number(c + 1)));
        }
    }
    return names;
}

void TForm_pictextplus::btn_platzhalterClick()
{
    ShowPlaceholderMenu(btn_platzhalter,
                        [this](const QString &name) { Memo->textCursor().insertText(name); });
}

void TForm_pictextplus::ShowPlaceholderMenu(TMUVButton *button,
                                            const std::function<void(const QString &)> &insert)
{
    QMenu menu(this);
    const QStringList names = Placeholders();
    for (const QString &name : names) {
        QString caption = name;
        if (name == QLatin1String("{#}"))
            caption += QStringLiteral("\tlaufende Nummer");
        else if (name == QLatin1String("{#:000}"))
            caption += QStringLiteral("\tlaufende Nummer, dreistellig");
        QAction *a = menu.addAction(caption);
        connect(a, &QAction::triggered, this, [insert, name] { insert(name); });
        if (name == QLatin1String("{#:000}"))
            menu.addSeparator();
    }
    if (!document_.MergeList) {
        QAction *none =
            menu.addAction(QStringLiteral("Spalten einer Liste: erst unter Datei → Serienetiketten… "
                                          "eine Liste wählen"));
        none->setEnabled(false);
    }
    menu.exec(button->mapToGlobal(QPoint(0, button->height())));
    button->SetDown(false);
}

void TForm_pictextplus::SwatchMouseUp(TColourSwatch *swatch)
{
    TColor colour = swatch->Colour();
    const ColourPicker &picker = pickerSlot();
    const bool chosen = picker ? picker(this, colour) : standardColourPicker(this, colour);
    if (chosen)
        swatch->SetColour(colour);
    Macheaktuell();
}

void TForm_pictextplus::PageControl1Change()
{
    if (TextTabActive()) {
        Macheaktuell();
        Memo->moveCursor(QTextCursor::End);
    }
    RefreshClipboardButtons();
}

int ExecuteFieldEditor(TDocument &document, TRSObject *field, QWidget *parent)
{
    // The field's place in the sheet, for the copy kept against a cancel.
    const TRS &sheet = document.Sheet();
    int column = -1, row = -1;
    for (std::size_t c = 0; c < sheet.Columns.size() && column < 0; ++c)
        for (std::size_t r = 0; r < sheet.Columns[c]->Fields.size(); ++r)
            if (field && sheet.Columns[c]->Fields[r].get() == field) {
                column = int(c);
                row = int(r);
                break;
            }
    if (column < 0)
        return 2;
    const std::unique_ptr<TRSObject> saved = document.SaveField(column, row);
    field->Visible = true;
    int result = 2;
    {
        TForm_pictextplus dlg(document, field, parent);
        result = dlg.exec();
    }
    if (result == 1)
        document.Commit(true);
    else
        document.RestoreField(column, row, *saved);
    return result;
}
