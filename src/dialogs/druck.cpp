#include "dialogs/druck.h"

#include "canvas/dpage.h"
#include "canvas/dpaintbox.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVLabel.h"
#include "controls/MUVLines.h"
#include "controls/MUVPanel.h"
#include "controls/SpezialSpin.h"
#include "dialogs/output_progress.h"
#include "document/document.h"
#include "model/rs.h"
#include "model/settings_places.h"
#include "platform/ini.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "platform/printer_status.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>

#include <algorithm>

namespace
{
constexpr int kClientWidth = 357;
constexpr int kOptionenHeight = 148;
constexpr int kDruckerHeight = 150;
constexpr int kBarHeight = 44;
constexpr double kPreviewZoom = 0.8;

QString Hint(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

TSpezialSpin *MakeSpin(QWidget *parent, const QString &before, const QString &after, int decimals, double min,
                       double max, double value)
{
    auto *spin = new TSpezialSpin(parent);
    spin->SetNachkommaStellen(decimals);
    spin->SetTextBefore(before);
    spin->SetTextAfter(after);
    spin->SetMinValue(min);
    spin->SetMaxValue(max);
    spin->SetValueReal(value);
    return spin;
}
} // namespace

TForm_druck::TForm_druck(TDocument &document, QWidget *parent)
    : QDialog(parent), document_(document), page_(std::make_unique<canvas::TDPage>())
{
    setObjectName(QStringLiteral("Form_druck"));
    setWindowTitle(QStringLiteral("Drucken...."));
    BuildLayout();
    FitDialog();
}

TForm_druck::~TForm_druck() = default;

TMUVPanel *TForm_druck::MakePanel(const QString &name, const QString &caption)
{
    auto *panel = new TMUVPanel(this);
    panel->setObjectName(name);
    panel->SetCaption(caption);
    panel->SetCaptionPosition(tpp_left);
    QFont bold = font();
    bold.setBold(true);
    panel->SetCaptionFont(bold);
    panel->SetBorderRound(true);
    panel->SetBorderMargin(caption.isEmpty() ? 0 : 6);
    return panel;
}

TMUVCheckBox *TForm_druck::MakeCheckBox(QWidget *parent, const QString &name, const QString &caption, int y)
{
    auto *box = new TMUVCheckBox(parent);
    box->setObjectName(name);
    box->SetCaption(caption);
    box->setGeometry(14, y, 330, 20);
    return box;
}

void TForm_druck::BuildLayout()
{
    pnl_Vorschau = MakePanel(QStringLiteral("pnl_Vorschau"), QStringLiteral("Vorschau"));
    pnl_Vorschau->SetColor(clGray);
    pnl_Vorschau->SetBackgroundColor(clGray);
    pnl_Vorschau->SetBorderColor(clSilver);
    QPalette white = pnl_Vorschau->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    pnl_Vorschau->setPalette(white);
    img1 = new QLabel(pnl_Vorschau);
    img1->setObjectName(QStringLiteral("img1"));
    img1->setAlignment(Qt::AlignCenter);

    // Optionen
    pnl_Optionen = MakePanel(QStringLiteral("pnl_Optionen"), QStringLiteral("Optionen"));
    MUVCheckBox1 = MakeCheckBox(pnl_Optionen, QStringLiteral("MUVCheckBox1"),
                                QStringLiteral("Hintergrundlinien und Spaltenfarbe mit ausdrucken"), 22);
    cb_Schnittlinien = MakeCheckBox(pnl_Optionen, QStringLiteral("cb_Schnittlinien"),
                                    QStringLiteral("Schnittlinien drucken"), 44);
    MUVLines1 = new TMUVLines(pnl_Optionen);
    MUVLines1->setObjectName(QStringLiteral("MUVLines1"));
    MUVLines1->setGeometry(10, 75, kClientWidth - 20, 2);
    auto *shiftCaption = new QLabel(QStringLiteral(" zusätzliche Blattverschiebung "), pnl_Optionen);
    shiftCaption->setAutoFillBackground(true);
    shiftCaption->adjustSize();
    shiftCaption->move(24, 76 - shiftCaption->height() / 2);
    spin_VH = MakeSpin(pnl_Optionen, QStringLiteral("Horizontal"), QStringLiteral("mm"), 1, -10, 297, 0);
    spin_VH->setObjectName(QStringLiteral("spin_VH"));
    spin_VH->setGeometry(14, 90, 160, 22);
    SPIN_VV = MakeSpin(pnl_Optionen, QStringLiteral("Vertikal"), QStringLiteral("mm"), 1, -10, 297, 0);
    SPIN_VV->setObjectName(QStringLiteral("SPIN_VV"));
    SPIN_VV->setGeometry(184, 90, 160, 22);
    for (TSpezialSpin *spin : {spin_VH, SPIN_VV}) {
        spin->SetChangeDelay(2500);
        connect(spin, &TSpezialSpin::OnDelayedChange, this, &TForm_druck::spin_VHDelayedChange);
    }
    cb_merk = MakeCheckBox(pnl_Optionen, QStringLiteral("cb_merk"),
                           QStringLiteral("Blattverschiebung für diesen Drucker merken"), 120);
    cb_merk->SetChecked(true);
    connect(MUVCheckBox1, &QCheckBox::toggled, this, &TForm_druck::MUVCheckBox1Change);
    connect(cb_Schnittlinien, &QCheckBox::toggled, this, &TForm_druck::MUVCheckBox1Change);

    // Drucker
    pnl_Drucker = MakePanel(QStringLiteral("pnl_Drucker"), QStringLiteral("Drucker"));
    lbl_aktdrucker = new TMUVLabel(pnl_Drucker);
    lbl_aktdrucker->setObjectName(QStringLiteral("lbl_aktdrucker"));
    lbl_aktdrucker->SetLabelTyp(lthoover);
    QFont bold = font();
    bold.setBold(true);
    lbl_aktdrucker->SetFont(bold);
    lbl_aktdrucker->SetFontColor(clBlue);
    lbl_aktdrucker->SetColorHoover(clYellow);
    lbl_aktdrucker->SetColorHooverText(clBlue);
    lbl_aktdrucker->setCursor(Qt::PointingHandCursor);
    lbl_aktdrucker->setToolTip(Hint(QStringLiteral(
        "KLICK!\r\nWählen Sie hier einen anderen Drucker aus oder \r\nstellen den aktuellen Drucker ein.")));
    lbl_aktdrucker->setGeometry(14, 20, kClientWidth - 28, 18);
    connect(lbl_aktdrucker, &TMUVLabel::OnClick, this, &TForm_druck::lbl_aktdruckerClick);
    lbl_location = new QLabel(pnl_Drucker);
    lbl_location->setObjectName(QStringLiteral("lbl_location"));
    lbl_location->setGeometry(14, 39, kClientWidth - 28, 16);
    Spin_kopien = MakeSpin(pnl_Drucker, QStringLiteral("Anzahl der Kopien"), QString(), 0, 1, 255, 1);
    Spin_kopien->setObjectName(QStringLiteral("Spin_kopien"));
    Spin_kopien->setGeometry(14, 60, 190, 22);
    lbl_Dinfo = new QLabel(pnl_Drucker);
    lbl_Dinfo->setObjectName(QStringLiteral("lbl_Dinfo"));
    lbl_Dinfo->setGeometry(14, 88, kClientWidth - 28, 16);
    btn_testseite =
        new TMUVButton(QStringLiteral("Testseite zum Ausmessen"), QStringLiteral("print"), pnl_Drucker);
    btn_testseite->setObjectName(QStringLiteral("btn_testseite"));
    btn_testseite->SetHint(QStringLiteral("Testseite zum Ausmessen|Druckt eine Seite mit Skalen und Kreuzen "
                                          "ohne Blattverschiebung, an der Sie messen können, wie weit dieser "
                                          "Drucker den Druck verschiebt."));
    btn_testseite->SetCaptionPosition(tp_right);
    btn_testseite->SetGlyphName(QStringLiteral("print"), 20);
    btn_testseite->setGeometry(14, 110, 220, 30);
    connect(btn_testseite, &QAbstractButton::clicked, this, &TForm_druck::btn_testseiteClick);

    // The bar with the buttons
    pnl1 = MakePanel(QStringLiteral("pnl1"), QString());
    BTN_OK = new TMUVButton(QStringLiteral("OK"), QStringLiteral("ok"), pnl1);
    BTN_OK->setObjectName(QStringLiteral("BTN_OK"));
    BTN_OK->SetHint(QStringLiteral("|OK"));
    BTN_OK->SetCaptionPosition(tp_right);
    BTN_OK->SetGlyphName(QStringLiteral("ok"), 20);
    BTN_Abbruch = new TMUVButton(QStringLiteral("Abbruch"), QStringLiteral("cancel"), pnl1);
    BTN_Abbruch->setObjectName(QStringLiteral("BTN_Abbruch"));
    BTN_Abbruch->SetHint(QStringLiteral("|Abbruch"));
    BTN_Abbruch->SetCaptionPosition(tp_right);
    BTN_Abbruch->SetGlyphName(QStringLiteral("cancel"), 20);
    connect(BTN_OK, &QAbstractButton::clicked, this, &TForm_druck::BTN_OKClick);
    connect(BTN_Abbruch, &QAbstractButton::clicked, this, &TForm_druck::BTN_AbbruchClick);
}

void TForm_druck::FitDialog()
{
    const QSize image = preview_.isNull() ? QSize(0, 0) : preview_.size();
    img1->resize(image);
    int width = kClientWidth;
    int imageLeft = (kClientWidth - image.width()) / 2;
    if (image.width() + 32 > kClientWidth - 1) {
        width = image.width() + 32;
        imageLeft = 16;
    }
    const int previewHeight = image.height() + 32;
    const int height = kBarHeight + kDruckerHeight + kOptionenHeight + previewHeight;
    pnl_Vorschau->setGeometry(0, 0, width, previewHeight);
    img1->move(imageLeft, 20); // below the caption
    pnl_Optionen->setGeometry(0, previewHeight, width, kOptionenHeight);
    pnl_Drucker->setGeometry(0, previewHeight + kOptionenHeight, width, kDruckerHeight);
    pnl1->setGeometry(0, height - kBarHeight, width, kBarHeight);
    BTN_OK->setGeometry(width - 104, 6, 92, 32);
    BTN_Abbruch->setGeometry(width - 204, 6, 96, 32);
    setFixedSize(width, height);
}

void TForm_druck::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        RefreshPrinterInfo();
    }
}

void TForm_druck::LoadShifts()
{
    const TRememberedShift shift =
        ReadRememberedShift(SettingsFilePath(), platform::Printer::Instance().PrinterName());
    spin_VH->SetValueReal(shift.x);
    SPIN_VV->SetValueReal(shift.y);
    SaveShifts(); // both keys exist afterwards, with the values the spins accepted
}

void TForm_druck::SaveShifts()
{
    WriteRememberedShift(SettingsFilePath(), platform::Printer::Instance().PrinterName(),
                         TRememberedShift{spin_VH->ValueReal(), SPIN_VV->ValueReal()});
}

void TForm_druck::RefreshPrinterInfo()
{
    platform::Printer &printer = platform::Printer::Instance();
    printer.Refresh();
    // The preview's page as the printer gives it now, turned to the sheet;
    // the printer's own orientation stays as the window set it.
    const platform::PrinterPage page = PrinterPageFor(document_.Sheet());
    page_->SetPageSetup(page.setup);
    if (!page.message.isEmpty())
        platform::ShowPlain(page.message);
    lbl_aktdrucker->SetCaption(printer.HasPrinter() ? printer.PrinterName() : QStringLiteral("kein Drucker"));
    if (cb_merk->isChecked() && !SettingsFilePath().isEmpty()) {
        // Without a printer there is no name to keep a shift under.
        if (printer.HasPrinter())
            LoadShifts();
        // A printer set up without a location: no empty brackets.
        const QString location = printer.HasPrinter() ? printer.Location().trimmed() : QString();
        lbl_location->setText(location.isEmpty() ? QString()
                                                 : QStringLiteral("(Standort: %1)").arg(location));
    }
    RefreshPreview();
}

TPrintOptions TForm_druck::Options() const
{
    TPrintOptions options;
    options.Copies = Spin_kopien->Value();
    options.Background = MUVCheckBox1->isChecked();
    options.CutLines = cb_Schnittlinien->isChecked();
    options.ShiftX = spin_VH->ValueReal();
    options.ShiftY = SPIN_VV->ValueReal();
    if (const TDPaintbox *canvas = document_.Canvas())
        options.SmoothPictures = canvas->GrafikenWeich();
    return options;
}

void TForm_druck::RefreshPreview()
{
    // The preview shows the page as printed, but without the shift: the
    // shift only moves the print on the paper. A sheet turned since the
    // printer was read gets its page turned too.
    if (page_->Orientation() != SheetOrientation(document_.Sheet()))
        page_->SetPageSetup(PrinterPageFor(document_.Sheet()).setup);
    std::unique_ptr<TPageSource> pages =
        pages_
            ? pages_(Options(), false)
            : std::make_unique<TSheetPages>(document_.Sheet(), document_.ComposeSettings(), Options(), false);
    pages->Next(*page_);
    QImage page;
    page_->RenderToBitmap(page, clWhite, kPreviewZoom);
    preview_ = page.scaled(std::max(1, page.width() / 4), std::max(1, page.height() / 4),
                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img1->setPixmap(QPixmap::fromImage(preview_));
    FitDialog();
    const QLocale locale;
    lbl_Dinfo->setText(QStringLiteral("Papier: %1 × %2 mm (%3)")
                           .arg(locale.toString(page_->PageWidthMm(), 'f', 1),
                                locale.toString(page_->PageHeightMm(), 'f', 1), page_->PaperName()));
}

void TForm_druck::lbl_aktdruckerClick()
{
    platform::Printer &printer = platform::Printer::Instance();
    QPrintDialog setup(&printer.Device(), this);
    setup.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    setup.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    // It chooses the printer and its paper; printing comes later.
    if (auto *box = setup.findChild<QDialogButtonBox *>())
        for (QAbstractButton *b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::AcceptRole)
                b->setText(QStringLiteral("OK"));
    if (setup.exec() != QDialog::Accepted)
        return;
    printer.SyncFromDevice();
    RefreshPrinterInfo();
    // The window's page is the new printer's too.
    if (TDPaintbox *canvas = document_.Canvas())
        canvas->SetPageSetup(page_->PageSetup());
    emit PrinterChanged();
}

void TForm_druck::MUVCheckBox1Change()
{
    RefreshPreview();
}

void TForm_druck::spin_VHDelayedChange()
{
    if (cb_merk->isChecked() && platform::Printer::Instance().HasPrinter() && !SettingsFilePath().isEmpty())
        SaveShifts();
    RefreshPreview();
}

QString TForm_druck::StatusQuestion(const QString &statusText)
{
    return QStringLiteral("Der Drucker meldet : ") + statusText + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Möchten Sie dennoch drucken ?");
}

void TForm_druck::BTN_OKClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString text = platform::StatusQuestionText(platform::Printer::Instance().Status());
    QApplication::restoreOverrideCursor();
    if (text.isEmpty()) {
        accept();
        return;
    }
    platform::Message question;
    question.text = StatusQuestion(text);
    question.type = platform::MsgType::Warning;
    question.buttons = platform::MsgButtons::YesNoCancel;
    switch (platform::ShowMessage(question)) {
    case platform::mrYes:
        accept();
        break;
    case platform::mrNo:
        reject();
        break;
    default:
        platform::ShowPlain(text);
        break;
    }
}

void TForm_druck::BTN_AbbruchClick()
{
    reject();
}

void TForm_druck::SetPages(TPagesFactory pages)
{
    pages_ = std::move(pages);
    RefreshPreview();
}

bool TForm_druck::PrintJob()
{
    QString error;
    const TPrintOptions options = Options();
    bool printed = false;
    if (pages_) {
        const std::unique_ptr<TPageSource> pages = pages_(options, true);
        TOutputProgressWindow progress(parentWidget(), QStringLiteral("Drucken"), false);
        printed = PrintPages(*pages, PrinterPageFor(document_.Sheet()).setup, options.Copies, PrintCopyTitle,
                             options.SmoothPictures, &error, progress.Progress());
    } else {
        printed = PrintSheet(document_.Sheet(), document_.ComposeSettings(), options, &error);
    }
    if (!printed) {
        platform::ShowError(error);
        return false;
    }
    return true;
}

QString TForm_druck::CalibrationHowTo(const QString &printerName)
{
    return QStringLiteral(
               "Die Testseite zum Ausmessen wurde ohne Blattverschiebung an den Drucker \"%1\" "
               "geschickt.\r\n\r\n"
               "Messen Sie auf dem Ausdruck mit einem Lineal von der linken Papierkante bis zur "
               "Mitte von Kreuz A und von der oberen Papierkante bis zur Mitte von Kreuz A. Ein "
               "Drucker, der genau druckt, trifft beide Male 20 mm.\r\n\r\n"
               "Tragen Sie unter \"zusätzliche Blattverschiebung\" 20 mm minus dem gemessenen Wert "
               "ein: den Wert von der linken Kante unter \"Horizontal\", den von der oberen Kante "
               "unter \"Vertikal\". Beispiel: 21,5 mm gemessen ergibt -1,5 mm, 18,5 mm gemessen "
               "ergibt 1,5 mm.")
        .arg(printerName);
}

void TForm_druck::btn_testseiteClick()
{
    platform::Printer &printer = platform::Printer::Instance();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString text = printer.HasPrinter() ? platform::StatusQuestionText(printer.Status()) : QString();
    QApplication::restoreOverrideCursor();
    if (!text.isEmpty()) {
        platform::Message question;
        question.text = StatusQuestion(text);
        question.type = platform::MsgType::Warning;
        question.buttons = platform::MsgButtons::YesNo;
        if (platform::ShowMessage(question) != platform::mrYes)
            return;
    }
    QString error;
    if (!PrintCalibrationPage(1, &error)) {
        platform::ShowError(error);
        return;
    }
    platform::Message howTo;
    howTo.text = CalibrationHowTo(printer.PrinterName());
    howTo.type = platform::MsgType::Information;
    platform::ShowMessage(howTo);
}
