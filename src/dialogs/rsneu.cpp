#include "dialogs/rsneu.h"

#include "dialogs/colorDialog.h"

#include "canvas/dpaintbox.h"
#include "canvas/tcolor.h"
#include "controls/ColourSwatch.h"
#include "controls/MUVButton.h"
#include "controls/MUVRechenzeile.h"
#include "controls/SpezialSpin.h"
#include "dialogs/rsneu_pictures.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kClientWidth = 671;
constexpr int kClientHeight = 536;
const QColor kFormColour(0xF0, 0xF0, 0xF0); // 15790320
constexpr int kSpinHeight = 22;
constexpr int kLeftBoxX = 118;  // where the boxes of the left column begin
constexpr int kRightBoxX = 470; // and of the right column
constexpr int kSpinBoxWidth = 110;

// The program's colour dialog, its corner beyond the layout dialog's.
bool pickColour(QWidget *dialog, TColor &colour)
{
    return PickColour(dialog, colour, TColorDialogPlace::BeyondCallerCorner);
}

// The preview's page as the printer gives it now, in the orientation the
// dialog set on the printer.
void readPrinterPage(TDPaintbox &canvas)
{
    platform::Printer &printer = platform::Printer::Instance();
    printer.Refresh();
    const platform::PrinterPage page = platform::ReadPrinterPage(printer.Orientation());
    canvas.SetPageSetup(page.setup);
    if (!page.message.isEmpty())
        platform::ShowPlain(page.message);
}

bool printerSetupWithQt(QWidget *dialog)
{
    QPrintDialog setup(&platform::Printer::Instance().Device(), dialog);
    setup.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    setup.setOptions(QAbstractPrintDialog::PrintDialogOptions());
    // Nothing is printed here: the dialog only chooses printer and paper.
    if (auto *buttons = setup.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    return setup.exec() == QDialog::Accepted;
}

TForm_RSNEU::TColourPicker &colourPicker()
{
    static TForm_RSNEU::TColourPicker picker = pickColour;
    return picker;
}

TForm_RSNEU::TPrinterSetup &printerSetup()
{
    static TForm_RSNEU::TPrinterSetup setup = printerSetupWithQt;
    return setup;
}

// The picture of the chosen standard.
class TPresetPreview : public QWidget
{
  public:
    explicit TPresetPreview(TForm_RSNEU *form, QWidget *parent) : QWidget(parent), form_(form) {}

  protected:
    void paintEvent(QPaintEvent *) override { form_->PB_PreviewPaint(); }

  private:
    TForm_RSNEU *form_;
};

QLabel *addLabel(QWidget *parent, const QString &text, int x, int y, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

// A group caption in bold.
QLabel *addHeading(QWidget *parent, const QString &text, int x, int y)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->move(x, y);
    l->adjustSize();
    return l;
}
} // namespace

// ------------------------------------------------------------------ swatch

// ------------------------------------------------------------------ dialog

TForm_RSNEU::TColourPicker TForm_RSNEU::SetColourPicker(TColourPicker picker)
{
    TColourPicker old = colourPicker();
    colourPicker() = picker ? std::move(picker) : TColourPicker(pickColour);
    return old;
}

TForm_RSNEU::TPrinterSetup TForm_RSNEU::SetPrinterSetup(TPrinterSetup setup)
{
    TPrinterSetup old = printerSetup();
    printerSetup() = setup ? std::move(setup) : TPrinterSetup(printerSetupWithQt);
    return old;
}

TForm_RSNEU::TForm_RSNEU(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_RSNEU"));
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kFormColour);
    setPalette(pal);

    // Page.
    addHeading(this, QStringLiteral("Seite"), 12, 8);
    Spin_sbreite = AddSpin("Spin_sbreite", QStringLiteral("Seitenbreite"), QStringLiteral("mm"), 1, 0, 0, 297,
                           kLeftBoxX, 28);
    spin_shoehe = AddSpin("spin_shoehe", QStringLiteral("Seitenhöhe"), QStringLiteral("mm"), 1, 0, 0, 210,
                          kLeftBoxX, 56);
    // Margins.
    addHeading(this, QStringLiteral("Ränder"), 12, 92);
    spin_rali =
        AddSpin("spin_rali", QStringLiteral("Rand links"), QStringLiteral("mm"), 1, 0, 0, 26, kLeftBoxX, 112);
    // Its caption stands beside the field, ending where the other captions end.
    QLabel *rare = addLabel(this, QStringLiteral("Rand rechts"), 12, 143, "lbl_rare");
    rare->setFixedWidth(kLeftBoxX - 4 - 12);
    rare->setAlignment(Qt::AlignRight | Qt::AlignTop);
    spin_rare = AddSpin("spin_rare", QString(), QStringLiteral(" mm"), 1, 0, 0, 26, kLeftBoxX, 140);
    rare->setFont(spin_rare->font()); // as the captions drawn by the spin fields
    spin_raob =
        AddSpin("spin_raob", QStringLiteral("Rand oben"), QStringLiteral("mm"), 1, 0, 0, 9, kLeftBoxX, 168);
    spin_raunt =
        AddSpin("spin_raunt", QStringLiteral("Rand unten"), QStringLiteral("mm"), 1, 0, 0, 9, kLeftBoxX, 196);
    // Division.
    addHeading(this, QStringLiteral("Aufteilung"), 12, 232);
    spin_spalten = AddSpin("spin_spalten", QStringLiteral("Spalten"), QStringLiteral("Stück"), 0, 1, 0, 4,
                           kLeftBoxX, 252);
    spin_elem =
        AddSpin("spin_elem", QStringLiteral("Reihen"), QStringLiteral("Stück"), 0, 1, 0, 6, kLeftBoxX, 280);
    spin_dx = AddSpin("spin_dx", QStringLiteral("Spaltenabstand"), QStringLiteral("mm"), 1, 0, 0, 0,
                      kLeftBoxX, 308);
    spin_white = AddSpin("spin_white", QStringLiteral("Zwischenabstand"), QStringLiteral("mm"), 1, 0, 0, 4,
                         kLeftBoxX, 336);
    spin_white->setToolTip(QStringLiteral("Abstand um die Felder und zwischen den Feldern einer Spalte"));

    // Printer and paper.
    addLabel(this, QStringLiteral("aktueller Drucker:"), 360, 8);
    lbl_aktdrucker = addLabel(this, QString(), 360, 26, "lbl_aktdrucker");
    lbl_aktdrucker->setFixedWidth(300);
    addLabel(this, QStringLiteral("aktuelle Papiereinstellung:"), 360, 50);
    lbl_Papername = addLabel(this, QStringLiteral("?"), 360, 68, "lbl_Papername");
    lbl_Papername->setFixedWidth(190);
    lbl_HQ = addLabel(this, QString(), 556, 68, "lbl_HQ");
    lbl_HQ->setFixedWidth(104);
    const QString printerHint =
        QStringLiteral("KLICK stellt diesen oder einen anderen Drucker als Aufteilungsbasis ein\n"
                       "Die Geometrie wird aufgrund dieser Auswahl neu berechnet");
    for (QLabel *l : {lbl_aktdrucker, lbl_Papername}) {
        l->setToolTip(printerHint);
        l->setCursor(Qt::PointingHandCursor);
        l->setStyleSheet(QStringLiteral("color: #0000C0; text-decoration: underline"));
        l->installEventFilter(this);
    }

    // Results.
    addHeading(this, QStringLiteral("Ergebnis"), 360, 100);
    addLabel(this, QStringLiteral("Reihenhöhe ="), 360, 122);
    lbl_eHoehe = addLabel(this, QString(), 460, 122, "lbl_eHoehe");
    lbl_eHoehe->setFixedWidth(70);
    lbl_eHoehe->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addLabel(this, QStringLiteral("mm"), 536, 122);
    addLabel(this, QStringLiteral("Spaltenbreite ="), 360, 144);
    lbl_Ebreite = addLabel(this, QString(), 460, 144, "lbl_Ebreite");
    lbl_Ebreite->setFixedWidth(70);
    lbl_Ebreite->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addLabel(this, QStringLiteral("mm"), 536, 144);

    // Colours.
    addHeading(this, QStringLiteral("Farben"), 360, 180);
    const struct {
        const char *name;
        const char *label;
    } swatches[3] = {{"shp_BK", "Blatthintergund"},
                     {"shp_LINCOLS", "Linienfarbe Spalten"},
                     {"shp_LINCOLR", "Linienfarbe Reihen"}};
    TColourSwatch **targets[3] = {&shp_BK, &shp_LINCOLS, &shp_LINCOLR};
    for (int i = 0; i < 3; ++i) {
        auto *s = new TColourSwatch(true, this);
        s->setToolTip(QStringLiteral("Klick für andere Farbe"));
        s->resize(30, 30);
        s->SetTag(i);
        s->setObjectName(QString::fromLatin1(swatches[i].name));
        s->move(360, 200 + i * 38);
        addLabel(this, QString::fromUtf8(swatches[i].label), 400, 207 + i * 38);
        connect(s, &TColourSwatch::MouseUp, this, &TForm_RSNEU::shp_BKMouseUp);
        *targets[i] = s;
    }
    shp_BK->SetColour(clYellow);
    shp_LINCOLS->SetColour(clSilver);
    shp_LINCOLR->SetColour(clSilver);

    // Line spacing.
    addLabel(this, QStringLiteral("Abstand der Textzeilen als"), 360, 320);
    spin_TXTZH = AddSpin("spin_TXTZH", QStringLiteral("Faktor"), QStringLiteral("der Texthöhe"), 2, 0.25, 5,
                         1, kRightBoxX - 60, 340);

    // Standards.
    addLabel(this, QStringLiteral("vordefinierte Standards:"), 12, 380);
    combo_STDs = new QComboBox(this);
    combo_STDs->setObjectName(QStringLiteral("combo_STDs"));
    combo_STDs->setGeometry(12, 400, 580, 26);
    combo_STDs->view()->setMinimumWidth(580);
    PB_Preview = new TPresetPreview(this, this);
    PB_Preview->setObjectName(QStringLiteral("PB_Preview"));
    PB_Preview->setGeometry(608, 390, kPresetPictureSize, kPresetPictureSize);
    connect(combo_STDs, &QComboBox::activated, this, &TForm_RSNEU::combo_STDsClick);
    connect(combo_STDs, &QComboBox::highlighted, this, &TForm_RSNEU::combo_STDsDrawHighlightedItem);
    combo_STDs->view()->installEventFilter(this);

    // Calculation line.
    addLabel(this, QStringLiteral("Rechenzeile:"), 12, 452);
    cb_rechner = new TMUVRechenzeile(this);
    cb_rechner->setObjectName(QStringLiteral("cb_rechner"));
    cb_rechner->setGeometry(100, 448, 260, 26);

    btn_ok = new TMUVButton(QStringLiteral("OK"), QStringLiteral("ok"), this);
    btn_ok->setObjectName(QStringLiteral("btn_ok"));
    btn_cancel = new TMUVButton(QStringLiteral("Abbrechen"), QStringLiteral("cancel"), this);
    btn_cancel->setObjectName(QStringLiteral("btn_cancel"));
    // Caption above glyph: as tall as both need at the font in use, the
    // bottom edges where they always were.
    const int buttonHeight = std::max({30, btn_ok->sizeHint().height(), btn_cancel->sizeHint().height()});
    btn_ok->setGeometry(460, 522 - buttonHeight, 96, buttonHeight);
    btn_cancel->setGeometry(564, 522 - buttonHeight, 96, buttonHeight);
    // Enter belongs to the spin fields and the calculation line (it applies
    // a value there); the dialog has no default button that it could press.
    connect(btn_ok, &TMUVButton::clicked, this, &TForm_RSNEU::btn_okClick);
    connect(btn_cancel, &TMUVButton::clicked, this, &TForm_RSNEU::btn_cancelClick);

    // The page of the printer, never shown.
    DPaintbox1 = new canvas::TDPaintbox(this);
    DPaintbox1->setObjectName(QStringLiteral("DPaintbox1"));
    DPaintbox1->SetZoomFaktor(0.1);
    DPaintbox1->hide();

    CreateLabelProductPanel();
    FormCreate();
}

TForm_RSNEU::~TForm_RSNEU()
{
    combo_STDs->view()->removeEventFilter(this);
}

TSpezialSpin *TForm_RSNEU::AddSpin(const char *name, const QString &before, const QString &after,
                                   int decimals, double minValue, double maxValue, double value, int boxX,
                                   int y)
{
    auto *spin = new TSpezialSpin(this);
    spin->setObjectName(QString::fromLatin1(name));
    spin->SetNachkommaStellen(decimals);
    spin->SetMinValue(minValue);
    spin->SetMaxValue(maxValue);
    spin->SetChangeDelay(1500);
    spin->SetTextBefore(before);
    spin->SetTextAfter(after);
    spin->SetValueReal(value);
    // The boxes of one column stand under each other whatever their captions.
    const int before_ = spin->BoxRect().left();
    const int afterWidth = spin->width() - spin->BoxRect().right() - 1;
    spin->setGeometry(boxX - before_, y, before_ + kSpinBoxWidth + afterWidth, kSpinHeight);
    connect(spin, &TSpezialSpin::OnDelayedChange, this, [this, spin] { Aktual(spin); });
    return spin;
}

void TForm_RSNEU::FormCreate()
{
    for (const TRSPreset &p : RSPresets())
        combo_STDs->addItem(p.Name);
    combo_STDs->setCurrentIndex(0);
}

void TForm_RSNEU::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        // Centred on the window that opened it.
        if (QWidget *owner = parentWidget()) {
            const QRect o = owner->window()->frameGeometry();
            move(o.center() - QPoint(width() / 2, height() / 2));
        }
        FormShow();
    }
}

void TForm_RSNEU::FormShow()
{
    if (ChangeMode()) {
        sheetPageWidth_ = Spin_sbreite->ValueReal();
        sheetPageHeight_ = spin_shoehe->ValueReal();
        // The products offered now follow the sheet's paper.
        edt_EtikettSucheChange(edt_EtikettSuche->text());
        ShowLabelProductNote();
    }
    platform::Printer::Instance().SetOrientation(QPageLayout::Landscape);
    ReadPrinterBasis();
}

bool TForm_RSNEU::ChangeMode() const
{
    return !(Spin_sbreite->isEnabled() && spin_shoehe->isEnabled());
}

void TForm_RSNEU::SetChangeMode()
{
    Spin_sbreite->setEnabled(false);
    spin_shoehe->setEnabled(false);
    const QSignalBlocker block(combo_STDs);
    combo_STDs->setCurrentIndex(-1);
    PB_Preview->update();
}

TRSLayoutValues TForm_RSNEU::Values() const
{
    TRSLayoutValues v;
    v.PageWidth = Spin_sbreite->ValueReal();
    v.PageHeight = spin_shoehe->ValueReal();
    v.MarginLeft = spin_rali->ValueReal();
    v.MarginRight = spin_rare->ValueReal();
    v.MarginTop = spin_raob->ValueReal();
    v.MarginBottom = spin_raunt->ValueReal();
    v.Columns = spin_spalten->Value();
    v.Rows = spin_elem->Value();
    v.ColumnGap = spin_dx->ValueReal();
    v.FieldSpacing = spin_white->ValueReal();
    v.LineFactor = spin_TXTZH->ValueReal();
    v.BackgroundColor = shp_BK->Colour();
    v.ColumnLineColor = shp_LINCOLS->Colour();
    v.RowLineColor = shp_LINCOLR->Colour();
    return v;
}

void TForm_RSNEU::SetValues(const TRSLayoutValues &v)
{
    Spin_sbreite->SetValueReal(v.PageWidth);
    spin_shoehe->SetValueReal(v.PageHeight);
    spin_white->SetValueReal(v.FieldSpacing);
    AllowNegativeMargins();
    spin_rali->SetValueReal(v.MarginLeft);
    spin_rare->SetValueReal(v.MarginRight);
    spin_raob->SetValueReal(v.MarginTop);
    spin_raunt->SetValueReal(v.MarginBottom);
    spin_spalten->SetValue(v.Columns);
    spin_elem->SetValue(v.Rows);
    spin_dx->SetValueReal(v.ColumnGap);
    spin_TXTZH->SetValueReal(v.LineFactor);
    shp_BK->SetColour(v.BackgroundColor);
    shp_LINCOLS->SetColour(v.ColumnLineColor);
    shp_LINCOLR->SetColour(v.RowLineColor);
}

void TForm_RSNEU::AllowNegativeMargins()
{
    // Labels close to the top or bottom edge (binder spines) need a negative
    // margin; the first field still begins on the page.
    const double least = LeastTopBottomMargin(spin_white->ValueReal());
    spin_raob->SetMinValue(least);
    spin_raunt->SetMinValue(least);
}

void TForm_RSNEU::Aktual(QObject *sender)
{
    if (sender == spin_white)
        AllowNegativeMargins();
    const TRSLayoutValues v = Values();
    lbl_Ebreite->setText(FormatMeasure(LayoutColumnWidth(v)));
    lbl_eHoehe->setText(FormatMeasure(LayoutRowHeight(v)));
    lbl_Papername->setText(DPaintbox1->PaperName());
    lbl_HQ->setText(platform::Printer::Instance().Orientation() == QPageLayout::Portrait
                        ? QStringLiteral("(Hochformat)")
                        : QStringLiteral("(Querformat)"));
    if (sender != combo_STDs) {
        const QSignalBlocker block(combo_STDs);
        combo_STDs->setCurrentIndex(-1);
        PB_Preview->update();
    }
    if (sender != lst_Etiketten && lst_Etiketten->currentItem()) {
        fillingProducts_ = true;
        lst_Etiketten->clearSelection();
        lst_Etiketten->setCurrentItem(nullptr);
        fillingProducts_ = false;
        ShowLabelProductNote();
    }
}

void TForm_RSNEU::ReadPrinterBasis()
{
    platform::Printer &printer = platform::Printer::Instance();
    QString name = printer.PrinterName();
    lbl_aktdrucker->setText(name.isEmpty() ? QStringLiteral("kein Drucker") : name);
    if (!ChangeMode()) {
        readPrinterPage(*DPaintbox1);
        Spin_sbreite->SetValueReal(DPaintbox1->PageWidthMm());
        spin_shoehe->SetValueReal(DPaintbox1->PageHeightMm());
    } else {
        printer.SetOrientation(spin_shoehe->ValueReal() >= Spin_sbreite->ValueReal()
                                   ? QPageLayout::Portrait
                                   : QPageLayout::Landscape);
        // The paper name and size follow the orientation.
        readPrinterPage(*DPaintbox1);
    }
    Aktual(this);
}

void TForm_RSNEU::ApplyPreset(int index)
{
    const std::vector<TRSPreset> &presets = RSPresets();
    if (index < 0 || index >= int(presets.size()))
        return;
    if (combo_STDs->currentIndex() != index) {
        const QSignalBlocker block(combo_STDs);
        combo_STDs->setCurrentIndex(index);
    }
    ApplyLayout(presets[std::size_t(index)], combo_STDs);
}

void TForm_RSNEU::ApplyLayout(const TRSPreset &p, QObject *source)
{
    platform::Printer::Instance().SetOrientation(p.Orientation == 1 ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
    Spin_sbreite->SetValueReal(p.PageWidth);
    spin_shoehe->SetValueReal(p.PageHeight);
    spin_white->SetValueReal(p.FieldSpacing);
    AllowNegativeMargins();
    spin_rali->SetValueReal(p.MarginLeft);
    spin_rare->SetValueReal(p.MarginRight);
    spin_raob->SetValueReal(p.MarginTop);
    spin_raunt->SetValueReal(p.MarginBottom);
    spin_spalten->SetValue(p.Columns);
    spin_elem->SetValue(p.Rows);
    spin_dx->SetValueReal(p.ColumnGap);
    spin_TXTZH->SetValueReal(p.LineFactor);
    PB_Preview->update();
    Aktual(source);
}

void TForm_RSNEU::combo_STDsClick(int index)
{
    ApplyPreset(index);
}

void TForm_RSNEU::combo_STDsDrawHighlightedItem(int index)
{
    highlighted_ = index;
    PB_Preview->update();
}

int TForm_RSNEU::PreviewIndex() const
{
    if (combo_STDs->view()->isVisible() && highlighted_ >= 0)
        return highlighted_;
    return combo_STDs->currentIndex();
}

void TForm_RSNEU::PB_PreviewPaint()
{
    const int index = PreviewIndex();
    const std::vector<QImage> &pictures = PresetPictures();
    if (index < 0 || index >= int(pictures.size()))
        return;
    QPainter p(PB_Preview);
    p.drawImage(0, 0, pictures[std::size_t(index)]);
}

bool TForm_RSNEU::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edt_EtikettSuche && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down) {
        // From the search line down into what it found: the arrow key
        // chooses the first found (or the one chosen before).
        QListWidgetItem *item = lst_Etiketten->currentItem();
        if (!item || item->isHidden()) {
            item = nullptr;
            for (int row = 0; row < lst_Etiketten->count() && !item; ++row)
                if (!lst_Etiketten->item(row)->isHidden())
                    item = lst_Etiketten->item(row);
        }
        lst_Etiketten->setFocus();
        if (item)
            lst_Etiketten->setCurrentItem(item);
        return true;
    }
    if (watched == lst_Etiketten && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ChooseCurrentLabelProduct();
            return true;
        }
    }
    if ((watched == lbl_aktdrucker || watched == lbl_Papername) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lbl_aktdruckerClick();
        return true;
    }
    if (watched == combo_STDs->view() && event->type() == QEvent::Hide) {
        // The list closed: the picture of the selection again.
        highlighted_ = -1;
        PB_Preview->update();
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_RSNEU::lbl_aktdruckerClick()
{
    platform::Printer &printer = platform::Printer::Instance();
    printer.SetOrientation(DPaintbox1->PageWidthMm() > DPaintbox1->PageHeightMm() ? QPageLayout::Landscape
                                                                                  : QPageLayout::Portrait);
    if (printerSetup()(this)) {
        // Without a printer the setup has no device whose choice counts.
        if (!printer.Printers().isEmpty())
            printer.SyncFromDevice();
        ReadPrinterBasis();
    }
}

void TForm_RSNEU::shp_BKMouseUp(TColourSwatch *swatch)
{
    TColor colour = swatch->Colour();
    if (colourPicker()(this, colour))
        swatch->SetColour(colour);
}

void TForm_RSNEU::btn_okClick()
{
    // Values that make no sheet never leave the dialog: the user learns which
    // value is at fault and can correct what was typed.
    TRSLayoutValues v = Values();
    if (ChangeMode() && shown_) {
        // The sheet keeps its page, whatever the page-size fields now say.
        v.PageWidth = sheetPageWidth_;
        v.PageHeight = sheetPageHeight_;
    }
    const QString problem = LayoutProblem(v);
    if (!problem.isEmpty()) {
        // Reading the values cancelled any pending delayed change: the
        // displays show what the values give.
        Aktual(this);
        platform::ShowError(problem);
        return;
    }
    done(mrOk);
}

void TForm_RSNEU::btn_cancelClick()
{
    done(mrCancel);
}

void TForm_RSNEU::reject()
{
    done(mrCancel);
}
