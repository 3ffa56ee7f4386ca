// The field editor's window: its tabs, the text tab's controls and the
// panel below the tabs. The picture tab is built in pictextplus_picture.cpp.
#include "dialogs/pictextplus.h"

#include "controls/ColourSwatch.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVFontComboBox.h"
#include "controls/MUVPageControl.h"
#include "controls/MUVPanel.h"
#include "controls/MUVWinkelWahl.h"
#include "controls/SpezialSpin.h"
#include "dialogs/pictextplus_widgets.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

// Hints carry Windows line breaks; a hint beginning with "|" has only its
// long part, which then is the tool tip.
void SetEditorHint(QWidget *w, const QString &hint)
{
    QString text = hint;
    if (text.startsWith(QLatin1Char('|')))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    w->setToolTip(text);
}

// A flat button with a caption or a glyph of the program's set; toggle
// buttons stay down until clicked again.
TMUVButton *EditorToolButton(QWidget *parent, const char *name, const QString &text, const QString &hint,
                             const QRect &geometry, bool toggle, const QString &glyph)
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

namespace
{

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
    SetEditorHint(s, hint);
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

// A framed panel with its caption in the frame.
TMUVPanel *panel(QWidget *parent, const QString &caption)
{
    auto *p = new TMUVPanel(parent);
    p->SetCaption(caption);
    return p;
}

} // namespace

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
    TAB_Strichcode = new QWidget;
    TAB_Strichcode->setObjectName(QStringLiteral("TAB_Strichcode"));
    PageControl1->addTab(TAB_Strichcode, QStringLiteral("Strichcode"));
    BuildTextTab();
    BuildPictureTab();
    BuildBarcodeTab();
    BuildCommonPanel();

    BTN_OK = EditorToolButton(this, "BTN_OK", QStringLiteral("OK"), QStringLiteral("OK, Fertig"),
                              QRect(300, 356, 92, 28), false, QStringLiteral("ok"));
    BTN_Abbruch = EditorToolButton(this, "BTN_Abbruch", QStringLiteral("Abbruch"), QStringLiteral("Abbruch"),
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
    SetEditorHint(CB_Schriftart,
                  QStringLiteral("aktuell gewählte Schriftart des Textes \r\n(alle verfügbaren "
                                 "TRUE-TYPE-Schriftarten verwendbar)"));
    spin_SchriftH = spin(fonts, "spin_SchriftH", QStringLiteral("Höhe"), QStringLiteral("mm"), 1, 255, 1,
                         QStringLiteral("Schriftgröße in mm"), QRect(214, 20, 124, 24));
    BTN_Fett = EditorToolButton(fonts, "BTN_Fett", QStringLiteral("F"), QStringLiteral("Schriftmerkmal FETT"),
                                QRect(344, 20, 26, 24), true);
    BTN_Kursiv = EditorToolButton(fonts, "BTN_Kursiv", QStringLiteral("K"),
                                  QStringLiteral("Schriftmerkmal KURSIV"), QRect(372, 20, 26, 24), true);
    BTN_Unter =
        EditorToolButton(fonts, "BTN_Unter", QStringLiteral("U"),
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
    SetEditorHint(shape_FontColor, QStringLiteral("Klick wählt die Textfarbe aus"));

    SPIN_W = spin(fonts, "SPIN_W", QStringLiteral("Winkel"), QStringLiteral(" °"), 0, 360, 0,
                  QStringLiteral("Winkel der Schrift"), QRect(8, 62, 112, 24));
    btn_vordefw =
        EditorToolButton(fonts, "btn_vordefw", QStringLiteral("▾"),
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
    SetEditorHint(WinkelWahl, QStringLiteral("Wählen Sie mit der Maus den Textwinkel\r\n(in 15°-Schritten)"));
    connect(WinkelWahl, &TMUVWinkelWahl::OnMouseChange, this, &TForm_pictextplus::WinkelWahlMouseChange);
    btn_links = EditorToolButton(fonts, "btn_links", QString(), QStringLiteral("Text linksbündig"),
                                 QRect(212, 62, 26, 24), true, QStringLiteral("paragraph_left"));
    btn_mitte = EditorToolButton(fonts, "btn_mitte", QString(), QStringLiteral("Text mittig zentriert"),
                                 QRect(240, 62, 26, 24), true, QStringLiteral("paragraph_center"));
    btn_rechts = EditorToolButton(fonts, "btn_rechts", QString(), QStringLiteral("Text rechtsbündig"),
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
    SetEditorHint(Memo, QStringLiteral("|Geben Sie hier Ihren Text ein"));
    Memo->installEventFilter(this);
    lbl_anzzeichen = new QLabel(QStringLiteral("verbleibende Anzahl Zeichen: 255 "), textPanel);
    lbl_anzzeichen->setObjectName(QStringLiteral("lbl_anzzeichen"));
    lbl_anzzeichen->setGeometry(8, 102, 300, 18);
    btn_copy = EditorToolButton(textPanel, "btn_copy", QString(),
                                QStringLiteral("gesamten Text in die Zwischenablage übertragen"),
                                QRect(424, 20, 62, 26), false, QStringLiteral("copy"));
    btn_copy->setEnabled(false);
    btn_einfg = EditorToolButton(textPanel, "btn_einfg", QString(),
                                 QStringLiteral("Text aus der Zwischenablage einfügen"),
                                 QRect(424, 48, 62, 26), false, QStringLiteral("paste"));
    btn_yinyang = EditorToolButton(textPanel, "btn_yinyang", QStringLiteral("®"),
                                   QStringLiteral("Sonderzeichen einfügen"), QRect(424, 76, 30, 26));
    btn_platzhalter =
        EditorToolButton(textPanel, "btn_platzhalter", QStringLiteral("{ }"),
                         QStringLiteral("Platzhalter für Serienetiketten einfügen"), QRect(456, 76, 30, 26));

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
    connect(btn_platzhalter, &TMUVButton::OnClick, this, &TForm_pictextplus::btn_platzhalterClick);
}

void TForm_pictextplus::BuildCommonPanel()
{
    auto *panel = ::panel(this, QStringLiteral("Sonstiges"));
    panel->setGeometry(4, 264, 492, 86);
    Shape_BKColor = new TColourSwatch(false, panel);
    Shape_BKColor->setObjectName(QStringLiteral("Shape_BKColor"));
    Shape_BKColor->setGeometry(8, 22, 26, 22);
    SetEditorHint(Shape_BKColor, QStringLiteral("Klick wählt die Hintergrundfarbe des Feldes aus"));
    auto *bkLabel = new QLabel(QStringLiteral("Hintergrundfarbe"), panel);
    bkLabel->setGeometry(40, 22, 120, 22);
    Shape_linColor = new TColourSwatch(false, panel);
    Shape_linColor->setObjectName(QStringLiteral("Shape_linColor"));
    Shape_linColor->setGeometry(8, 52, 26, 22);
    SetEditorHint(Shape_linColor, QStringLiteral("Klick wählt die Farbe der Linienbegrenzung aus"));
    auto *linLabel = new QLabel(QStringLiteral("Linienfarbe"), panel);
    linLabel->setGeometry(40, 52, 120, 22);
    spin_linewidth = spin(panel, "spin_linewidth", QStringLiteral("Liniendicke"), QStringLiteral("mm"), 0.1,
                          255, 1, QStringLiteral("Liniendicke in mm"), QRect(160, 22, 140, 24));
    cb_lineou =
        checkBox(panel, "cb_lineou", QStringLiteral("obere/untere Linie zeigen"), QRect(310, 16, 178, 22));
    cb_linelire = checkBox(panel, "cb_linelire", QStringLiteral("  linke/rechte Linie zeigen"),
                           QRect(310, 38, 178, 22));
    cb_visible = checkBox(panel, "cb_visible", QStringLiteral("Element sichtbar"), QRect(310, 60, 178, 22));
    SetEditorHint(cb_visible, QStringLiteral("Das ganze Element ist sichtbar (oder nicht)"));

    connect(spin_linewidth, &TSpezialSpin::OnDelayedChange, this, &TForm_pictextplus::Macheaktuell);
    for (TMUVCheckBox *c : {cb_lineou, cb_linelire, cb_visible})
        connect(c, &TMUVCheckBox::OnChange, this, &TForm_pictextplus::Macheaktuell);
    for (TColourSwatch *s : {Shape_BKColor, Shape_linColor})
        connect(s, &TColourSwatch::MouseUp, this, &TForm_pictextplus::SwatchMouseUp);
}
