#pragma once
// TForm1: the main window, a shell over the document (TDocument): the
// true-size preview, tool bar, menus and status bar, the file commands, the
// view commands and the column and row commands of the tool bar.

#include "document/document.h"
#include "document/field_commands.h"
#include "document/settings.h"
#include "platform/shell.h"

#include <QLabel>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class TForm_RSNEU;
class TMUVButton;
class TMUVPixelLineal;
class TMUVScrollBox;
class TStatusPanels;
class TRSUndo;

class TForm1 : public QMainWindow
{
    Q_OBJECT

  public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    static QString CaptionPrefix()
    {
        return QStringLiteral("Rückenschilddruckprogramm (Version 1.99.2 <03/2020>) - ");
    }
    static QString PreviewHelpCaption();

    // The file named on the command line, opened after the window is shown.
    void SetStartFile(const QString &path) { startFile_ = path; }
    // Settings, first-start questions, sheet and undo store; then the window
    // is maximised and the start file opened. Runs once.
    void FormShow();

    // --- State ---------------------------------------------------------------
    bool ShowPageInfo = false;
    double CursorX = 0, CursorY = 0;
    // Where (CursorX, CursorY) lies on the sheet: what the context menu's
    // commands work on.
    TFieldPos CursorPos() const { return FieldPosAt(document_->Sheet(), CursorX, CursorY); }

    TDocument &Document() { return *document_; }
    TRS &Sheet() { return document_->Sheet(); }
    TRSUndo *Undo() { return &document_->Undo(); }
    TDPaintbox *DPaintbox1() { return canvas_; }
    TMUVScrollBox *ScrollBox1() { return scrollBox_; }
    TMUVPixelLineal *lin_H() { return linH_; }
    TMUVPixelLineal *lin_V() { return linV_; }
    TMUVButton *Button(const QString &name) const;
    // The menu entry whose text reads text (without its "&").
    QAction *MenuAction(const QString &text) const;
    static QString VisibleMenuText(const QAction *action);
    QLabel *StatusPanel(int i) const { return panels_[std::size_t(i)]; }
    QLabel *PreviewCaption() const { return previewCaption_; }

    // --- Commands ----------------------------------------------------------
    void btn_openClick();
    void btn_saveClick();
    void btn_printClick();
    // Labels filled from a list (Datei → Serienetiketten…) and the sheet as a
    // PDF file (Datei → Als PDF speichern…).
    void mm_SerienClick();
    void mm_PdfClick();
    void btn_undoClick();
    // Opens a label file; askPrinter: read the printer's page again first
    // (not at start, where it was read a moment ago).
    void OpenDocument(const QString &path, bool askPrinter = true);
    // The page of the sheet from the printer (asked again with askPrinter),
    // in the sheet's orientation, which the printer's setup dialogs show too.
    void ReadPrinterPage(bool askPrinter);
    // The printer's own orientation (that of its setup dialogs) follows the
    // sheet; the window is the one place that sets it.
    void FollowSheetOrientation();
    // The question before the sheet is replaced; false when cancelled.
    bool SaveQuestion();
    // The session manager's request before logout or shutdown: with leave to
    // ask, the question about unsaved changes; false when the user cancels
    // (the session manager then keeps the session).
    bool CommitSession(bool mayAsk);
    // The session ends (a termination signal): open dialogs are dismissed
    // and the window closes without a question, so that the program ends the
    // normal way and removes its lock and undo files.
    void EndSession();
    bool SessionEnding() const { return endingSession_; }

    void StatusPageText();

    void btn_spaltenlinksClick();
    void btn_spaltenrechtsClick();
    void btn_obenClick();
    void btn_untenClick();
    void btn_spaltekopierenClick();
    void btn_workClick();

    void BTN_plusClick();
    void BTN_minusClick();
    void BTN_AllesClick();
    void FormResize();
    void SyncRulers();
    void DPaintbox1XYChange(double x, double y);

    // Marks the field at (CursorX, CursorY), or else the column there, as
    // the context menu and the field editor show what they work on; switches
    // the mark off outside both. Returns what was marked: 2 field, 1 column, 0 none.
    int MarkAtCursor();
    void UnmarkField();
    QWidget *FieldHighlight() const { return fieldHighlight_; }

    // --- New sheet, change of layout, text widths (mainwindow_layout.cpp) ---
    void btn_NeuClick();
    void btn_modClick();
    // "Optimierte Textbreite" for the field, the column at (CursorX, CursorY),
    // or every field: text heights scaled to the width between the border lines.
    void pm_el_FeldoptClick();
    void pm_el_spoptClick();
    void pm_el_allOptClick();
    QAction *pm_el_Feldopt() const { return actFeldopt_; }
    QAction *pm_el_spopt() const { return actSpopt_; }
    QAction *pm_el_allOpt() const { return actAllOpt_; }
    // --- Fields, columns and rows: the context menu (mainwindow_fields.cpp) ---
    QMenu *Popup_EL() const { return popupEl_; }
    // An entry of the context menu by its name ("pm_el_work", ...).
    QAction *PopupEntry(const QString &name) const;
    void Popup_ELPopup();
    // Opens the context menu at a screen position.
    void ShowPopup_EL(const QPoint &globalPos);
    void pm_el_cancelClick();
    void pm_el_workClick();
    void PM_EL_CLPBRDClick();
    // The clipboard's lines into consecutive fields in fill order.
    void pm_el_listeinfgClick();
    void pm_el_visibleClick();
    void pm_el_sichtbarClick();
    void pm_el_spalteunsClick();
    void pm_el_spbkonClick();
    void pm_el_spbkcolClick();
    void pm_el_kopietoAllClick();
    void pm_EL_CopySpalteClick();
    void pm_EL_CopyReiheClick();
    void PM_EL_FcopyClick();
    void PM_EL_FPasteClick();
    void pm_el_PageinfosClick();
    void PM_EL_FadenkrClick();
    void btn_redoClick();
    // Opens field (column, row) in the field editor: keeps a copy, makes the
    // field visible, and after OK commits with an undo snapshot; otherwise
    // writes the copy back and commits without one.
    void EditField(int column, int row);
    // Puts another field editor in the place of TForm_pictextplus (tests):
    // it works on the live field, is shown modally and returns its result
    // (1 OK).
    using FieldEditor = std::function<int(TDocument &document, TRSObject &field, QWidget *parent)>;
    void SetFieldEditor(FieldEditor editor) { fieldEditor_ = std::move(editor); }

    void mm_openrsdClick();
    void mm_lnkdsktpClick();
    void mm_DatablageClick();

    // The zoom the minus command goes to from zoom.
    static double ZoomMinusStep(double zoom);
    // Pixels a pan movement scrolls by (small jitters count as none).
    static int PanStep(int delta) { return (delta >= -3 && delta <= 3) ? 0 : delta; }

  protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void CreateToolBar();
    void CreateMenu();
    void CreatePreview();
    void CreateBottomBar();
    TMUVButton *AddButton(QWidget *bar, const char *name, const QString &caption, const QString &hint,
                          const QString &glyph, int glyphSize, void (TForm1::*handler)());
    void ReadSettings();
    void WriteSettings();
    // The settings as the window holds them now.
    TSettings Settings() const;
    void FirstStart();
    void UpdateCaption();
    void UpdateCommandStates();
    // Where the folder browsers start and what they fall back to: the
    // program folder of a copy the user owns, else the home folder.
    QString OwnFilesFolder() const;
    void SetCanvasVisible(bool visible);
    void LayoutContent();
    void ZoomChanged();
    void CanvasMouseDown(QMouseEvent *e);
    void CanvasMouseMove(QMouseEvent *e);
    void CanvasMouseUp(QMouseEvent *e);
    void DPaintbox1Click();
    void CreateLayoutActions();
    void ChangeLayout(TForm_RSNEU &dialog);
    void CreatePopup_EL();
    // Follows every commit of the document.
    void DocumentChanged();

    TDocument *document_ = nullptr;
    platform::TFolderBrowser folderBrowser_;
    QString startFile_;
    bool shown_ = false;
    bool endingSession_ = false;

    TDPaintbox *canvas_ = nullptr;
    TMUVScrollBox *scrollBox_ = nullptr;
    QWidget *scrollContent_ = nullptr;
    QWidget *bvl1_ = nullptr, *bvl2_ = nullptr; // spacers below and right of the page
    TMUVPixelLineal *linH_ = nullptr, *linV_ = nullptr;
    QLabel *previewCaption_ = nullptr;
    TStatusPanels *statusPanels_ = nullptr;
    std::array<QLabel *, 12> panels_{};
    QAction *actNew_ = nullptr, *actOpen_ = nullptr, *actSave_ = nullptr, *actPrint_ = nullptr,
            *actQuit_ = nullptr, *actUndo_ = nullptr, *actRedo_ = nullptr;
    QAction *actFeldopt_ = nullptr, *actSpopt_ = nullptr, *actAllOpt_ = nullptr;
    QAction *actSerien_ = nullptr, *actPdf_ = nullptr;
    QMenu *menuFile_ = nullptr, *menuEdit_ = nullptr, *menuExtras_ = nullptr;

    QWidget *fieldHighlight_ = nullptr; // dotted frame around the marked field
    QMenu *popupEl_ = nullptr;
    bool popupCommandRunning_ = false;
    FieldEditor fieldEditor_;
    bool panning_ = false;
    QPoint panLast_;
    bool pressed_ = false;
};
