// TForm1: new sheet and change of the sheet layout through the layout
// dialog, and the fitting of text heights to the field widths.
#include "app/mainwindow.h"

#include "app/textwidth.h"
#include "controls/MUVScrollBox.h"
#include "dialogs/rsneu.h"
#include "model/undobj.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QAction>
#include <QToolButton>

namespace
{
const QString kCountQuestion =
    QStringLiteral("Sie haben die Anzahl der Spalten oder Reihen geändert !\r\nBei kleinerer Anzahl werden "
                   "evtl. vorhandene Elemente\r\nentfernt.\r\n\r\nMÖCHTEN SIE DIES WIRKLICH TUN ?");

void orientationFromSheet(const TRS &sheet)
{
    platform::Printer::Instance().SetOrientation(sheet.PageWidth > sheet.PageHeight ? QPageLayout::Landscape
                                                                                    : QPageLayout::Portrait);
}

} // namespace

void TForm1::CreateLayoutActions()
{
    auto action = [this](const QString &text, void (TForm1::*handler)()) {
        auto *a = new QAction(text, this);
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        addAction(a);
        return a;
    };
    actFeldopt_ =
        action(QStringLiteral("Optimierte Textbreite für dieses Feld"), &TForm1::pm_el_FeldoptClick);
    actSpopt_ = action(QStringLiteral("Optimierte Textbreite für diese Spalte"), &TForm1::pm_el_spoptClick);
    actAllOpt_ = action(QStringLiteral("Optimierte Textbreite für alle Felder"), &TForm1::pm_el_allOptClick);
}

// ------------------------------------------------------------- new sheet

void TForm1::btn_NeuClick()
{
    QToolButton *button = Button(QStringLiteral("btn_Neu"));
    button->setDown(true);
    if (SaveQuestion()) {
        TForm_RSNEU dialog(this);
        TRSLayoutValues v = dialog.Values();
        v.MarginLeft = v.MarginRight = 26.5;
        v.LineFactor = LineFactor;
        v.BackgroundColor = sheet_->BackgroundColor;
        v.ColumnLineColor = sheet_->ColumnLineColor;
        v.RowLineColor = sheet_->RowLineColor;
        dialog.SetValues(v);
        dialog.setWindowTitle(QStringLiteral("Neues Rückenschild definieren..."));
        if (dialog.exec() == TForm_RSNEU::mrOk) {
            const TRSLayoutValues r = dialog.Values();
            sheet_->SetLayout(r.Columns, r.Rows, r.PageWidth, r.PageHeight, r.MarginLeft, r.MarginRight,
                              r.MarginTop, r.MarginBottom, r.ColumnGap, r.FieldSpacing, r.BackgroundColor);
            sheet_->ColumnLineColor = r.ColumnLineColor;
            sheet_->RowLineColor = r.RowLineColor;
            platform::Printer &printer = platform::Printer::Instance();
            printer.SetOrientation(QPageLayout::Portrait);
            if (sheet_->PageWidth > sheet_->PageHeight)
                printer.SetOrientation(QPageLayout::Landscape);
            LineFactor = r.LineFactor;
            canvas_->RefreshPrinter();
            FormResize();
            SetCanvasVisible(true);
            Recompose(false);
            undo_->Push(sheet_.get());
            sheet_->Modified = true;
            previewCaption_->setText(PreviewHelpCaption());
            UpdateCommandStates();
        }
    }
    button->setDown(false);
    SyncRulers();
}

// ------------------------------------------------------- change of layout

void TForm1::btn_modClick()
{
    if (!sheet_->GridBuilt)
        return;
    QToolButton *button = Button(QStringLiteral("btn_mod"));
    button->setDown(true);
    orientationFromSheet(*sheet_);
    TForm_RSNEU dialog(this);
    dialog.setWindowTitle(QStringLiteral("Rückenschild ändern..."));
    dialog.SetChangeMode();
    TRSLayoutValues v;
    v.PageWidth = sheet_->PageWidth;
    v.PageHeight = sheet_->PageHeight;
    v.MarginLeft = sheet_->MarginLeft;
    v.MarginRight = sheet_->MarginRight;
    v.MarginTop = sheet_->MarginTop;
    v.MarginBottom = sheet_->MarginBottom;
    v.Columns = sheet_->ColumnCount;
    v.Rows = sheet_->RowCount;
    v.ColumnGap = sheet_->ColumnGap;
    v.FieldSpacing = sheet_->FieldSpacing;
    v.LineFactor = LineFactor;
    v.BackgroundColor = sheet_->BackgroundColor;
    v.ColumnLineColor = sheet_->ColumnLineColor;
    v.RowLineColor = sheet_->RowLineColor;
    dialog.SetValues(v);
    if (dialog.exec() == TForm_RSNEU::mrOk)
        ChangeLayout(dialog);
    button->setDown(false);
    SyncRulers();
}

void TForm1::ChangeLayout(TForm_RSNEU &dialog)
{
    orientationFromSheet(*sheet_);
    TRSLayoutValues r = dialog.Values();
    // The page size of an existing sheet stays.
    r.PageWidth = sheet_->PageWidth;
    r.PageHeight = sheet_->PageHeight;
    bool regrid = false;
    if (r.Columns != sheet_->ColumnCount || r.Rows != sheet_->RowCount) {
        platform::Message m;
        m.text = kCountQuestion;
        m.type = platform::MsgType::Warning;
        m.buttons = platform::MsgButtons::YesNo;
        regrid = platform::ShowMessage(m) == platform::mrYes;
    }
    if (!regrid) {
        r.Columns = sheet_->ColumnCount;
        r.Rows = sheet_->RowCount;
    }
    // The dialog checked its values with the counts it showed; kept counts
    // can make margins and gaps too wide all the same.
    const QString problem = LayoutProblem(r);
    if (!problem.isEmpty()) {
        platform::ShowError(problem + QStringLiteral("\r\n\r\nDas Rückenschild bleibt unverändert."));
        return;
    }
    sheet_->SetSpacing(r.MarginLeft, r.MarginRight, r.MarginTop, r.MarginBottom, r.ColumnGap, r.FieldSpacing);
    sheet_->BackgroundColor = r.BackgroundColor;
    sheet_->ColumnLineColor = r.ColumnLineColor;
    sheet_->RowLineColor = r.RowLineColor;
    LineFactor = r.LineFactor;
    if (regrid)
        sheet_->SetGrid(r.Columns, r.Rows);
    canvas_->RefreshPrinter();
    Recompose(true);
}

// ----------------------------------------------------- optimised text width

void TForm1::FitTextWidth(int scope)
{
    if (!sheet_->GridBuilt)
        return;
    FitTextWidths(*sheet_, TTextFitScope(scope), CursorX, CursorY,
                  [this](const TRSObject &f, int, int) { return OwnTextWidth(*canvas_, f); });
    Recompose(true);
}

void TForm1::pm_el_FeldoptClick()
{
    FitTextWidth(int(TTextFitScope::Field));
}

void TForm1::pm_el_spoptClick()
{
    FitTextWidth(int(TTextFitScope::Column));
}

void TForm1::pm_el_allOptClick()
{
    FitTextWidth(int(TTextFitScope::Sheet));
}
