#pragma once
// TForm_druck: the print dialog "Drucken....". It shows the current printer
// (a click on its name opens the printer setup), the number of copies, the
// options for the background layer and the cut lines, a paper shift that can
// be remembered per printer in "dorlix.ini", and a small preview of the page.
//
// The dialog works on the document and the canvas the document composes
// into; the print job prints that canvas once per copy. The caller puts the
// canvas back into screen use afterwards (RestoreCanvasAfterPrint), whether
// or not anything was printed.

#include <QDialog>
#include <QImage>
#include <QLineF>
#include <QString>

#include <vector>

class QLabel;
class TDocument;
class TMUVButton;
class TMUVCheckBox;
class TMUVLabel;
class TMUVLines;
class TMUVPanel;
class TRS;
class TSpezialSpin;

// The cut lines of a sheet in page millimetres: a vertical line at the left
// edge of every column and at the right edge of the last one, each from the
// top of the page to its bottom; a horizontal line at the top of every row
// and at the bottom of the last one (rows as the last column divides them),
// across the whole page. Nothing without columns or rows.
std::vector<QLineF> CutLines(const TRS &sheet, double pageWidthMm, double pageHeightMm);

class TForm_druck : public QDialog
{
    Q_OBJECT

  public:
    explicit TForm_druck(TDocument &document, QWidget *parent = nullptr);
    ~TForm_druck() override;

    // --- Controls, named as in the dialog's layout -----------------------
    TMUVLabel *lbl_aktdrucker = nullptr;
    QLabel *lbl_location = nullptr;
    TSpezialSpin *Spin_kopien = nullptr;
    TMUVCheckBox *MUVCheckBox1 = nullptr; // background lines and column colours
    TMUVCheckBox *cb_Schnittlinien = nullptr;
    TMUVLines *MUVLines1 = nullptr;
    TSpezialSpin *spin_VH = nullptr;
    TSpezialSpin *SPIN_VV = nullptr;
    TMUVCheckBox *cb_merk = nullptr;
    QLabel *lbl_Dinfo = nullptr;
    QLabel *img1 = nullptr;
    TMUVPanel *pnl_Vorschau = nullptr;
    TMUVPanel *pnl_Optionen = nullptr;
    TMUVPanel *pnl_Drucker = nullptr;
    TMUVPanel *pnl1 = nullptr;
    TMUVButton *BTN_OK = nullptr;
    TMUVButton *BTN_Abbruch = nullptr;

    // --- Handlers ------------------------------------------------------------
    void RefreshPrinterInfo();
    void RefreshPreview();
    void lbl_aktdruckerClick();
    void MUVCheckBox1Change();
    void spin_VHDelayedChange();
    void BTN_OKClick();
    void BTN_AbbruchClick();

    // The preview as last drawn (a quarter of the page at zoom 0.8).
    const QImage &PreviewBitmap() const { return preview_; }

    // The print job after OK: orientation from the sheet, the printer's page
    // read again, background layer and shift as chosen, one printer document
    // of one page per copy, titled "Rückenschild (N Kopie)". False (after a
    // message) when a copy could not be handed to the printer.
    bool PrintJob();

    // The question the status check asks for the text t of the printer's
    // state ("Der Drucker meldet : " + t + …).
    static QString StatusQuestion(const QString &statusText);

  signals:
    // The printer or its paper changed in the printer setup; the window
    // shows the printer and paper of its status bar again.
    void PrinterChanged();

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    void BuildLayout();
    TMUVPanel *MakePanel(const QString &name, const QString &caption);
    TMUVCheckBox *MakeCheckBox(QWidget *parent, const QString &name, const QString &caption, int y);
    void AddCutLines();
    void FitDialog();
    void LoadShifts();
    void SaveShifts();

    TDocument &document_;
    QImage preview_;
    bool shown_ = false;
};

// Puts the canvas of the document back into screen use after a print
// command: background layer on, the printable-area overlay as the window
// shows it, no shift; the page is composed again (which drops the cut lines).
void RestoreCanvasAfterPrint(TDocument &document, bool showPageInfo);
