// TForm1: the context menu of the page preview and the field editor on a
// click. The menu's commands are the document's (document/field_commands.h):
// the window finds the position under the pointer, asks its questions and
// shows what comes back. And redo.
#include "app/mainwindow.h"

#include "document/list_paste.h"

#include "controls/MUVButton.h"
#include "controls/MUVScrollBox.h"
#include "dialogs/colorDialog.h"
#include "dialogs/pictextplus.h"
#include "document/field_commands.h"
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
    entry(m, "pm_el_listeinfg", QStringLiteral("Liste in Felder einfügen"), &TForm1::pm_el_listeinfgClick);
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
    set("pm_el_listeinfg", field && platform::ClipboardHasText());
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
    const TFieldPos at = CursorPos();
    if (!FieldAt(document_->Sheet(), at)) {
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
    const TFieldPos at = CursorPos();
    if (!FieldAt(document_->Sheet(), at))
        return;
    MarkAtCursor();
    if (!platform::ClipboardHasText()) {
        statusBar()->showMessage(QStringLiteral("Die Zwischenablage enthält keinen Text."), kStatusMessageMs);
        return;
    }
    const TCommandResult pasted = PasteText(*document_, at, platform::ClipboardText());
    if (!pasted.message.isEmpty())
        statusBar()->showMessage(pasted.message, kStatusMessageMs);
}

void TForm1::pm_el_listeinfgClick()
{
    canvas_->Redraw();
    const TFieldPos at = CursorPos();
    if (!FieldAt(document_->Sheet(), at))
        return;
    const TCommandResult pasted =
        PasteListIntoFields(*document_, at, platform::ClipboardText(), document_->FillOrder);
    if (!pasted.message.isEmpty())
        statusBar()->showMessage(pasted.message, kStatusMessageMs);
}

void TForm1::pm_el_visibleClick()
{
    ToggleFieldVisible(*document_, CursorPos());
}

void TForm1::pm_el_sichtbarClick()
{
    SetColumnFieldsVisible(*document_, CursorPos(), true);
}

void TForm1::pm_el_spalteunsClick()
{
    SetColumnFieldsVisible(*document_, CursorPos(), false);
}

void TForm1::pm_el_spbkonClick()
{
    // The entry toggled its check when it was chosen; the column follows it.
    SetColumnBackgroundOn(*document_, CursorPos(), PopupEntry(QStringLiteral("pm_el_spbkon"))->isChecked());
}

void TForm1::pm_el_spbkcolClick()
{
    const TFieldPos at = CursorPos();
    const TRSSpalte *column = ColumnAt(document_->Sheet(), at);
    if (!column)
        return;
    TColor colour = column->BackgroundColor;
    if (PickColour(this, colour))
        SetColumnBackgroundColour(*document_, at, colour);
}

void TForm1::pm_el_kopietoAllClick()
{
    const TFieldPos at = CursorPos();
    if (!FieldAt(document_->Sheet(), at))
        return;
    const int answer = platform::Confirm(kCopyAllQuestion, platform::MsgButtons::YesNoCancel);
    CopyToAllFields(*document_, at,
                    answer == platform::mrYes  ? TCopyContent::Everything
                    : answer == platform::mrNo ? TCopyContent::FormatOnly
                                               : TCopyContent::Nothing);
}

void TForm1::pm_EL_CopySpalteClick()
{
    const TFieldPos at = CursorPos();
    if (!FieldAt(document_->Sheet(), at))
        return;
    CopyToColumn(*document_, at,
                 platform::Confirm(kCopyColumnQuestion, platform::MsgButtons::YesNoCancel) ==
                     platform::mrYes);
}

void TForm1::pm_EL_CopyReiheClick()
{
    const TFieldPos at = CursorPos();
    if (!FieldAt(document_->Sheet(), at))
        return;
    CopyToRow(*document_, at,
              platform::Confirm(kCopyRowQuestion, platform::MsgButtons::YesNoCancel) == platform::mrYes);
}

void TForm1::PM_EL_FcopyClick()
{
    CopyFormat(*document_, CursorPos());
}

void TForm1::PM_EL_FPasteClick()
{
    ApplyFormat(*document_, CursorPos());
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
