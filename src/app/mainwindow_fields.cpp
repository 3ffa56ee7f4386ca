// TForm1: the commands on fields, columns and rows of the page preview: the
// context menu, the field editor on a click, pasted text, visibility, column
// backgrounds, copies of a field, format copy and paste; and redo.
#include "app/mainwindow.h"

#include "controls/MUVButton.h"
#include "controls/MUVScrollBox.h"
#include "dialogs/colorDialog.h"
#include "dialogs/pictextplus.h"
#include "model/undobj.h"
#include "platform/clipboard.h"
#include "platform/codepage.h"
#include "platform/messages.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

namespace
{

const QString kCopyAllQuestion =
    QStringLiteral("Das aktuelle Element wird auf alle anderen Elemente kopiert.\r\n\r\n"
                   "JA\t=\tAlles (auch der Text bzw. die Grafik) werden kopiert\r\n"
                   "NEIN\t=\tEs wird nur das Format kopiert (Schriftart, Farbe usw...)");
const QString kCopyColumnQuestion =
    QStringLiteral("Das aktuelle Element wird auf alle anderen Elemente dieser Spalte kopiert.");
const QString kCopyRowQuestion =
    QStringLiteral("Das aktuelle Element wird auf alle anderen Elemente dieser Reihe kopiert.");

// How long the status line shows what happened to a pasted text.
constexpr int kStatusMessageMs = 10000;

// The field at a page point and where it stands in the sheet.
struct FieldAt {
    TRSObject *field = nullptr;
    int column = -1, row = -1;
};

FieldAt fieldAt(const TRS &sheet, double x, double y)
{
    FieldAt at;
    at.field = sheet.FieldAtPoint(x, y);
    if (!at.field)
        return at;
    for (int c = 0; c < int(sheet.Columns.size()); ++c) {
        const auto &fields = sheet.Columns[std::size_t(c)]->Fields;
        for (int r = 0; r < int(fields.size()); ++r)
            if (fields[std::size_t(r)].get() == at.field) {
                at.column = c;
                at.row = r;
                return at;
            }
    }
    return at;
}

// The values a format copy takes from a text field and a format paste gives.
void copyFormat(TRSObject &to, const TRSObject &from)
{
    to.LinesTopBottom = from.LinesTopBottom;
    to.LinesLeftRight = from.LinesLeftRight;
    to.LineColor = from.LineColor;
    to.LineWidth = from.LineWidth;
    to.Alignment = from.Alignment;
    to.FontName = from.FontName;
    to.FontHeight = from.FontHeight;
    to.FontStyle = from.FontStyle;
    to.FontColor = from.FontColor;
    to.Angle = from.Angle;
    to.BackgroundColor = from.BackgroundColor;
}

// A clipboard text made fit for a field: tabs become blanks, other control
// characters go (line breaks stay CR LF), and the text is cut to what a
// field holds without splitting a line break.
struct PastedText {
    std::string text;
    std::size_t length = 0; // characters before cutting
    bool cut = false;
    bool controlsRemoved = false;
};

PastedText preparePastedText(const std::string &raw)
{
    PastedText p;
    p.text.reserve(kMaxStringBytes);
    auto add = [&p](const char *chars, std::size_t n) {
        p.length += n;
        // Once something did not fit, nothing after it is taken either.
        if (!p.cut && p.text.size() + n <= kMaxStringBytes)
            p.text.append(chars, n);
        else
            p.cut = true;
    };
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(raw[i]);
        if (ch == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            add("\r\n", 2);
            ++i;
        } else if (ch == '\t') {
            add(" ", 1);
        } else if (ch < 0x20 || ch == 0x7F) {
            p.controlsRemoved = true;
        } else {
            add(&raw[i], 1);
        }
    }
    return p;
}

} // namespace

// ------------------------------------------------------------ the menu

void TForm1::CreatePopup_EL()
{
    popupEl_ = new QMenu(this);
    popupEl_->setObjectName(QStringLiteral("Popup_EL"));
    auto entry = [this](QMenu *menu, const char *name, const QString &caption, void (TForm1::*handler)(),
                        bool checkable = false) {
        auto *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        if (handler)
            connect(a, &QAction::triggered, this, [this, handler] {
                // The mark shows what the command works on until it is done.
                popupCommandRunning_ = true;
                (this->*handler)();
                popupCommandRunning_ = false;
                UnmarkField();
            });
        return a;
    };
    QMenu *m = popupEl_;
    entry(m, "pm_el_cancel", QStringLiteral("Kontextmenü schließen/abbrechen"), &TForm1::pm_el_cancelClick);
    entry(m, "pm_el_work", QStringLiteral("Dieses Feld bearbeiten"), &TForm1::pm_el_workClick);
    entry(m, "PM_EL_CLPBRD", QStringLiteral("Text aus der Zwischenablage einfügen"),
          &TForm1::PM_EL_CLPBRDClick);
    entry(m, "pm_el_visible", QStringLiteral("Dieses Feld ist sichtbar"), &TForm1::pm_el_visibleClick, true);
    m->addSeparator();
    entry(m, "pm_el_sichtbar", QStringLiteral("Diese Spalte: Alle Elemente sichtbar"),
          &TForm1::pm_el_sichtbarClick);
    entry(m, "pm_el_spalteuns", QStringLiteral("Diese Spalte: Alle Elemente unsichtbar"),
          &TForm1::pm_el_spalteunsClick);
    QMenu *background = m->addMenu(QStringLiteral("Spaltenhintergrund"));
    background->setObjectName(QStringLiteral("pm_el_spaltenhintergrund"));
    entry(background, "pm_el_spbkon", QStringLiteral("Spaltenhintergrundfarbe AN/AUS"),
          &TForm1::pm_el_spbkonClick, true);
    entry(background, "pm_el_spbkcol", QStringLiteral("Spaltenhintergrundfarbe wählen"),
          &TForm1::pm_el_spbkcolClick);
    m->addSeparator();
    QMenu *texts = m->addMenu(QStringLiteral("Textelemente"));
    texts->setObjectName(QStringLiteral("pm_el_textelemente"));
    entry(texts, "pm_el_Feldopt", QStringLiteral("Optimierte Textbreite für dieses Feld"),
          &TForm1::pm_el_FeldoptClick);
    texts->addSeparator();
    entry(texts, "pm_el_spopt", QStringLiteral("Optimierte Textbreite für diese Spalte"),
          &TForm1::pm_el_spoptClick);
    entry(texts, "pm_el_allOpt", QStringLiteral("Optimierte Textbreite für alle Felder"),
          &TForm1::pm_el_allOptClick);
    // The view entries are reached by their keys (F5 to F7, handled by the
    // window) and the view buttons; the menu keeps them out of sight.
    QMenu *view = m->addMenu(QStringLiteral("Ansicht"));
    view->setObjectName(QStringLiteral("pm_el_ansicht"));
    auto hidden = [&](const char *name, const QString &caption, QKeySequence key, void (TForm1::*handler)(),
                      bool checkable = false) {
        QAction *a = entry(view, name, caption, handler, checkable);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        a->setVisible(false);
    };
    hidden("pm_el_alles", QStringLiteral("Ansicht \"ganze Seite\""), QKeySequence(Qt::Key_F7),
           &TForm1::BTN_AllesClick);
    hidden("pm_el_smaller", QStringLiteral("Ansicht \"verkleinern\""), QKeySequence(Qt::Key_F6),
           &TForm1::BTN_minusClick);
    hidden("pm_el_bigger", QStringLiteral("Ansicht \"vergrößern\""), QKeySequence(Qt::Key_F5),
           &TForm1::BTN_plusClick);
    hidden("PM_EL_Fadenkr", QStringLiteral("Fadenkreuz anzeigen"), QKeySequence(),
           &TForm1::PM_EL_FadenkrClick, true);
    // With every entry hidden the submenu would open empty.
    view->menuAction()->setVisible(false);
    m->addSeparator();
    entry(m, "pm_el_kopietoAll",
          QStringLiteral("Dieses Element auf alle anderen Elemente kopieren (alle gleich)"),
          &TForm1::pm_el_kopietoAllClick);
    entry(m, "pm_EL_CopySpalte",
          QStringLiteral("Dieses Element nur in dieser Spalte kopieren (= alle Reihen dieser Spalte gleich)"),
          &TForm1::pm_EL_CopySpalteClick);
    entry(m, "pm_EL_CopyReihe",
          QStringLiteral("Dieses Element nur in dieser Reihe kopieren (= alle Spalten dieser Reihe gleich)"),
          &TForm1::pm_EL_CopyReiheClick);
    m->addSeparator();
    entry(m, "PM_EL_Fcopy", QStringLiteral("Formatierung kopieren (z. B. Schriftart,-größe, -farbe....)"),
          &TForm1::PM_EL_FcopyClick);
    entry(m, "PM_EL_FPaste",
          QStringLiteral("Formatierung hier anwenden (Kopierte Formatierung bzw. Standardformat)"),
          &TForm1::PM_EL_FPasteClick);
    m->addSeparator();
    entry(m, "pm_el_Pageinfos", QStringLiteral("Zeige Maße des bedruckbaren Bereichs (Seitenrandmaße)"),
          &TForm1::pm_el_PageinfosClick, true);
    m->addSeparator();
    QAction *mod = entry(m, "PM_MOD", QStringLiteral("Rückenschildeinstellungen ändern"), nullptr);
    connect(mod, &QAction::triggered, this, [this] {
        if (TMUVButton *b = Button(QStringLiteral("btn_mod")))
            b->click();
    });

    // A menu closed without a command takes its mark along.
    connect(popupEl_, &QMenu::aboutToHide, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (!popupCommandRunning_ && !(popupEl_ && popupEl_->isVisible()))
                UnmarkField();
        });
    });

    // The hand over a field says that a click opens it. The canvas reports
    // the position after the window saw the move, so this follows the report.
    connect(canvas_, &TDPaintbox::OnXYChange, this, [this] {
        if (!panning_ && !canvas_->Bearbeitbar())
            canvas_->setCursor(document_->Sheet().FieldAtPoint(CursorX, CursorY) ? Qt::PointingHandCursor
                                                                                 : Qt::ArrowCursor);
    });

    canvas_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(canvas_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ShowPopup_EL(canvas_->mapToGlobal(pos)); });
}

QAction *TForm1::PopupEntry(const QString &name) const
{
    return popupEl_ ? popupEl_->findChild<QAction *>(name) : nullptr;
}

void TForm1::ShowPopup_EL(const QPoint &globalPos)
{
    if (!canvas_->isVisible())
        return;
    Popup_ELPopup();
    // The mark is painted before the menu covers the page.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    popupEl_->popup(globalPos);
}

void TForm1::Popup_ELPopup()
{
    const TRS &sheet = document_->Sheet();
    const TRSObject *field = sheet.FieldAtPoint(CursorX, CursorY);
    const TRSSpalte *column = sheet.ColumnAtPoint(CursorX, CursorY);
    MarkAtCursor();

    auto set = [this](const char *name, bool enabled) {
        PopupEntry(QString::fromLatin1(name))->setEnabled(enabled);
    };
    PopupEntry(QStringLiteral("pm_el_visible"))->setChecked(field && field->Visible);
    for (const char *name :
         {"pm_el_work", "pm_el_visible", "pm_el_kopietoAll", "PM_EL_Fcopy", "PM_EL_FPaste"})
        set(name, field != nullptr);
    set("PM_EL_CLPBRD", field && platform::ClipboardHasText());
    for (const char *name : {"pm_el_sichtbar", "pm_el_spalteuns", "pm_el_spbkcol", "pm_el_spbkon"})
        set(name, column != nullptr);
    PopupEntry(QStringLiteral("pm_el_spbkon"))->setChecked(column && column->BackgroundOn);
    // The states the two switches stand for.
    PopupEntry(QStringLiteral("pm_el_Pageinfos"))->setChecked(ShowPageInfo);
    PopupEntry(QStringLiteral("PM_EL_Fadenkr"))->setChecked(canvas_->AchsenCursor());
}

// ----------------------------------------------------------- the commands

void TForm1::pm_el_cancelClick()
{
    scrollBox_->setFocus();
    canvas_->Redraw();
}

void TForm1::pm_el_workClick()
{
    const FieldAt at = fieldAt(document_->Sheet(), CursorX, CursorY);
    if (!at.field) {
        UnmarkField();
        ShowPopup_EL(QCursor::pos());
        return;
    }
    EditField(at.column, at.row);
}

void TForm1::EditField(int column, int row)
{
    TRSObject *field = document_->Sheet().GetField(column, row);
    if (!field)
        return;
    canvas_->SetMarkRect(true, field->Left, field->Top, field->Width, field->Height);
    std::unique_ptr<TRSObject> backup = document_->SaveField(column, row);
    field->Visible = true;
    int result = 2;
    if (fieldEditor_) {
        result = fieldEditor_(*document_, *field, this);
    } else {
        TForm_pictextplus editor(*document_, field, this);
        result = editor.exec();
    }
    if (result == 1)
        document_->Commit(true);
    else
        document_->RestoreField(column, row, *backup);
    UnmarkField();
}

void TForm1::PM_EL_CLPBRDClick()
{
    canvas_->Redraw();
    TRSObject *field = document_->Sheet().FieldAtPoint(CursorX, CursorY);
    if (!field)
        return;
    MarkAtCursor();
    if (!platform::ClipboardHasText()) {
        statusBar()->showMessage(QStringLiteral("Die Zwischenablage enthält keinen Text."), kStatusMessageMs);
        return;
    }
    const PastedText pasted = preparePastedText(platform::ClipboardText());
    if (pasted.text.empty()) {
        statusBar()->showMessage(QStringLiteral("Die Zwischenablage enthält keinen einfügbaren Text."),
                                 kStatusMessageMs);
        return;
    }
    field->Kind = 1;
    field->Text = pasted.text;
    field->Visible = true;
    document_->Commit(true);
    QStringList notes;
    if (pasted.cut)
        notes << QStringLiteral("Der Text aus der Zwischenablage hatte %1 Zeichen; ein Feld fasst %2, "
                                "der Rest wurde weggelassen.")
                     .arg(pasted.length)
                     .arg(kMaxStringBytes);
    if (pasted.controlsRemoved)
        notes << QStringLiteral("Steuerzeichen aus der Zwischenablage wurden entfernt.");
    if (!notes.isEmpty())
        statusBar()->showMessage(notes.join(QLatin1Char(' ')), kStatusMessageMs);
}

void TForm1::pm_el_visibleClick()
{
    TRSObject *field = document_->Sheet().FieldAtPoint(CursorX, CursorY);
    if (!field)
        return;
    field->Visible = !field->Visible;
    document_->Commit(true);
}

void TForm1::pm_el_sichtbarClick()
{
    if (!document_->Sheet().ColumnAtPoint(CursorX, CursorY))
        return;
    document_->Sheet().SetColumnVisible(true, CursorX, CursorY);
    document_->Commit(true);
}

void TForm1::pm_el_spalteunsClick()
{
    if (!document_->Sheet().ColumnAtPoint(CursorX, CursorY))
        return;
    document_->Sheet().SetColumnVisible(false, CursorX, CursorY);
    document_->Commit(true);
}

void TForm1::pm_el_spbkonClick()
{
    TRSSpalte *column = document_->Sheet().ColumnAtPoint(CursorX, CursorY);
    if (!column)
        return;
    // The entry toggled its check when it was chosen; the column follows it.
    column->BackgroundOn = PopupEntry(QStringLiteral("pm_el_spbkon"))->isChecked();
    document_->Commit(true);
}

void TForm1::pm_el_spbkcolClick()
{
    TRSSpalte *column = document_->Sheet().ColumnAtPoint(CursorX, CursorY);
    if (!column)
        return;
    TColor colour = column->BackgroundColor;
    if (!PickColour(this, colour))
        return;
    column->BackgroundColor = colour;
    column->BackgroundOn = true;
    document_->Commit(true);
}

void TForm1::pm_el_kopietoAllClick()
{
    TRS &sheet = document_->Sheet();
    const TRSObject *field = sheet.FieldAtPoint(CursorX, CursorY);
    if (!field)
        return;
    const int answer = platform::Confirm(kCopyAllQuestion, platform::MsgButtons::YesNoCancel);
    if (answer == platform::mrYes)
        sheet.CopyFieldToAll(field, true);
    else if (answer == platform::mrNo)
        sheet.CopyFieldToAll(field, false);
    document_->Commit(true);
}

void TForm1::pm_EL_CopySpalteClick()
{
    TRS &sheet = document_->Sheet();
    const TRSObject *field = sheet.FieldAtPoint(CursorX, CursorY);
    TRSSpalte *column = sheet.ColumnAtPoint(CursorX, CursorY);
    if (!field || !column)
        return;
    if (platform::Confirm(kCopyColumnQuestion, platform::MsgButtons::YesNoCancel) == platform::mrYes)
        sheet.CopyFieldToColumn(field, column);
    document_->Commit(true);
}

void TForm1::pm_EL_CopyReiheClick()
{
    TRS &sheet = document_->Sheet();
    const TRSObject *field = sheet.FieldAtPoint(CursorX, CursorY);
    const int row = sheet.RowAtPoint(CursorX, CursorY);
    if (!field || row < 0)
        return;
    if (platform::Confirm(kCopyRowQuestion, platform::MsgButtons::YesNoCancel) == platform::mrYes)
        sheet.CopyFieldToRow(field, row);
    document_->Commit(true);
}

void TForm1::PM_EL_FcopyClick()
{
    const TRSObject *field = document_->Sheet().FieldAtPoint(CursorX, CursorY);
    if (!field || field->Kind != 1)
        return;
    copyFormat(document_->FormatTemplate, *field);
}

void TForm1::PM_EL_FPasteClick()
{
    TRSObject *field = document_->Sheet().FieldAtPoint(CursorX, CursorY);
    if (!field || field->Kind != 1)
        return;
    copyFormat(*field, document_->FormatTemplate);
    field->Visible = true;
    document_->Commit(true);
}

void TForm1::pm_el_PageinfosClick()
{
    ShowPageInfo = !ShowPageInfo;
    canvas_->ShowPageInfos(ShowPageInfo);
    PopupEntry(QStringLiteral("pm_el_Pageinfos"))->setChecked(ShowPageInfo);
}

void TForm1::PM_EL_FadenkrClick()
{
    // The entry toggled its check when it was chosen.
    canvas_->SetAchsenCursorTyp(TDPaintbox::ta_alle);
    canvas_->SetAchsenCursor(PopupEntry(QStringLiteral("PM_EL_Fadenkr"))->isChecked());
}

// ------------------------------------------------------------------ redo

void TForm1::btn_redoClick()
{
    if (!canvas_->isVisible())
        return;
    QString error;
    if (!document_->RedoStep(&error) && !error.isEmpty())
        platform::ShowError(error);
}
