#pragma once
// TForm_pictextplus: the field editor "Element definieren/ändern...". It
// works on the live field: every change is written into the field at once and
// the page is composed again, so the page follows the editor. Restoring the
// field after a cancel is the caller's business.
//
// Use: ExecuteFieldEditor below, or create it for one edit with the document
// and one of its fields and exec() it; 1 is OK, anything else cancel. The
// editor reads and writes the document's line factor and picture folder and
// commits every change without an undo snapshot.

#include "model/colors.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class TMUVCheckBox;
class TMUVPanel;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class TMUVButton;
class TMUVFontComboBox;
class TMUVWinkelWahl;
class TPicture;
class TRSObject;
class TSpezialSpin;
class TColourSwatch;
class TFieldPicturePreview;
class TFieldMemo;

class TDocument;

// The command "Dieses Feld bearbeiten": keeps a copy of a field of the
// document's sheet, makes the field visible, runs the editor on it and
// commits with an undo snapshot after OK; after a cancel the copy is written
// back and committed without one. Returns the editor's result (1 OK); 2 when
// the field is none of the sheet's.
int ExecuteFieldEditor(TDocument &document, TRSObject *field, QWidget *parent);

class TForm_pictextplus : public QDialog
{
    Q_OBJECT
  public:
    TForm_pictextplus(TDocument &document, TRSObject *field, QWidget *parent = nullptr);
    ~TForm_pictextplus() override;

    // The colour chooser of the swatches: true and the new colour when the
    // user chose one. Tests put their own in place.
    using ColourPicker = std::function<bool(QWidget *parent, TColor &colour)>;
    static ColourPicker SetColourPicker(ColourPicker picker);

    bool Loading = true;
    TRSObject *EditedField = nullptr;

    // The controls, named as in the window layout.
    QTabWidget *PageControl1 = nullptr;
    QWidget *TAB_TEXT = nullptr;
    QWidget *TAB_Grafik = nullptr;
    QWidget *TAB_Strichcode = nullptr;
    TMUVFontComboBox *CB_Schriftart = nullptr;
    TSpezialSpin *spin_SchriftH = nullptr;
    TMUVButton *BTN_Fett = nullptr;
    TMUVButton *BTN_Kursiv = nullptr;
    TMUVButton *BTN_Unter = nullptr;
    TColourSwatch *shape_FontColor = nullptr;
    TSpezialSpin *SPIN_W = nullptr;
    TMUVButton *btn_vordefw = nullptr;
    QMenu *PopupMenu1 = nullptr;
    TMUVWinkelWahl *WinkelWahl = nullptr;
    TMUVButton *btn_links = nullptr;
    TMUVButton *btn_mitte = nullptr;
    TMUVButton *btn_rechts = nullptr;
    TSpezialSpin *SPIN_ZH = nullptr;
    TFieldMemo *Memo = nullptr;
    QLabel *lbl_anzzeichen = nullptr;
    TMUVButton *btn_copy = nullptr;
    TMUVButton *btn_einfg = nullptr;
    TMUVButton *btn_yinyang = nullptr;
    TMUVButton *btn_platzhalter = nullptr; // inserts a placeholder of labels from a list
    QLabel *MUVLabel1 = nullptr;
    TMUVCheckBox *cb_datred = nullptr;
    TMUVButton *btn_fromCLPBrd = nullptr;
    TMUVButton *btn_CopyPic = nullptr;
    QLabel *lbl_EMFHinweis = nullptr;
    TMUVPanel *MUVPanel5 = nullptr;
    TFieldPicturePreview *Image1 = nullptr;
    QMenu *PM_PIC = nullptr;
    QAction *PM_ClipCopy = nullptr;
    TColourSwatch *Shape_BKColor = nullptr;
    TColourSwatch *Shape_linColor = nullptr;
    TSpezialSpin *spin_linewidth = nullptr;
    TMUVCheckBox *cb_lineou = nullptr;
    TMUVCheckBox *cb_linelire = nullptr;
    TMUVCheckBox *cb_visible = nullptr;
    // The barcode tab.
    QComboBox *cb_codeart = nullptr;
    QLineEdit *edt_codedaten = nullptr;
    TMUVButton *btn_codeplatzhalter = nullptr; // a placeholder into the code's data
    TMUVCheckBox *cb_klarschrift = nullptr;
    TColourSwatch *shape_CodeColor = nullptr;
    QLabel *lbl_codehinweis = nullptr; // why the data make no code
    TFieldPicturePreview *img_code = nullptr;
    TMUVButton *BTN_OK = nullptr;
    TMUVButton *BTN_Abbruch = nullptr;

    // The filter of the picture file dialog.
    static QString PictureFilter();

    // Handlers.
    void FormShow();
    void FormActivate();
    void Macheaktuell();
    void BTN_OKClick();
    void BTN_AbbruchClick();
    void AlignmentClick(TMUVButton *clicked);
    void Winkel0horizontalerText1Click(int tag);
    void WinkelWahlMouseChange();
    void MemoChange();
    bool MemoKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void btn_copyClick();
    void btn_einfgClick();
    void btn_yinyangClick();
    // The placeholders offered: {#}, {#:000} and the headings of the list
    // last read for labels from a list.
    QStringList Placeholders() const;
    void btn_platzhalterClick();
    void btn_codeplatzhalterClick();
    // The menu of placeholders under button; a choice goes to insert.
    void ShowPlaceholderMenu(TMUVButton *button, const std::function<void(const QString &)> &insert);
    void SwatchMouseUp(TColourSwatch *swatch);
    void MUVLabel1Click();
    void btn_fromCLPBrdClick();
    void PM_ClipCopyClick();
    void PM_PICPopup();
    void PageControl1Change();

    // The preview's picture (null when it holds none).
    const TPicture *PreviewPicture() const;
    // Remaining characters as the count label shows them.
    int RemainingChars() const;

  protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void BuildTextTab();
    void BuildPictureTab();
    void BuildCommonPanel();
    void BuildBarcodeTab();
    bool BarcodeTabActive() const;
    void LoadBarcode();
    // Makes the code of the barcode tab the editor's picture; false (with the
    // reason shown on the tab) when the data make no code.
    bool UpdateBarcode();
    void RefreshClipboardButtons();
    void FitPreview(int margin, int shift);
    bool TextTabActive() const;
    void SetPreviewPicture(std::unique_ptr<TPicture> picture);

    TDocument &document_;
    bool shown_ = false;
};
