#pragma once
// TForm_RSNEU: the sheet layout dialog. It collects the division of a new
// sheet or the changed division of the current one: page size, margins,
// columns and rows, gaps, the line spacing factor and three sheet colours;
// it shows the resulting column width and row height, offers the
// predefined standards and the label products of the vendors (when the
// template database is installed), shows the printer and paper the page size is based
// on, and carries a calculation line. The caller reads Values() after OK;
// the dialog itself changes only the printer (its orientation, and the
// printer and paper chosen in the printer setup).

#include "dialogs/label_product_store.h"
#include "dialogs/rsneu_values.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class TMUVButton;
class TMUVRechenzeile;
class TSpezialSpin;
namespace canvas
{
class TDPaintbox;
}

class TColourSwatch;

class TForm_RSNEU : public QDialog
{
    Q_OBJECT
  public:
    explicit TForm_RSNEU(QWidget *parent = nullptr);
    ~TForm_RSNEU() override;

    // Modal results: 1 OK, 2 cancel (also the close box and Escape).
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    // --- Controls ---------------------------------------------------------
    TSpezialSpin *Spin_sbreite, *spin_shoehe;
    TSpezialSpin *spin_rali, *spin_rare, *spin_raob, *spin_raunt;
    TSpezialSpin *spin_spalten, *spin_elem, *spin_dx, *spin_white, *spin_TXTZH;
    TColourSwatch *shp_BK, *shp_LINCOLS, *shp_LINCOLR;
    QLabel *lbl_eHoehe, *lbl_Ebreite, *lbl_Papername, *lbl_HQ, *lbl_aktdrucker;
    QComboBox *combo_STDs;
    QWidget *PB_Preview;
    canvas::TDPaintbox *DPaintbox1; // hidden: reads the printer's paper
    TMUVRechenzeile *cb_rechner;
    TMUVButton *btn_ok, *btn_cancel;
    // "Hersteller-Etiketten": a search line, the products and the note of the
    // chosen one; the panel stays hidden without the template database.
    QWidget *pnl_Etiketten;
    QLabel *lbl_EtikettenAnzahl;
    QLineEdit *edt_EtikettSuche;
    QListWidget *lst_Etiketten;
    QLabel *lbl_EtikettHinweis;

    // --- Values -------------------------------------------------------------
    // Everything the dialog holds; columns and rows cut to whole numbers.
    TRSLayoutValues Values() const;
    // Fills every field and swatch; fires no change and keeps the preset
    // selection as it is.
    void SetValues(const TRSLayoutValues &v);
    // Change of an existing sheet: both page-size fields disabled and no
    // preset selected.
    void SetChangeMode();
    bool ChangeMode() const;

    // --- Operations ---------------------------------------------------------
    void ReadPrinterBasis();
    void ApplyPreset(int index);
    // Fills the values from a vendor's product the way a standard does.
    void ApplyLabelProduct(const TLabelProduct &product);
    // The products listed (null until they have been read) and the chosen
    // one (null when none is chosen or a value was changed since).
    const TLabelProductList *LabelProducts() const;
    const TLabelProduct *ChosenLabelProduct() const;
    // Recomputes the displays; any sender but the preset list clears the
    // preset selection.
    void Aktual(QObject *sender);

    // --- Handlers -----------------------------------------------------------
    void FormShow();
    void combo_STDsClick(int index);
    void combo_STDsDrawHighlightedItem(int index);
    void PB_PreviewPaint();
    void lbl_aktdruckerClick();
    void shp_BKMouseUp(TColourSwatch *swatch);
    void btn_okClick();
    void btn_cancelClick();
    void edt_EtikettSucheChange(const QString &text);
    void lst_EtikettenChange(QListWidgetItem *item);

    // The picture PB_Preview shows now: the highlighted entry while the list
    // is open, else the selected one; -1 for none.
    int PreviewIndex() const;

    // How a colour is chosen: the picker gets this dialog and the swatch's
    // colour and returns true when the user chose one. The default is Qt's
    // colour dialog.
    using TColourPicker = std::function<bool(QWidget *dialog, TColor &colour)>;
    static TColourPicker SetColourPicker(TColourPicker picker);
    // The printer setup: true when the user confirmed a printer and paper.
    using TPrinterSetup = std::function<bool(QWidget *dialog)>;
    static TPrinterSetup SetPrinterSetup(TPrinterSetup setup);

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void FormCreate();
    void CreateLabelProductPanel();
    void LabelProductsRead(TLabelProductStore::TList list);
    void ShowLabelProductPanel(bool show);
    void ShowLabelProductNote();
    // False for products of another paper than the sheet's in change mode.
    bool OffersLabelProduct(const TLabelProduct &product) const;
    void ChooseCurrentLabelProduct();
    // The one way values of a standard or product reach the fields; source
    // is the list it was chosen in and keeps its selection.
    void ApplyLayout(const TRSPreset &preset, QObject *source);
    // The top and bottom margin fields accept what the field spacing allows.
    void AllowNegativeMargins();
    TSpezialSpin *AddSpin(const char *name, const QString &before, const QString &after, int decimals,
                          double minValue, double maxValue, double value, int boxX, int y);
    bool shown_ = false;
    int highlighted_ = -1;
    TLabelProductStore::TList products_;
    bool fillingProducts_ = false; // selection changes made here, not by the user
    // In change mode: the page of the sheet, which a standard chosen here
    // does not change.
    double sheetPageWidth_ = 0, sheetPageHeight_ = 0;
};
