#include "dialogs/serien.h"

#include "canvas/dpage.h"
#include "controls/MUVButton.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVPanel.h"
#include "controls/SpezialSpin.h"
#include "dialogs/druck.h"
#include "dialogs/output_progress.h"
#include "dialogs/serien_picker.h"
#include "document/document.h"
#include "document/merge_pages.h"
#include "model/rs.h"
#include "platform/clipboard.h"
#include "platform/codepage.h"
#include "platform/file_dialogs.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
constexpr int kShownRecords = 5;
constexpr int kPreviewWidth = 420;
constexpr int kPanelCaptionSpace = 24;

TMUVPanel *makePanel(QWidget *parent, const QString &name, const QString &caption)
{
    auto *panel = new TMUVPanel(parent);
    panel->setObjectName(name);
    panel->SetCaption(caption);
    panel->SetCaptionPosition(tpp_left);
    QFont bold = parent->font();
    bold.setBold(true);
    panel->SetCaptionFont(bold);
    panel->SetBorderRound(true);
    panel->SetBorderMargin(6);
    return panel;
}

QGridLayout *panelGrid(TMUVPanel *panel)
{
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(14, kPanelCaptionSpace, 14, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    return grid;
}

TMUVCheckBox *makeChoice(QWidget *parent, const QString &name, const QString &caption, int group)
{
    auto *box = new TMUVCheckBox(parent);
    box->setObjectName(name);
    box->SetCaption(caption);
    box->SetGroupIndex(group);
    box->setMinimumHeight(20);
    return box;
}

TMUVButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QString &glyph)
{
    auto *button = new TMUVButton(caption, glyph, parent);
    button->setObjectName(name);
    button->SetCaptionPosition(tp_right);
    if (!glyph.isEmpty())
        button->SetGlyphName(glyph, 20);
    button->setMinimumHeight(30);
    button->setMinimumWidth(button->sizeHint().width());
    return button;
}

// Checks one box of a group and clears the others (SetChecked keeps out of
// the group rule that a click follows).
void choose(TMUVCheckBox *box, std::initializer_list<TMUVCheckBox *> group)
{
    for (TMUVCheckBox *other : group)
        other->SetChecked(other == box);
}

TSpezialSpin *makeSpin(QWidget *parent, const QString &name, const QString &before, double min, double max,
                       double value)
{
    auto *spin = new TSpezialSpin(parent);
    spin->setObjectName(name);
    spin->SetNachkommaStellen(0);
    spin->SetTextBefore(before);
    spin->SetMinValue(min);
    spin->SetMaxValue(max);
    spin->SetValueReal(value);
    spin->SetChangeDelay(400);
    spin->setMinimumSize(150, 22);
    return spin;
}
} // namespace

TForm_serien::TForm_serien(TDocument &document, QWidget *parent) : QDialog(parent), document_(document)
{
    setObjectName(QStringLiteral("Form_serien"));
    setWindowTitle(QStringLiteral("Serienetiketten"));
    BuildLayout();
    choose(document_.FillOrder == TFillOrder::Columns ? rb_Spalten : rb_Zeilen, {rb_Zeilen, rb_Spalten});
    if (document_.MergeList) {
        // The list read last time, ready again.
        list_ = *document_.MergeList;
        haveList_ = true;
        listName_ = document_.MergeListName;
        choose(listName_ == QLatin1String("Zwischenablage") ? rb_Zwischenablage : rb_Datei,
               {rb_Datei, rb_Zwischenablage, rb_Anzahl});
        ShowList();
    }
    building_ = false;
    Refresh();
}

TForm_serien::~TForm_serien() = default;

void TForm_serien::BuildLayout()
{
    auto *data = makePanel(this, QStringLiteral("pnl_Daten"), QStringLiteral("Daten"));
    QGridLayout *dg = panelGrid(data);
    rb_Datei = makeChoice(data, QStringLiteral("rb_Datei"), QStringLiteral("Liste aus einer Datei"), 1);
    btn_Datei = makeButton(data, QStringLiteral("btn_Datei"), QStringLiteral("Datei wählen..."),
                           QStringLiteral("open"));
    btn_Datei->SetHint(
        QStringLiteral("|Eine Liste öffnen: CSV- oder Textdatei einer Tabellenkalkulation, die "
                       "erste Zeile mit den Spaltenüberschriften."));
    lbl_Datei = new QLabel(data);
    lbl_Datei->setObjectName(QStringLiteral("lbl_Datei"));
    rb_Zwischenablage = makeChoice(data, QStringLiteral("rb_Zwischenablage"),
                                   QStringLiteral("Liste aus der Zwischenablage"), 1);
    btn_Einfuegen = makeButton(data, QStringLiteral("btn_Einfuegen"), QStringLiteral("Einfügen"),
                               QStringLiteral("paste"));
    btn_Einfuegen->SetHint(QStringLiteral("|Einen in der Tabellenkalkulation kopierten Bereich einfügen; die "
                                          "erste Zeile hält die Spaltenüberschriften."));
    rb_Anzahl = makeChoice(data, QStringLiteral("rb_Anzahl"), QStringLiteral("Nummerierte Etiketten"), 1);
    spin_Anzahl = makeSpin(data, QStringLiteral("spin_Anzahl"), QStringLiteral("Anzahl"), 1,
                           double(kMaxMergeCount), 10);
    spin_Erste = makeSpin(data, QStringLiteral("spin_Erste"), QStringLiteral("ab Nummer"), 0, 999999999, 1);
    tbl_Liste = new QTableWidget(data);
    tbl_Liste->setObjectName(QStringLiteral("tbl_Liste"));
    tbl_Liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbl_Liste->setSelectionMode(QAbstractItemView::NoSelection);
    tbl_Liste->verticalHeader()->setVisible(false);
    tbl_Liste->setMinimumHeight(150);
    lbl_Listinfo = new QLabel(data);
    lbl_Listinfo->setObjectName(QStringLiteral("lbl_Listinfo"));

    dg->addWidget(rb_Datei, 0, 0);
    dg->addWidget(btn_Datei, 0, 1);
    dg->addWidget(lbl_Datei, 1, 0, 1, 3);
    dg->addWidget(rb_Zwischenablage, 2, 0);
    dg->addWidget(btn_Einfuegen, 2, 1);
    dg->addWidget(rb_Anzahl, 3, 0);
    dg->addWidget(spin_Anzahl, 3, 1);
    dg->addWidget(spin_Erste, 3, 2);
    dg->addWidget(tbl_Liste, 4, 0, 1, 3);
    dg->addWidget(lbl_Listinfo, 5, 0, 1, 3);
    dg->setColumnStretch(0, 1);

    auto *order = makePanel(this, QStringLiteral("pnl_Anordnung"), QStringLiteral("Anordnung"));
    QGridLayout *og = panelGrid(order);
    rb_Zeilen = makeChoice(order, QStringLiteral("rb_Zeilen"),
                           QStringLiteral("Zeilenweise: von links nach rechts, dann nach unten"), 2);
    rb_Spalten = makeChoice(order, QStringLiteral("rb_Spalten"),
                            QStringLiteral("Spaltenweise: von oben nach unten, dann nach rechts"), 2);
    choose(rb_Zeilen, {rb_Zeilen, rb_Spalten});
    spin_Start = makeSpin(order, QStringLiteral("spin_Start"), QStringLiteral("Startetikett"), 1, 1, 1);
    shp_Start = new TStartLabelPicker(order);
    auto *startHint = new QLabel(QStringLiteral("Bei einem angebrochenen Bogen das erste freie Etikett "
                                                "anklicken oder seine Nummer eingeben."),
                                 order);
    startHint->setWordWrap(true);
    cb_Verkleinern = new TMUVCheckBox(order);
    cb_Verkleinern->setObjectName(QStringLiteral("cb_Verkleinern"));
    cb_Verkleinern->SetCaption(QStringLiteral("Zu breite Texte auf Feldbreite verkleinern"));
    cb_Verkleinern->setMinimumHeight(20);
    og->addWidget(rb_Zeilen, 0, 0, 1, 2);
    og->addWidget(rb_Spalten, 1, 0, 1, 2);
    og->addWidget(spin_Start, 2, 0, Qt::AlignTop);
    og->addWidget(startHint, 3, 0, Qt::AlignTop);
    og->addWidget(shp_Start, 2, 1, 3, 1);
    og->addWidget(cb_Verkleinern, 5, 0, 1, 2);
    og->setRowStretch(4, 1);

    auto *preview = makePanel(this, QStringLiteral("pnl_Vorschau"), QStringLiteral("Vorschau"));
    QGridLayout *pg = panelGrid(preview);
    img_Vorschau = new QLabel(preview);
    img_Vorschau->setObjectName(QStringLiteral("img_Vorschau"));
    img_Vorschau->setAlignment(Qt::AlignCenter);
    img_Vorschau->setMinimumSize(kPreviewWidth, kPreviewWidth);
    btn_Zurueck =
        makeButton(preview, QStringLiteral("btn_Zurueck"), QStringLiteral("Seite zurück"), QString());
    btn_Vor = makeButton(preview, QStringLiteral("btn_Vor"), QStringLiteral("Seite vor"), QString());
    lbl_Seite = new QLabel(preview);
    lbl_Seite->setObjectName(QStringLiteral("lbl_Seite"));
    lbl_Seite->setAlignment(Qt::AlignCenter);
    pg->addWidget(img_Vorschau, 0, 0, 1, 3);
    pg->addWidget(btn_Zurueck, 1, 0);
    pg->addWidget(lbl_Seite, 1, 1);
    pg->addWidget(btn_Vor, 1, 2);
    pg->setColumnStretch(1, 1);

    lbl_Fehler = new QLabel(this);
    lbl_Fehler->setObjectName(QStringLiteral("lbl_Fehler"));
    lbl_Fehler->setWordWrap(true);
    QPalette red = lbl_Fehler->palette();
    red.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    lbl_Fehler->setPalette(red);

    btn_Drucken = makeButton(this, QStringLiteral("btn_Drucken"), QStringLiteral("Drucken..."),
                             QStringLiteral("print"));
    btn_Pdf = makeButton(this, QStringLiteral("btn_Pdf"), QStringLiteral("Als PDF speichern..."),
                         QStringLiteral("save"));
    btn_Schliessen = makeButton(this, QStringLiteral("btn_Schliessen"), QStringLiteral("Schließen"),
                                QStringLiteral("cancel"));

    auto *left = new QVBoxLayout;
    left->addWidget(data, 3);
    left->addWidget(order, 2);
    auto *right = new QVBoxLayout;
    right->addWidget(preview, 1);
    right->addWidget(lbl_Fehler);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btn_Drucken);
    buttons->addWidget(btn_Pdf);
    buttons->addWidget(btn_Schliessen);
    right->addLayout(buttons);
    auto *all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(right, 1);

    choose(rb_Anzahl, {rb_Datei, rb_Zwischenablage, rb_Anzahl});
    for (TMUVCheckBox *box : {rb_Datei, rb_Zwischenablage, rb_Anzahl, rb_Zeilen, rb_Spalten, cb_Verkleinern})
        connect(box, &TMUVCheckBox::OnChange, this, [this] { Refresh(); });
    connect(btn_Datei, &QAbstractButton::clicked, this, &TForm_serien::btn_DateiClick);
    connect(btn_Einfuegen, &QAbstractButton::clicked, this, [this] { PasteList(); });
    for (TSpezialSpin *spin : {spin_Anzahl, spin_Erste})
        connect(spin, &TSpezialSpin::OnDelayedChange, this, [this] {
            choose(rb_Anzahl, {rb_Datei, rb_Zwischenablage, rb_Anzahl});
            Refresh();
        });
    connect(spin_Start, &TSpezialSpin::OnDelayedChange, this, [this] {
        shp_Start->SetStartLabel(spin_Start->Value());
        Refresh();
    });
    connect(shp_Start, &TStartLabelPicker::StartLabelChanged, this, [this](int label) {
        spin_Start->SetValue(label);
        Refresh();
    });
    connect(btn_Zurueck, &QAbstractButton::clicked, this, [this] { ShowPage(page_ - 1); });
    connect(btn_Vor, &QAbstractButton::clicked, this, [this] { ShowPage(page_ + 1); });
    connect(btn_Drucken, &QAbstractButton::clicked, this, &TForm_serien::btn_DruckenClick);
    connect(btn_Pdf, &QAbstractButton::clicked, this, &TForm_serien::btn_PdfClick);
    connect(btn_Schliessen, &QAbstractButton::clicked, this, &QDialog::reject);
}

TMergeOptions TForm_serien::Options() const
{
    TMergeOptions o;
    o.Order = rb_Spalten->isChecked() ? TFillOrder::Columns : TFillOrder::Rows;
    o.StartLabel = std::max(1, spin_Start->Value());
    o.Fit = cb_Verkleinern->isChecked();
    return o;
}

void TForm_serien::ListFailed(const QString &reason)
{
    haveList_ = false;
    list_ = TDataList();
    listName_.clear();
    ShowList();
    listError_ = reason;
}

bool TForm_serien::LoadListFile(const QString &path)
{
    choose(rb_Datei, {rb_Datei, rb_Zwischenablage, rb_Anzahl});
    QString error;
    TDataList list;
    if (!list.ReadFile(path, &error)) {
        ListFailed(error);
        Refresh();
        return false;
    }
    list_ = std::move(list);
    haveList_ = true;
    listError_.clear();
    listName_ = QFileInfo(path).fileName();
    Remember();
    ShowList();
    Refresh();
    return true;
}

bool TForm_serien::PasteList()
{
    choose(rb_Zwischenablage, {rb_Datei, rb_Zwischenablage, rb_Anzahl});
    QString error;
    TDataList list;
    if (!platform::ClipboardHasText()) {
        ListFailed(QStringLiteral("Die Zwischenablage enthält keinen Text."));
        Refresh();
        return false;
    }
    if (!list.ReadString(platform::FromAnsi(platform::ClipboardText()), &error)) {
        ListFailed(QStringLiteral("Die Liste aus der Zwischenablage kann nicht verwendet werden.\r\n") +
                   error);
        Refresh();
        return false;
    }
    list_ = std::move(list);
    haveList_ = true;
    listError_.clear();
    listName_ = QStringLiteral("Zwischenablage");
    Remember();
    ShowList();
    Refresh();
    return true;
}

void TForm_serien::Remember()
{
    document_.MergeList = std::make_shared<const TDataList>(list_);
    document_.MergeListName = listName_;
}

void TForm_serien::UseCount(int count, int first)
{
    spin_Anzahl->SetValue(count);
    spin_Erste->SetValue(first);
    choose(rb_Anzahl, {rb_Datei, rb_Zwischenablage, rb_Anzahl});
    Refresh();
}

void TForm_serien::ShowList()
{
    tbl_Liste->clear();
    lbl_Datei->setText(haveList_ && rb_Datei->isChecked() ? listName_ : QString());
    if (!haveList_) {
        tbl_Liste->setRowCount(0);
        tbl_Liste->setColumnCount(0);
        lbl_Listinfo->clear();
        return;
    }
    const int columns = list_.ColumnCount();
    const int rows = int(std::min<std::size_t>(list_.RecordCount(), kShownRecords));
    tbl_Liste->setColumnCount(columns);
    tbl_Liste->setRowCount(rows);
    QStringList headings;
    for (int c = 0; c < columns; ++c) {
        const QString name = c < list_.Headings.size() ? list_.Headings[c] : QString();
        headings.append(name.isEmpty() ? QStringLiteral("{%1}").arg(c + 1)
                                       : QStringLiteral("{%1}").arg(name));
    }
    tbl_Liste->setHorizontalHeaderLabels(headings);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            tbl_Liste->setItem(r, c, new QTableWidgetItem(list_.Value(std::size_t(r), c)));
    tbl_Liste->resizeColumnsToContents();
    // The headings stand above the table already; a long list of them would
    // widen the dialog.
    lbl_Listinfo->setText(QStringLiteral("%L1 Datensätze aus %2; {#} ist die laufende Nummer.")
                              .arg(qulonglong(list_.RecordCount()))
                              .arg(listName_));
    lbl_Listinfo->setToolTip(QStringLiteral("Platzhalter: ") + headings.join(QStringLiteral(", ")));
}

void TForm_serien::Refresh()
{
    if (building_)
        return;
    const TRS &sheet = document_.Sheet();
    const TMergeOptions options = Options();
    document_.FillOrder = options.Order;

    std::vector<std::pair<int, int>> places;
    std::vector<bool> takes;
    for (const TLabelPlace &p : LabelPlaces(sheet, options.Order)) {
        places.push_back({p.column, p.row});
        takes.push_back(p.takesRecord);
    }
    spin_Start->SetMaxValue(std::max<double>(1, double(places.size())));
    shp_Start->SetPlaces(&sheet, std::move(places), std::move(takes));

    TMergeSource source;
    const bool fromList = !rb_Anzahl->isChecked();
    if (fromList && haveList_)
        source.List = &list_;
    source.Count = spin_Anzahl->Value();
    source.First = spin_Erste->Value();
    lbl_Datei->setText(haveList_ && rb_Datei->isChecked() ? listName_ : QString());

    error_.clear();
    if (fromList && !haveList_) {
        ready_ = false;
        if (!listError_.isEmpty())
            error_ = listError_;
        else if (rb_Datei->isChecked())
            error_ = QStringLiteral("Bitte wählen Sie die Datei mit der Liste.");
        else
            error_ = QStringLiteral("Bitte fügen Sie die Liste aus der Zwischenablage ein.");
    } else {
        ready_ = merge_.Prepare(sheet, source, options, &error_);
    }
    lbl_Fehler->setText(error_);
    btn_Drucken->setEnabled(ready_);
    btn_Pdf->setEnabled(ready_);
    ShowPage(0);
}

void TForm_serien::ShowPage(int page)
{
    const int count = ready_ ? merge_.PageCount() : 0;
    page_ = std::clamp(page, 0, std::max(0, count - 1));
    btn_Zurueck->setEnabled(page_ > 0);
    btn_Vor->setEnabled(page_ + 1 < count);
    lbl_Seite->setText(count > 0 ? QStringLiteral("Seite %L1 von %L2").arg(page_ + 1).arg(count) : QString());
    RenderPreview();
}

void TForm_serien::RenderPreview()
{
    preview_ = QImage();
    if (ready_) {
        TMergePages pages(merge_, document_.ComposeSettings(), TPrintOptions(), false);
        pages.Seek(page_);
        const platform::PageSetup &setup = document_.Page().PageSetup();
        const double zoom = double(kPreviewWidth) / std::max(1.0, setup.WidthMm() * setup.screenDpi / 25.4);
        RenderFirstPage(pages, setup, std::min(zoom, 1.0), &preview_);
    }
    img_Vorschau->setPixmap(preview_.isNull() ? QPixmap() : QPixmap::fromImage(preview_));
}

void TForm_serien::btn_DateiClick()
{
    platform::FileDialogRequest r;
    r.kind = platform::FileDialogRequest::Open;
    r.title = QStringLiteral("Liste öffnen");
    r.filter =
        QStringLiteral("Listen (*.csv;*.txt;*.tsv;*.tab)|*.csv;*.txt;*.tsv;*.tab|Alle Dateien (*.*)|*.*");
    r.startFolder = document_.DataFolder;
    const QString path = platform::ExecuteFileDialog(this, r);
    if (!path.isEmpty())
        LoadListFile(path);
}

bool TForm_serien::SavePdf(const QString &path, QString *error, const TOutputProgress &progress)
{
    if (!ready_) {
        *error = error_;
        return false;
    }
    const TRS &sheet = document_.Sheet();
    TMergePages pages(merge_, document_.ComposeSettings(), TPrintOptions());
    return WritePdf(pages, PdfPageSetup(QSizeF(sheet.PageWidth, sheet.PageHeight)), path,
                    QFileInfo(document_.FileName()).completeBaseName(), error, progress);
}

void TForm_serien::btn_PdfClick()
{
    platform::FileDialogRequest r;
    r.kind = platform::FileDialogRequest::Save;
    r.title = QStringLiteral("Als PDF speichern");
    r.filter = QStringLiteral("PDF-Dateien (*.pdf)|*.pdf");
    r.defaultSuffix = QStringLiteral("pdf");
    r.startFolder = document_.Folder().isEmpty() ? document_.DataFolder : document_.Folder();
    r.fileName = QFileInfo(document_.FileName()).completeBaseName() + QStringLiteral(".pdf");
    const QString path = platform::ExecuteFileDialog(this, r);
    if (path.isEmpty())
        return;
    QString error;
    TOutputProgressWindow progress(this, QStringLiteral("Als PDF speichern"), true);
    if (!SavePdf(path, &error, progress.Progress()))
        lbl_Fehler->setText(error);
    else
        lbl_Fehler->setText(QString());
}

void TForm_serien::btn_DruckenClick()
{
    if (!ready_)
        return;
    TForm_druck dialog(document_, this);
    dialog.SetPages([this](const TPrintOptions &options, bool withShift) -> std::unique_ptr<TPageSource> {
        return std::make_unique<TMergePages>(merge_, document_.ComposeSettings(), options, withShift);
    });
    if (dialog.exec() == QDialog::Accepted)
        dialog.PrintJob();
}
