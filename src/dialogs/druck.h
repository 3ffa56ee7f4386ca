#pragma once
// TForm_druck: the print dialog "Drucken....". It shows the current printer
// (a click on its name opens the printer setup), the number of copies, the
// options for the background layer and the cut lines, a paper shift that can
// be remembered per printer in "dorlix.ini", and a small preview of the page.
//
// The dialog reads the document's sheet and composes it into a page of its
// own for the preview and the print job (document/print_job.h), so the page
// the window shows is never touched. A button prints the calibration page
// on the chosen printer, to measure the printer's own shift.

#include "document/print_job.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class TDocument;
class TMUVButton;
class TMUVCheckBox;
class TMUVLabel;
class TMUVLines;
class TMUVPanel;
class TRS;
class TSpezialSpin;
namespace canvas
{
class TDPage;
}

class TPageSource;

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
    TMUVButton *btn_testseite = nullptr; // prints the calibration page
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
    void btn_testseiteClick();

    // The preview as last drawn (a quarter of the page at zoom 0.8).
    const QImage &PreviewBitmap() const { return preview_; }
    // The page the preview was composed into (without shift).
    const canvas::TDPage &PreviewPage() const { return *page_; }

    // What the controls say: copies, background, cut lines, shift.
    TPrintOptions Options() const;

    // The print job after OK: orientation from the sheet, the printer's page
    // read again, background layer and shift as chosen, one printer document
    // of one page per copy, titled "Rückenschild (N Kopie)". False (after a
    // message) when a copy could not be handed to the printer.
    bool PrintJob();
    // Pages of one's own instead of the sheet (labels from a list), made
    // with the options chosen: the preview shows their first page (without
    // shift), the print job prints them all.
    using TPagesFactory =
        std::function<std::unique_ptr<TPageSource>(const TPrintOptions &options, bool withShift)>;
    void SetPages(TPagesFactory pages);

    // The text that tells how to read the calibration page.
    static QString CalibrationHowTo(const QString &printerName);

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
    void FitDialog();
    void LoadShifts();
    void SaveShifts();

    TDocument &document_;
    std::unique_ptr<canvas::TDPage> page_;
    QImage preview_;
    bool shown_ = false;
    TPagesFactory pages_;
};
