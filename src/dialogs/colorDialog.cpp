#include "dialogs/colorDialog.h"

#include "controls/MUVButton.h"
#include "controls/MUVLabel.h"
#include "controls/MUVPanel.h"

#include "canvas/colours.h"
#include "controls/MUVColorHistory.h"
#include "controls/MUVComboFarbFav.h"
#include "controls/MUVWebColorBox.h"
#include "controls/SpezialSpin.h"
#include "controls/oxColorPicker.h"
#include "model/settings_places.h"
#include "platform/clipboard.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

using canvas::TColor;

namespace
{
bool DefaultInputQuery(QWidget *parent, const QString &caption, const QString &prompt, QString &value)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = answer;
    return ok;
}

TForm_ColorDLG::InputQuery g_inputQuery = DefaultInputQuery;

// A green plus for "add to the favourites"; the program's glyph set has none.
QImage PlusGlyph()
{
    QImage img(24, 24, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 4.5), QPointF(12, 19.5));
    p.drawLine(QPointF(4.5, 12), QPointF(19.5, 12));
    return img;
}

TMUVButton *MakeButton(QWidget *parent, const QString &glyphName, const QRect &geometry, const QString &hint)
{
    auto *b = new TMUVButton(parent);
    if (glyphName.isEmpty())
        b->SetGlyph(PlusGlyph());
    else
        b->SetGlyphName(glyphName, 16);
    b->setGeometry(geometry);
    b->setToolTip(hint);
    return b;
}

// The width a label needs to show its caption uncut at its font (the label
// keeps 12 pixels beside its text).
int CaptionWidth(const QString &text, const QFont &font)
{
    return QFontMetrics(font).horizontalAdvance(text) + 13;
}

TMUVLabel *MakeLabel(QWidget *parent, const QString &text, int x, int y, int w = -1, int h = 20)
{
    auto *l = new TMUVLabel(parent);
    l->SetCaption(text);
    l->SetLabelLayout(lycenterleft);
    if (w < 0)
        w = l->sizeHint().width();
    l->setGeometry(x, y, std::max(w, CaptionWidth(text, l->font())), h);
    return l;
}

// The hints carry a short and a long part separated by "|"; the tool tip
// shows the short part, or the long one when there is no short part.
QString ToolTipOf(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return hint;
    const QString shortPart = hint.left(bar);
    return shortPart.isEmpty() ? hint.mid(bar + 1) : shortPart;
}

void SetHint(QWidget *w, const QString &hint)
{
    w->setToolTip(ToolTipOf(hint));
    w->setStatusTip(hint.mid(hint.indexOf(QLatin1Char('|')) + 1));
}
} // namespace

TForm_ColorDLG::InputQuery TForm_ColorDLG::SetInputQuery(InputQuery query)
{
    InputQuery previous = g_inputQuery;
    g_inputQuery = query ? query : DefaultInputQuery;
    return previous;
}

QString TForm_ColorDLG::DefaultFavoritesFile()
{
    return SettingsFolder() + QStringLiteral("cfv.def");
}

TForm_ColorDLG::TForm_ColorDLG(QWidget *parent, const QString &favoritesFile)
    : QDialog(parent), favoritesFile_(favoritesFile)
{
    setWindowTitle(QStringLiteral("Farbe wählen..."));
    setWindowFlag(Qt::Tool, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(445, 331);
    BuildLayout();
    FormCreate();
}

void TForm_ColorDLG::BuildLayout()
{
    ColorPicker = new ToxColorPicker(this);
    ColorPicker->move(4, 4);
    ColorPicker->SetEditVisible(false);
    ColorPicker->SetPickColor(canvas::RGBToTColor(255, 0, 0));
    SetHint(ColorPicker, QStringLiteral("|Wählt den Farbwert, die Helligkeit und Sättigung"));
    connect(ColorPicker, &ToxColorPicker::OnColorChange, this, &TForm_ColorDLG::ColorPickerColorChange);

    STD_Colorctrl = new TMUVColorHistory(this);
    STD_Colorctrl->setGeometry(275, 10, 18, 16 * 16);
    STD_Colorctrl->SetCellSize(16);
    STD_Colorctrl->SetFrameColor(canvas::SystemColor(12));
    SetHint(STD_Colorctrl, QStringLiteral("|die 16 Windowsstandardfarben"));
    connect(STD_Colorctrl, &TMUVColorHistory::OnSelectColor, this,
            [this](TColor c, Qt::MouseButton, int) { STD_ColorctrlSelectColor(c); });

    const int x0 = 302;
    shape_Akt = new TMUVPanel(this);
    shape_Akt->setGeometry(x0, 10, 47, 46);
    shape_Akt->SetBorderMargin(1);
    shape_Akt->SetBorderColor(0);
    SetHint(shape_Akt, QStringLiteral("|aktuelle Farbwahl"));

    MakeLabel(this, QStringLiteral("HTML"), x0 + 56, 10);
    // The hex field follows its "#" and ends before the copy button.
    const TMUVLabel *hash = MakeLabel(this, QStringLiteral("#"), x0 + 50, 32, 8);
    edit_hex = new QLineEdit(QStringLiteral("A0A0A0"), this);
    const int hexLeft = hash->geometry().right() - 4;
    edit_hex->setGeometry(hexLeft, 32, x0 + 117 - hexLeft, 20);
    edit_hex->installEventFilter(this);
    SetHint(edit_hex, QStringLiteral("|Hexadezimaldarstellung der Farbe (HTML-Format #RGB) - Eingabe "
                                     "und <<RETURN>> ändert die Farbe"));
    btn_clpbrd = MakeButton(this, QStringLiteral("copy"), QRect(x0 + 119, 32, 20, 20), QString());
    SetHint(btn_clpbrd, QStringLiteral("|Überträgt die gewählte Farbe im HTML-Format in die Zwischenablage"));
    connect(btn_clpbrd, &TMUVButton::OnClick, this, &TForm_ColorDLG::btn_clpbrdClick);

    WebColorBox = new TMUVWebColorBox(this);
    WebColorBox->setGeometry(x0, 64, 138, 22);
    WebColorBox->SetDroppedWidth(200);
    WebColorBox->setMaxVisibleItems(20);
    SetHint(WebColorBox, QStringLiteral("|vordefinierte HTML-/Webfarben"));
    connect(WebColorBox, &TMUVWebColorBox::OnClick, this, &TForm_ColorDLG::WebColorBoxClick);

    struct SpinSpec {
        TSpezialSpin **spin;
        const char *label;
        const char *before;
        int max;
        const char *hint;
    };
    const SpinSpec specs[] = {
        {&spin_R, "Rot", "(0..255)", 255, "|Rotanteil der aktuellen Farbwahl"},
        {&Spin_G, "Grün", "(0..255)", 255, "|Grünanteil der aktuellen Farbwahl"},
        {&Spin_B, "Blau", "(0..255)", 255, "|Blauanteil der aktuellen Farbwahl"},
        {&spin_L, "L", "(Helligkeit)", 100, "|Helligkeit der aktuellen Farbwahl (0 bis 100%)"},
        {&spin_S, "S", "(Sättigung)", 100, "|Sättigung der aktuellen Farbwahl (0 bis 100%)"},
        {&spin_H, "H", "(Farbwert)", 360, "|Farbwert der aktuellen Farbwahl (0 bis 360°)"},
    };
    // The names of a group take the width of the longest at the spin fields'
    // font; the one-letter H/S/L names leave more room for the texts before
    // their boxes.
    const QFont spinFont = TSpezialSpin(this).font();
    int groupWidth[2] = {0, 0};
    for (int i = 0; i < 6; ++i)
        groupWidth[i / 3] =
            std::max(groupWidth[i / 3], CaptionWidth(QString::fromUtf8(specs[i].label), spinFont));
    int y = 96;
    for (int i = 0; i < 6; ++i) {
        if (i == 3)
            y += 8;
        const SpinSpec &s = specs[i];
        // The label's text starts 6 pixels into it: the spin may begin
        // where its text ends.
        const int nameWidth = groupWidth[i / 3] - 6;
        auto *spin = new TSpezialSpin(this);
        spin->setGeometry(x0 + nameWidth, y, 138 - nameWidth, 20);
        spin->SetTextBefore(QString::fromUtf8(s.before));
        // The name sits on the line of the spin's own texts.
        TMUVLabel *name =
            MakeLabel(this, QString::fromUtf8(s.label), x0, y + spin->Editor()->y(), groupWidth[i / 3], 18);
        name->SetFont(spin->font());
        name->lower(); // its empty right part lies under the spin
        name->SetLabelLayout(lylefttop);
        spin->SetMinValue(0);
        spin->SetMaxValue(s.max);
        spin->SetNachkommaStellen(0);
        spin->SetChangeDelay(2000);
        SetHint(spin, QString::fromUtf8(s.hint));
        *s.spin = spin;
        if (i < 3)
            connect(spin, &TSpezialSpin::OnDelayedChange, this, [this, spin] { Wchange(spin); });
        else
            connect(spin, &TSpezialSpin::OnDelayedChange, this, [this, spin] { spin_LDelayedChange(spin); });
        y += 24;
    }

    // The bottom bar.
    auto *bar = new TMUVPanel(this);
    bar->setGeometry(0, 297, 445, 34);
    bar->SetBorderMargin(1);
    bar->lower();
    MakeLabel(this, QStringLiteral("Favoriten:"), 8, 302, -1, 24);
    clr_Favs = new TMUVComboFarbFav(this);
    clr_Favs->setGeometry(68, 302, 200, 24);
    clr_Favs->setToolTip(QStringLiteral("Ihre Favoritenfarben\r\nRechte Maustaste für weitere Befehle")
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    clr_Favs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(clr_Favs, &TMUVComboFarbFav::OnSelectFavoriteColor, this,
            &TForm_ColorDLG::clr_FavsSelectFavoriteColor);
    PM_Favs = new QMenu(this);
    PM_Favs_DEL = PM_Favs->addAction(QStringLiteral("Diesen Farbfavoriten löschen"));
    PM_FAVs_Rename = PM_Favs->addAction(QStringLiteral("Diesen Farbfavoriten umbenennen"));
    connect(PM_Favs, &QMenu::aboutToShow, this, &TForm_ColorDLG::PM_FavsPopup);
    connect(PM_Favs_DEL, &QAction::triggered, this, &TForm_ColorDLG::PM_Favs_DELClick);
    connect(PM_FAVs_Rename, &QAction::triggered, this, &TForm_ColorDLG::PM_FAVs_RenameClick);
    connect(clr_Favs, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PM_Favs->popup(clr_Favs->mapToGlobal(pos)); });

    btn_plusfav = MakeButton(this, QString(), QRect(272, 302, 24, 24),
                             QStringLiteral("Hinzufügen der aktuellen Farbe als Favorit"));
    connect(btn_plusfav, &TMUVButton::OnClick, this, &TForm_ColorDLG::btn_plusfavClick);

    BTN_OK = MakeButton(this, QStringLiteral("ok"), QRect(384, 302, 24, 24), QStringLiteral("OK, Fertig"));
    BTN_Abbruch =
        MakeButton(this, QStringLiteral("cancel"), QRect(413, 302, 24, 24), QStringLiteral("Abbruch"));
    connect(BTN_OK, &TMUVButton::OnClick, this, &QDialog::accept);
    connect(BTN_Abbruch, &TMUVButton::OnClick, this, &QDialog::reject);
}

void TForm_ColorDLG::FormCreate()
{
    // AddColor puts each colour in front: the strip ends up black first.
    const TColor standard[] = {0x808000, 0x800080, 0x800000, 0x008080, 0x000080, 0x800000,
                               0xFFFF00, 0xFF00FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0x008000,
                               0x0000FF, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000};
    for (TColor c : standard)
        STD_Colorctrl->AddColor(c);
    clr_Favs->SetFavoritesFile(favoritesFile_);
    clr_Favs->LoadFavorites();
    clr_Favs->SetDroppedWidth(250);
}

void TForm_ColorDLG::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    SetCurrentColor(CurrentColor, this);
}

void TForm_ColorDLG::done(int result)
{
    clr_Favs->SaveFavorites();
    QDialog::done(result);
}

void TForm_ColorDLG::SetCurrentColor(TColor colour, QObject *source)
{
    CurrentColor = colour;
    const colours::TRGB rgb = colours::ColorToRGB(colour);
    const colours::THSV hsv = colours::RGBToHSV(rgb.R, rgb.G, rgb.B);

    shape_Akt->SetColor(colour);
    shape_Akt->SetBackgroundColor(colour);

    if (source)
        ColorPicker->SetPickColor(colour);
    if (source != WebColorBox) {
        const QSignalBlocker block(WebColorBox);
        WebColorBox->setCurrentIndex(WebColorBox->IndexOfColor(colour));
    }
    if (source != clr_Favs) {
        const QSignalBlocker block(clr_Favs);
        clr_Favs->setCurrentIndex(-1);
    }
    spin_R->SetValue(rgb.R);
    Spin_G->SetValue(rgb.G);
    Spin_B->SetValue(rgb.B);
    spin_H->SetValue(hsv.H);
    spin_S->SetValue(colours::ByteToPercent(hsv.S));
    spin_L->SetValue(colours::ByteToPercent(hsv.V));
    edit_hex->setText(colours::ColorToHtml(colour));
    ColorPicker->setFocus();
}

void TForm_ColorDLG::ApplyHexEdit()
{
    const QString t = (QStringLiteral("000000") + edit_hex->text()).right(6);
    const auto html = colours::HexToColor(t);
    if (!html)
        return;
    SetCurrentColor(colours::HtmlValueToColor(*html), this);
}

bool TForm_ColorDLG::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edit_hex || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        ApplyHexEdit();
        return true; // RETURN applies; it does not close the dialog
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false; // cursor keys, Delete, Tab, Backspace
    QChar ch = text.at(0);
    if (ch >= QLatin1Char('a') && ch <= QLatin1Char('f')) {
        edit_hex->insert(QString(ch.toUpper()));
        return true;
    }
    const bool ok = (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
                    (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'));
    return !ok;
}

void TForm_ColorDLG::ColorPickerColorChange(TColor colour)
{
    SetCurrentColor(colour, nullptr);
}

void TForm_ColorDLG::STD_ColorctrlSelectColor(TColor colour)
{
    SetCurrentColor(colour, STD_Colorctrl);
}

void TForm_ColorDLG::WebColorBoxClick()
{
    SetCurrentColor(WebColorBox->SelectedColor(), WebColorBox);
}

void TForm_ColorDLG::clr_FavsSelectFavoriteColor(TColor colour)
{
    SetCurrentColor(colour, clr_Favs);
}

void TForm_ColorDLG::Wchange(TSpezialSpin *spin)
{
    SetCurrentColor(canvas::RGBToTColor(spin_R->Value(), Spin_G->Value(), Spin_B->Value()), spin);
}

void TForm_ColorDLG::spin_LDelayedChange(TSpezialSpin *spin)
{
    const colours::TRGB rgb = colours::HSVToRGB(spin_H->Value(), colours::PercentToByte(spin_S->Value()),
                                                colours::PercentToByte(spin_L->Value()));
    ColorPicker->SetPickColor(colours::RGBToColor(rgb));
    QApplication::processEvents();
    SetCurrentColor(ColorPicker->PickColor(), spin);
}

void TForm_ColorDLG::btn_clpbrdClick()
{
    ApplyHexEdit();
    platform::SetClipboardText((QStringLiteral("#") + edit_hex->text()).toStdString());
}

void TForm_ColorDLG::btn_plusfavClick()
{
    QString name = QStringLiteral("noch kein Name");
    if (!g_inputQuery(this, QStringLiteral("Farbfavorit"), QStringLiteral("Name der Farbe:"), name))
        return;
    clr_Favs->AddFavorite(CurrentColor, spin_R->Value(), name, Spin_B->Value(), Spin_G->Value());
}

void TForm_ColorDLG::PM_FavsPopup()
{
    const bool selected = clr_Favs->currentIndex() >= 0;
    PM_Favs_DEL->setEnabled(selected);
    PM_FAVs_Rename->setEnabled(selected);
}

void TForm_ColorDLG::PM_Favs_DELClick()
{
    clr_Favs->DeleteFavorite(clr_Favs->currentIndex());
}

void TForm_ColorDLG::PM_FAVs_RenameClick()
{
    const int index = clr_Favs->currentIndex();
    if (index < 0)
        return;
    QString name = clr_Favs->FavoriteName(index);
    if (!g_inputQuery(this, QStringLiteral("Farbfavoritenname ändern"), QStringLiteral("Neuer Name:"), name))
        return;
    clr_Favs->RenameFavorite(index, name);
}

bool PickColour(QWidget *parent, TColor &colour, TColorDialogPlace place)
{
    TForm_ColorDLG dlg(parent);
    dlg.CurrentColor = colour;
    if (parent) {
        const QRect caller = parent->window()->frameGeometry();
        if (place == TColorDialogPlace::BeyondCallerCorner)
            dlg.move(caller.left() + caller.width() - dlg.width() + 20,
                     caller.top() + caller.height() - dlg.height() + 20);
        else
            dlg.move(caller.center() - QPoint(dlg.width() / 2, dlg.height() / 2));
    }
    if (dlg.exec() != QDialog::Accepted)
        return false;
    colour = dlg.CurrentColor;
    return true;
}
