// The field editor: window layout, loading the field into the controls and
// writing them back (Macheaktuell), the text commands. The picture commands
// live in pictextplus_picture.cpp.
#include "dialogs/pictextplus.h"

#include "canvas/tcolor.h"
#include "controls/ColourSwatch.h"
#include "controls/MUVASCIICtrl.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVFontComboBox.h"
#include "controls/MUVPageControl.h"
#include "controls/MUVPanel.h"
#include "controls/MUVWinkelWahl.h"
#include "controls/SpezialSpin.h"
#include "dialogs/colorDialog.h"
#include "dialogs/pictextplus_widgets.h"
#include "dialogs/txtascii.h"
#include "document/document.h"
#include "model/picture.h"
#include "model/rs.h"
#include "platform/clipboard.h"
#include "platform/codepage.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <cmath>
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

// Hints carry Windows line breaks; a hint beginning with "|" has only its
// long part, which then is the tool tip.
void setHint(QWidget *w, const QString &hint)
{
    QString text = hint;
    if (text.startsWith(QLatin1Char('|')))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    w->setToolTip(text);
}

// A flat button with a caption or a glyph of the program's set; toggle
// buttons stay down until clicked again.
TMUVButton *toolButton(QWidget *parent, const char *name, const QString &text, const QString &hint,
                       const QRect &geometry, bool toggle = false, const QString &glyph = QString())
{
    auto *b = new TMUVButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->SetCaption(text);
    b->SetCaptionPosition(glyph.isEmpty() ? tp_center : text.isEmpty() ? tp_none : tp_right);
    if (!glyph.isEmpty())
        b->SetGlyphName(glyph, 16);
    b->SetNormalFlat(!toggle);
    b->SetShowAllwaysSimpleBorder(true);
    b->setGeometry(geometry);
    b->SetHint(hint);
    return b;
}

TSpezialSpin *spin(QWidget *parent, const char *name, const QString &before, const QString &after, double min,
                   double max, int decimals, const QString &hint, const QRect &geometry)
{
    auto *s = new TSpezialSpin(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->SetTextBefore(before);
    s->SetTextAfter(after);
    s->SetNachkommaStellen(decimals);
    s->SetMinValue(min);
    s->SetMaxValue(max);
    s->SetChangeDelay(2500);
    s->setGeometry(geometry);
    setHint(s, hint);
    return s;
}

TMUVCheckBox *checkBox(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *c = new TMUVCheckBox(parent);
    c->SetCaption(text);
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(geometry);
    return c;
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

// A framed panel with its caption in the frame.
TMUVPanel *panel(QWidget *parent, const QString &caption)
{
    auto *p = new TMUVPanel(parent);
    p->SetCaption(caption);
    return p;
}

TForm_pictextplus::ColourPicker TForm_pictextplus::SetColourPicker(ColourPicker picker)
{
    return std::exchange(pickerSlot(), std::move(picker));
}

TForm_pictextplus::TForm_pictextplus(TDocument &document, TRSObject *field, QWidget *parent)
    : QDialog(parent), EditedField(field), document_(document)
{
    Loading = true; // FormCreate
    setObjectName(QStringLiteral("Form_pictextplus"));
    setWindowTitle(QStringLiteral("Element definieren/ändern..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(500, 391);

    auto *tabs = new TMUVPageControl(this);
    tabs->SetFlatTabs(true); // 128 × 24, bold, the current one blue and underlined
    PageControl1 = tabs;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 500, 262);
    TAB_TEXT = new QWidget;
    TAB_TEXT->setObjectName(QStringLiteral("TAB_TEXT"));
    TAB_Grafik = new QWidget;
    TAB_Grafik->setObjectName(QStringLiteral("TAB_Grafik"));
    PageControl1->addTab(TAB_TEXT, QStringLiteral("Text"));
    PageControl1->addTab(TAB_Grafik, QStringLiteral("Grafik"));
    BuildTextTab();
    BuildPictureTab();
    BuildCommonPanel();

    BTN_OK = toolButton(this, "BTN_OK", QStringLiteral("OK"), QStringLiteral("OK, Fertig"),
                        QRect(300, 356, 92, 28), false, QStringLiteral("ok"));
    BTN_Abbruch = toolButton(this, "BTN_Abbruch", QStringLiteral("Abbruch"), QStringLiteral("Abbruch"),
                             QRect(400, 356, 92, 28), false, QStringLiteral("cancel"));
    connect(BTN_OK, &TMUVButton::OnClick, this, &TForm_pictextplus::BTN_OKClick);
    connect(BTN_Abbruch, &TMUVButton::OnClick, this, &TForm_pictextplus::BTN_AbbruchClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int) { PageControl1Change(); });
    // The paste buttons also follow the clipboard while the window stays active.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        if (!Loading)
            RefreshClipboardButtons();
    });
}

TForm_pictextplus::~TForm_pictextplus() = default;

void TForm_pictextplus::BuildTextTab()
{
    auto *fonts = panel(TAB_TEXT, QStringLiteral("Schriftdefinitionen"));
    fonts->setGeometry(4, 2, 492, 104);
    CB_Schriftart = new TMUVFontComboBox(fonts);
    CB_Schriftart->setObjectName(QStringLiteral("CB_Schriftart"));
    CB_Schriftart->setGeometry(8, 20, 200, 24);
    setHint(CB_Schriftart, QStringLiteral("aktuell gewählte Schriftart des Textes \r\n(alle verfügbaren "
                                          "TRUE-TYPE-Schriftarten verwendbar)"));
    spin_SchriftH = spin(fonts, "spin_SchriftH", QStringLiteral("Höhe"), QStringLiteral("mm"), 1, 255, 1,
                         QStringLiteral("Schriftgröße in mm"), QRect(214, 20, 124, 24));
    BTN_Fett = toolButton(fonts, "BTN_Fett", QStringLiteral("F"), QStringLiteral("Schriftmerkmal FETT"),
                          QRect(344, 20, 26, 24), true);
    BTN_Kursiv = toolButton(fonts, "BTN_Kursiv", QStringLiteral("K"), QStringLiteral("Schriftmerkmal KURSIV"),
                            QRect(372, 20, 26, 24), true);
    BTN_Unter = toolButton(fonts, "BTN_Unter", QStringLiteral("U"),
                           QStringLiteral("Schriftmerkmal UNTERSTRICHEN"), QRect(400, 20, 26, 24), true);
    {
        QFont f = BTN_Fett->font();
        f.setBold(true);
        BTN_Fett->setFont(f);
        f = BTN_Kursiv->font();
        f.setItalic(true);
        BTN_Kursiv->setFont(f);
        f = BTN_Unter->font();
        f.setUnderline(true);
        BTN_Unter->setFont(f);
    }
    shape_FontColor = new TColourSwatch(true, fonts);
    shape_FontColor->setObjectName(QStringLiteral("shape_FontColor"));
    shape_FontColor->setGeometry(440, 19, 26, 26);
    setHint(shape_FontColor, QStringLiteral("Klick wählt die Textfarbe aus"));

    SPIN_W = spin(fonts, "SPIN_W", QStringLiteral("Winkel"), QStringLiteral(" °"), 0, 360, 0,
                  QStringLiteral("Winkel der Schrift"), QRect(8, 62, 112, 24));
    btn_vordefw = toolButton(fonts, "btn_vordefw", QStringLiteral("▾"),
                             QStringLiteral("Auswahl vordefinierter Winkelwerte"), QRect(122, 62, 20, 24));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const std::pair<const char *, int> items[] = {{"Winkel   0° - horizontaler Text", 0},
                                                  {"Winkel 90° - vertikaler Text", 90},
                                                  {nullptr, 0},
                                                  {"Winkel 45°", 45},
                                                  {"Winkel 135°", 135},
                                                  {"Winkel 270 °", 270}};
    for (const auto &[text, tag] : items) {
        if (!text) {
            PopupMenu1->addSeparator();
            continue;
        }
        QAction *a = PopupMenu1->addAction(QString::fromUtf8(text));
        a->setData(tag);
        connect(a, &QAction::triggered, this, [this, tag] { Winkel0horizontalerText1Click(tag); });
    }
    btn_vordefw->SetPopupMenu(PopupMenu1);
    WinkelWahl = new TMUVWinkelWahl(fonts);
    WinkelWahl->setObjectName(QStringLiteral("WinkelWahl"));
    WinkelWahl->setGeometry(150, 48, 52, 52);
    setHint(WinkelWahl, QStringLiteral("Wählen Sie mit der Maus den Textwinkel\r\n(in 15°-Schritten)"));
    connect(WinkelWahl, &TMUVWinkelWahl::OnMouseChange, this, &TForm_pictextplus::WinkelWahlMouseChange);
    btn_links = toolButton(fonts, "btn_links", QString(), QStringLiteral("Text linksbündig"),
                           QRect(212, 62, 26, 24), true, QStringLiteral("paragraph_left"));
    btn_mitte = toolButton(fonts, "btn_mitte", QString(), QStringLiteral("Text mittig zentriert"),
                           QRect(240, 62, 26, 24), true, QStringLiteral("paragraph_center"));
    btn_rechts = toolButton(fonts, "btn_rechts", QString(), QStringLiteral("Text rechtsbündig"),
                            QRect(268, 62, 26, 24), true, QStringLiteral("paragraph_right"));
    for (TMUVButton *b : {btn_links, btn_mitte, btn_rechts})
        connect(b, &TMUVButton::OnClick, this, [this, b] { AlignmentClick(b); });
    SPIN_ZH = spin(fonts, "SPIN_ZH", QStringLiteral("Zeilenabst."), QString(), 0.25, 5, 2,
                   QStringLiteral("Zeilenabstand (als Faktor der Schrifthöhe)"), QRect(306, 62, 160, 24));

    auto *textPanel = panel(TAB_TEXT, QStringLiteral("Text"));
    textPanel->setGeometry(4, 108, 492, 124);
    Memo = new TFieldMemo(textPanel);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setGeometry(8, 20, 412, 80);
    QFont memoFont(QStringLiteral("Tahoma"));
    memoFont.setPixelSize(16);
    Memo->setFont(memoFont);
    setHint(Memo, QStringLiteral("|Geben Sie hier Ihren Text ein"));
    Memo->installEventFilter(this);
    lbl_anzzeichen = new QLabel(QStringLiteral("verbleibende Anzahl Zeichen: 255 "), textPanel);
    lbl_anzzeichen->setObjectName(QStringLiteral("lbl_anzzeichen"));
    lbl_anzzeichen->setGeometry(8, 102, 300, 18);
    btn_copy = toolButton(textPanel, "btn_copy", QString(),
                          QStringLiteral("gesamten Text in die Zwischenablage übertragen"),
                          QRect(424, 20, 62, 26), false, QStringLiteral("copy"));
    btn_copy->setEnabled(false);
    btn_einfg =
        toolButton(textPanel, "btn_einfg", QString(), QStringLiteral("Text aus der Zwischenablage einfügen"),
                   QRect(424, 48, 62, 26), false, QStringLiteral("paste"));
    btn_yinyang = toolButton(textPanel, "btn_yinyang", QStringLiteral("®"),
                             QStringLiteral("Sonderzeichen einfügen"), QRect(424, 76, 62, 26));

    connect(CB_Schriftart, &TMUVFontComboBox::SelectionChange, this, [this] { Macheaktuell(); });
    for (TSpezialSpin *s : {spin_SchriftH, SPIN_W, SPIN_ZH})
        connect(s, &TSpezialSpin::OnDelayedChange, this, &TForm_pictextplus::Macheaktuell);
    for (TMUVButton *b : {BTN_Fett, BTN_Kursiv, BTN_Unter})
        connect(b, &TMUVButton::OnClick, this, &TForm_pictextplus::Macheaktuell);
    connect(shape_FontColor, &TColourSwatch::MouseUp, this, &TForm_pictextplus::SwatchMouseUp);
    connect(Memo, &TFieldMemo::Changed, this, &TForm_pictextplus::MemoChange);
    connect(btn_copy, &TMUVButton::OnClick, this, &TForm_pictextplus::btn_copyClick);
    connect(btn_einfg, &TMUVButton::OnClick, this, &TForm_pictextplus::btn_einfgClick);
    connect(btn_yinyang, &TMUVButton::OnClick, this, &TForm_pictextplus::btn_yinyangClick);
}

void TForm_pictextplus::BuildCommonPanel()
{
    auto *panel = ::panel(this, QStringLiteral("Sonstiges"));
    panel->setGeometry(4, 264, 492, 86);
    Shape_BKColor = new TColourSwatch(false, panel);
    Shape_BKColor->setObjectName(QStringLiteral("Shape_BKColor"));
    Shape_BKColor->setGeometry(8, 22, 26, 22);
    setHint(Shape_BKColor, QStringLiteral("Klick wählt die Hintergrundfarbe des Feldes aus"));
    auto *bkLabel = new QLabel(QStringLiteral("Hintergrundfarbe"), panel);
    bkLabel->setGeometry(40, 22, 120, 22);
    Shape_linColor = new TColourSwatch(false, panel);
    Shape_linColor->setObjectName(QStringLiteral("Shape_linColor"));
    Shape_linColor->setGeometry(8, 52, 26, 22);
    setHint(Shape_linColor, QStringLiteral("Klick wählt die Farbe der Linienbegrenzung aus"));
    auto *linLabel = new QLabel(QStringLiteral("Linienfarbe"), panel);
    linLabel->setGeometry(40, 52, 120, 22);
    spin_linewidth = spin(panel, "spin_linewidth", QStringLiteral("Liniendicke"), QStringLiteral("mm"), 0.1,
                          255, 1, QStringLiteral("Liniendicke in mm"), QRect(160, 22, 140, 24));
    cb_lineou =
        checkBox(panel, "cb_lineou", QStringLiteral("obere/untere Linie zeigen"), QRect(310, 16, 178, 22));
    cb_linelire = checkBox(panel, "cb_linelire", QStringLiteral("  linke/rechte Linie zeigen"),
                           QRect(310, 38, 178, 22));
    cb_visible = checkBox(panel, "cb_visible", QStringLiteral("Element sichtbar"), QRect(310, 60, 178, 22));
    setHint(cb_visible, QStringLiteral("Das ganze Element ist sichtbar (oder nicht)"));

    connect(spin_linewidth, &TSpezialSpin::OnDelayedChange, this, &TForm_pictextplus::Macheaktuell);
    for (TMUVCheckBox *c : {cb_lineou, cb_linelire, cb_visible})
        connect(c, &TMUVCheckBox::OnChange, this, &TForm_pictextplus::Macheaktuell);
    for (TColourSwatch *s : {Shape_BKColor, Shape_linColor})
        connect(s, &TColourSwatch::MouseUp, this, &TForm_pictextplus::SwatchMouseUp);
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
        PageControl1->setCurrentWidget(f->Kind == 2 ? TAB_Grafik : TAB_TEXT);
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
        f->SetKind(1);
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
    } else {
        f->SetKind(2);
    }
    // A copy of the preview; skipped when the field already holds that copy,
    // so that typing does not copy a photo at every key.
    const TPicture *preview = PreviewPicture();
    if (!preview)
        f->Picture.reset();
    else if (!f->Picture || f->Picture->Bytes() != preview->Bytes())
        f->Picture = preview->Clone();
    lbl_EMFHinweis->setVisible(f->Picture && f->Picture->IsMetafile());

    document_.LineFactor = SPIN_ZH->ValueReal();
    document_.Commit(false);
    if (text && isVisible())
        Memo->setFocus();
}

void TForm_pictextplus::BTN_OKClick()
{
    Macheaktuell();
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
