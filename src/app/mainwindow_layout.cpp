// TForm1: new sheet and change of the sheet layout through the layout
// dialog, and the fitting of text heights to the field widths.
#include "app/mainwindow.h"

#include "controls/MUVButton.h"
#include "controls/MUVScrollBox.h"
#include "dialogs/rsneu.h"
#include "document/output.h"
#include "document/text_width.h"
#include "model/barcode.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QAction>

namespace
{
const QString kCountQuestion =
    QStringLiteral("Sie haben die Anzahl der Spalten oder Reihen geändert !\r\nBei kleinerer Anzahl werden "
                   "evtl. vorhandene Elemente\r\nentfernt.\r\n\r\nMÖCHTEN SIE DIES WIRKLICH TUN ?");

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
    TRS &sheet = document_->Sheet();
    TMUVButton *button = Button(QStringLiteral("btn_Neu"));
    button->setDown(true);
    if (SaveQuestion()) {
        TForm_RSNEU dialog(this);
        TRSLayoutValues v = dialog.Values();
        v.MarginLeft = v.MarginRight = 26.5;
        v.LineFactor = document_->LineFactor;
        v.BackgroundColor = sheet.BackgroundColor;
        v.ColumnLineColor = sheet.ColumnLineColor;
        v.RowLineColor = sheet.RowLineColor;
        dialog.SetValues(v);
        dialog.setWindowTitle(QStringLiteral("Neues Rückenschild definieren..."));
        if (dialog.exec() == TForm_RSNEU::mrOk) {
            const TRSLayoutValues r = dialog.Values();
            sheet.SetLayout(r.Columns, r.Rows, r.PageWidth, r.PageHeight, r.MarginLeft, r.MarginRight,
                            r.MarginTop, r.MarginBottom, r.ColumnGap, r.FieldSpacing, r.BackgroundColor);
            sheet.ColumnLineColor = r.ColumnLineColor;
            sheet.RowLineColor = r.RowLineColor;
            document_->LineFactor = r.LineFactor;
            ReadPrinterPage(true);
            FormResize();
            SetCanvasVisible(true);
            // The snapshot holds the new sheet; the one before it stays in the
            // store, so that undo brings the previous sheet back.
            document_->Commit(true);
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
    TRS &sheet = document_->Sheet();
    if (!sheet.GridBuilt)
        return;
    TMUVButton *button = Button(QStringLiteral("btn_mod"));
    button->setDown(true);
    FollowSheetOrientation(); // the dialog's printer setup shows it
    TForm_RSNEU dialog(this);
    dialog.setWindowTitle(QStringLiteral("Rückenschild ändern..."));
    dialog.SetChangeMode();
    TRSLayoutValues v;
    v.PageWidth = sheet.PageWidth;
    v.PageHeight = sheet.PageHeight;
    v.MarginLeft = sheet.MarginLeft;
    v.MarginRight = sheet.MarginRight;
    v.MarginTop = sheet.MarginTop;
    v.MarginBottom = sheet.MarginBottom;
    v.Columns = sheet.ColumnCount;
    v.Rows = sheet.RowCount;
    v.ColumnGap = sheet.ColumnGap;
    v.FieldSpacing = sheet.FieldSpacing;
    v.LineFactor = document_->LineFactor;
    v.BackgroundColor = sheet.BackgroundColor;
    v.ColumnLineColor = sheet.ColumnLineColor;
    v.RowLineColor = sheet.RowLineColor;
    dialog.SetValues(v);
    if (dialog.exec() == TForm_RSNEU::mrOk)
        ChangeLayout(dialog);
    button->setDown(false);
    SyncRulers();
}

void TForm1::ChangeLayout(TForm_RSNEU &dialog)
{
    TRS &sheet = document_->Sheet();
    FollowSheetOrientation();
    TRSLayoutValues r = dialog.Values();
    // The page size of an existing sheet stays.
    r.PageWidth = sheet.PageWidth;
    r.PageHeight = sheet.PageHeight;
    bool regrid = false;
    if (r.Columns != sheet.ColumnCount || r.Rows != sheet.RowCount) {
        platform::Message m;
        m.text = kCountQuestion;
        m.type = platform::MsgType::Warning;
        m.buttons = platform::MsgButtons::YesNo;
        regrid = platform::ShowMessage(m) == platform::mrYes;
    }
    if (!regrid) {
        r.Columns = sheet.ColumnCount;
        r.Rows = sheet.RowCount;
    }
    // The dialog checked its values with the counts it showed; kept counts
    // can make margins and gaps too wide all the same.
    const QString problem = LayoutProblem(r);
    if (!problem.isEmpty()) {
        platform::ShowError(problem + QStringLiteral("\r\n\r\nDas Rückenschild bleibt unverändert."));
        return;
    }
    sheet.SetSpacing(r.MarginLeft, r.MarginRight, r.MarginTop, r.MarginBottom, r.ColumnGap, r.FieldSpacing);
    sheet.BackgroundColor = r.BackgroundColor;
    sheet.ColumnLineColor = r.ColumnLineColor;
    sheet.RowLineColor = r.RowLineColor;
    document_->LineFactor = r.LineFactor;
    if (regrid)
        sheet.SetGrid(r.Columns, r.Rows);
    RefitLinearCodes(sheet);
    ReadPrinterPage(true);
    document_->Commit(true);
}

// ----------------------------------------------------- optimised text width

void TForm1::pm_el_FeldoptClick()
{
    FitTextWidths(*document_, TTextFitScope::Field, CursorPos());
}

void TForm1::pm_el_spoptClick()
{
    FitTextWidths(*document_, TTextFitScope::Column, CursorPos());
}

void TForm1::pm_el_allOptClick()
{
    FitTextWidths(*document_, TTextFitScope::Sheet, CursorPos());
}
