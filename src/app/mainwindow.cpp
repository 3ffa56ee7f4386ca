#include "app/mainwindow.h"

#include "controls/MUVButton.h"
#include "controls/MUVPixelLineal.h"
#include "controls/MUVScrollBox.h"
#include "model/folder_check.h"
#include "model/undobj.h"
#include "platform/codepage.h"
#include "platform/ini.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "platform/system.h"

#include "app/shell_commands.h"
#include "app/status_panels.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kSpacer = 18; // the spacers right of and below the page inside the scroll box
constexpr int kRulerThickness = 24;

QString withSlash(const QString &folder)
{
    return (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) ? folder : folder + QLatin1Char('/');
}
} // namespace

QString TForm1::PreviewHelpCaption()
{
    return QStringLiteral("Linke Maustaste : Dieses Feld bearbeiten;  Rechte Maustaste : weitere Befehle;  "
                          "Mittlere Maustaste : verschiebt die Ansicht");
}

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), document_(new TDocument(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QStringLiteral(":/dorlix/dorlix.svg")));
    document_->ProgramFolder = withSlash(platform::ProgramFolder());
    document_->PictureFolder = platform::ProgramFolder();

    CreateToolBar();
    CreateMenu();
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);
    setCentralWidget(central);
    CreatePreview();
    CreateBottomBar();
    CreateLayoutActions();
    CreatePopup_EL();
    move(0, 0);
    document_->SetCanvas(canvas_);
    ReadPrinterPage(false); // the printer as the program finds it at start
    connect(document_, &TDocument::Changed, this, &TForm1::DocumentChanged);
    connect(document_, &TDocument::NameChanged, this, &TForm1::UpdateCaption);
    UpdateCaption();
    UpdateCommandStates();
    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

// ------------------------------------------------------------------ layout

TMUVButton *TForm1::AddButton(QWidget *bar, const char *name, const QString &caption, const QString &hint,
                              const QString &glyph, int glyphSize, void (TForm1::*handler)())
{
    auto *b = new TMUVButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->SetCaption(caption);
    b->SetGlyphName(glyph, glyphSize);
    b->SetCaptionPosition(caption.isEmpty() ? tp_none : tp_bottom);
    // A hint without "|" is its own short and long form.
    b->SetHint(hint);
    b->setToolTipDuration(10000);
    // Reached with Tab; a mouse click leaves the focus where it was.
    b->setFocusPolicy(Qt::TabFocus);
    if (handler)
        connect(b, &TMUVButton::OnClick, this, [this, handler] { (this->*handler)(); });
    return b;
}

void TForm1::CreateToolBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    // Every large button shows a 32-pixel glyph, so the captions stand on
    // one line.
    auto big = [&](const char *name, const QString &caption, const QString &hint, const char *glyph,
                   void (TForm1::*handler)()) {
        TMUVButton *b = AddButton(bar, name, caption, hint, QString::fromLatin1(glyph), 32, handler);
        // Never narrower than the caption at the font in use, also in the
        // smallest window.
        b->setMinimumWidth(std::max(84, b->sizeHint().width()));
        row->addWidget(b);
        return b;
    };
    big("btn_Neu", QStringLiteral("Neu"),
        QStringLiteral(
            "Legt ein neues Rückenschild an.\r\nEinstellungen zur Seitenaufteilung im Folgedialog"),
        "new", &TForm1::btn_NeuClick);
    big("btn_open", QStringLiteral("Öffnen"),
        QStringLiteral("Öffnet eine bestehende Rückenschilddatei\r\nzur Bearbeitung"), "open",
        &TForm1::btn_openClick);
    big("btn_save", QStringLiteral("Speichern /...unter"),
        QStringLiteral("Speichert das Rückenschild in einer (auch neuen)\r\nDatei ab. Speichern.. bzw. "
                       "Speichern unter..."),
        "save", &TForm1::btn_saveClick);
    big("btn_print", QStringLiteral("Drucken"),
        QStringLiteral("Druckt das aktuelle Rückenschild\r\nEinstellungen zum Drucken ... im Folgedialog"),
        "print", &TForm1::btn_printClick);
    row->addSpacing(12);
    big("btn_mod", QStringLiteral("Ändern"),
        QStringLiteral(
            "Abmessungen der Ränder, Farben und Abstände\r\ndes angezeigten Rückenschildes modifizieren"),
        "change", &TForm1::btn_modClick);
    row->addSpacing(12);

    // The four arrows in a cross.
    auto *arrows = new QWidget(bar);
    auto *grid = new QGridLayout(arrows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    auto arrow = [&](const char *name, const QString &hint, const char *glyph, void (TForm1::*handler)(),
                     int r, int c) {
        TMUVButton *b = AddButton(arrows, name, QString(), hint, QString::fromLatin1(glyph), 16, handler);
        b->setFixedSize(20, 20);
        grid->addWidget(b, r, c);
    };
    arrow("btn_spaltenlinks", QStringLiteral("Alle Spalten nach links verschieben"), "columns_left",
          &TForm1::btn_spaltenlinksClick, 1, 0);
    arrow("btn_oben", QStringLiteral("Alle Reihen nach oben verschieben"), "rows_up", &TForm1::btn_obenClick,
          0, 1);
    arrow("btn_unten", QStringLiteral("Alle Reihen nach unten verschieben"), "rows_down",
          &TForm1::btn_untenClick, 2, 1);
    arrow("btn_spaltenrechts", QStringLiteral("Alle Spalten nach rechts verschieben"), "columns_right",
          &TForm1::btn_spaltenrechtsClick, 1, 2);
    row->addWidget(arrows);
    big("btn_spaltekopieren", QStringLiteral("Kopie"),
        QStringLiteral("Erste Spalte (= Spalte am linken Blattrand)\r\nnach rechts kopieren"), "copy_column",
        &TForm1::btn_spaltekopierenClick);
    row->addSpacing(12);
    big("btn_undo", QStringLiteral(" Rückgängig"), QStringLiteral("Macht Änderungen rückgängig"), "undo",
        &TForm1::btn_undoClick);
    big("btn_redo", QStringLiteral("Wiederherstellen"),
        QStringLiteral("Stellt wieder her, was zuletzt rückgängig gemacht wurde"), "redo",
        &TForm1::btn_redoClick);
    row->addStretch(1);
    auto *toolBar = new QToolBar(QStringLiteral("Werkzeuge"), this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->toggleViewAction()->setEnabled(false);
    toolBar->addWidget(bar);
    addToolBar(Qt::TopToolBarArea, toolBar);
}

namespace
{
// Alt alone puts the focus into the menu bar, as on Windows and most Linux
// desktops, whatever the application's style says.
class AltKeyMenuStyle : public QProxyStyle
{
  public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

void TForm1::CreateMenu()
{
    QMenuBar *bar = menuBar();
    auto *style = new AltKeyMenuStyle;
    style->setParent(bar);
    bar->setStyle(style);
    QMenu *blank = bar->addMenu(QStringLiteral(" "));
    blank->addAction(QString());

    menuFile_ = bar->addMenu(QStringLiteral("&Datei  "));
    actNew_ = menuFile_->addAction(QStringLiteral("&Neu"), this, &TForm1::btn_NeuClick);
    actNew_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    menuFile_->addSeparator();
    actOpen_ = menuFile_->addAction(QStringLiteral("Ö&ffnen"), this, &TForm1::btn_openClick);
    actOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actSave_ = menuFile_->addAction(QStringLiteral("&Speichern (.. unter)             "), this,
                                    &TForm1::btn_saveClick);
    actSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menuFile_->addSeparator();
    actPrint_ = menuFile_->addAction(QStringLiteral("&Drucken"), this, &TForm1::btn_printClick);
    actPrint_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actSerien_ = menuFile_->addAction(QStringLiteral("Se&rienetiketten…"), this, &TForm1::mm_SerienClick);
    actPdf_ = menuFile_->addAction(QStringLiteral("Als &PDF speichern…"), this, &TForm1::mm_PdfClick);
    menuFile_->addSeparator();
    actQuit_ = menuFile_->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
    connect(menuFile_, &QMenu::aboutToShow, this, [this] {
        actSave_->setEnabled(canvas_->isVisible());
        actPrint_->setEnabled(canvas_->isVisible() && Button(QStringLiteral("btn_print"))->isEnabled());
        actSerien_->setEnabled(actPrint_->isEnabled());
        actPdf_->setEnabled(actPrint_->isEnabled());
    });

    menuEdit_ = bar->addMenu(QStringLiteral("&Bearbeiten"));
    actUndo_ = menuEdit_->addAction(QStringLiteral("&Rückgängig"), this, &TForm1::btn_undoClick);
    actUndo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actRedo_ = menuEdit_->addAction(QStringLiteral("&Wiederherstellen"), this, &TForm1::btn_redoClick);
    actRedo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(menuEdit_, &QMenu::aboutToShow, this, [this] {
        actUndo_->setEnabled(Button(QStringLiteral("btn_undo"))->isEnabled());
        actRedo_->setEnabled(Button(QStringLiteral("btn_redo"))->isEnabled());
    });

    menuExtras_ = bar->addMenu(QStringLiteral("&Extras/Optionen  "));
    menuExtras_->addAction(QStringLiteral("&Rückenschilddateien (*.rsd) immer mit dorlix öffnen"), this,
                           &TForm1::mm_openrsdClick);
    menuExtras_->addSeparator();
    menuExtras_->addAction(QStringLiteral("&Ablageordner der Rückenschilder einstellen...."), this,
                           &TForm1::mm_DatablageClick);
    menuExtras_->addAction(QStringLiteral("&Verknüpfung auf dem Desktop erzeugen"), this,
                           &TForm1::mm_lnkdsktpClick);

    // F10 opens the file menu; the cursor keys move on from there.
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menuFile_->menuAction()); });
}

void TForm1::CreatePreview()
{
    auto *panel = new QFrame(centralWidget());
    panel->setObjectName(QStringLiteral("pnl_Vorschau"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto *v = new QVBoxLayout(panel);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);
    previewCaption_ = new QLabel(QStringLiteral("Vorschau"), panel);
    previewCaption_->setObjectName(QStringLiteral("lbl_Vorschau"));
    previewCaption_->setAlignment(Qt::AlignCenter);
    v->addWidget(previewCaption_);

    auto *grid = new QGridLayout;
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    linH_ = new TMUVPixelLineal(panel);
    linH_->setObjectName(QStringLiteral("lin_H"));
    linH_->SetLinealTyp(lin_horizontal);
    linH_->setFixedHeight(kRulerThickness);
    linV_ = new TMUVPixelLineal(panel);
    linV_->setObjectName(QStringLiteral("lin_V"));
    linV_->SetLinealTyp(lin_vertikal);
    linV_->setFixedWidth(kRulerThickness);
    for (TMUVPixelLineal *r : {linH_, linV_}) {
        r->SetColorBackground(clAppWorkSpace);
        r->SetMarkUpColor(14671871);
    }
    scrollBox_ = new TMUVScrollBox(panel);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox_->setFrameShape(QFrame::NoFrame); // ruler pixel 0 is the page's left edge
    scrollBox_->setWidgetResizable(false);
    scrollContent_ = new QWidget;
    canvas_ = new TDPaintbox(scrollContent_);
    canvas_->setObjectName(QStringLiteral("DPaintbox1"));
    canvas_->SetZoomFaktor(0.6666);
    canvas_->setMouseTracking(true);
    bvl2_ = new QWidget(scrollContent_);
    bvl1_ = new QWidget(scrollContent_);
    canvas_->move(0, 0);
    scrollBox_->setWidget(scrollContent_);

    auto *corner = new QWidget(panel);
    corner->setFixedSize(kRulerThickness, kRulerThickness);
    grid->addWidget(corner, 0, 0);
    grid->addWidget(linH_, 0, 1);
    grid->addWidget(linV_, 1, 0);
    grid->addWidget(scrollBox_, 1, 1);
    v->addLayout(grid, 1);
    static_cast<QVBoxLayout *>(centralWidget()->layout())->addWidget(panel, 1);

    connect(scrollBox_, &TMUVScrollBox::OnScroll, this, [this](bool, int) { SyncRulers(); });
    connect(scrollBox_, &TMUVScrollBox::OnMouseWheelUp, this,
            [this](Qt::KeyboardModifiers, QPoint, bool *handled) {
                BTN_plusClick();
                *handled = true;
            });
    connect(scrollBox_, &TMUVScrollBox::OnMouseWheelDown, this,
            [this](Qt::KeyboardModifiers, QPoint, bool *handled) {
                BTN_minusClick();
                *handled = true;
            });
    connect(canvas_, &TDPaintbox::OnZoomChanged, this, &TForm1::LayoutContent);
    // Opening a sheet and resizing the window fit the page without a mouse
    // move: the zoom panel follows every change of the zoom.
    connect(canvas_, &TDPaintbox::OnZoomChanged, this,
            [this] { panels_[5]->setText(QLocale().toString(canvas_->ZoomFaktor(), 'f', 2)); });
    connect(canvas_, &TDPaintbox::OnXYChange, this, &TForm1::DPaintbox1XYChange);
    canvas_->setVisible(false);
}

void TForm1::CreateBottomBar()
{
    auto *bottom = new QWidget(centralWidget());
    auto *row = new QHBoxLayout(bottom);
    row->setContentsMargins(2, 0, 2, 0);
    auto view = [&](const char *name, const QString &caption, const QString &hint, const char *glyph,
                    void (TForm1::*handler)()) {
        TMUVButton *b = AddButton(bottom, name, caption, hint, QString::fromLatin1(glyph), 16, handler);
        b->SetCaptionPosition(tp_Strikt_L);
        row->addWidget(b);
        return b;
    };
    view("BTN_Alles", QStringLiteral("Ganze Seite"),
         QStringLiteral("Zeigt das ganze Bild, angepaßt an die Fenstergröße."), "zoom_all",
         &TForm1::BTN_AllesClick);
    view("BTN_plus", QStringLiteral("+"),
         QStringLiteral("Vergrößert die Ansicht bis zum nächsten ganzzahligen Zoom"), "zoom_in",
         &TForm1::BTN_plusClick);
    view("BTN_minus", QStringLiteral("−"),
         QStringLiteral("Verkleinert die Ansicht bis zum nächsten ganzzahligen Zoom"), "zoom_out",
         &TForm1::BTN_minusClick);
    TMUVButton *work =
        view("btn_work", QStringLiteral("Verschieben"),
             QStringLiteral("temproräres Verschieben der Elemente"), "move", &TForm1::btn_workClick);
    work->SetNormalFlat(false);
    row->addStretch(1);
    static_cast<QVBoxLayout *>(centralWidget()->layout())->addWidget(bottom);

    QStatusBar *sb = statusBar();
    sb->setObjectName(QStringLiteral("StatusBar1"));
    sb->setSizeGripEnabled(true);
    struct Design {
        const char *text;
        int width;
        Qt::Alignment align;
        bool bevel;
    };
    const Design design[12] = {
        {"X:", 20, Qt::AlignRight, false},
        {"0", 80, Qt::AlignCenter, true},
        {"Y:", 40, Qt::AlignRight, false},
        {"0", 80, Qt::AlignCenter, true},
        {"Zoom:", 40, Qt::AlignRight, false},
        {"0", 80, Qt::AlignCenter, true},
        {"0", 4, Qt::AlignLeft, true},
        {"", 50, Qt::AlignLeft, true},
        {"PC-Name", 100, Qt::AlignLeft, true},
        {"", 4, Qt::AlignLeft, true},
        {"Blattgröße:", 150, Qt::AlignRight, false},
        {"n/v", 150, Qt::AlignLeft, true},
    };
    statusPanels_ = new TStatusPanels(sb);
    for (int i = 0; i < 12; ++i) {
        TStatusPanel *l = statusPanels_->AddPanel(QString::fromUtf8(design[i].text), design[i].width,
                                                  design[i].align, design[i].bevel);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels_[std::size_t(i)] = l;
    }
    sb->addWidget(statusPanels_, 1);
    // The 4-pixel separators show no text.
    panels_[6]->setText(QString());
}

TMUVButton *TForm1::Button(const QString &name) const
{
    return findChild<TMUVButton *>(name);
}

QAction *TForm1::MenuAction(const QString &text) const
{
    for (QAction *a : menuBar()->findChildren<QAction *>())
        if (VisibleMenuText(a) == text)
            return a;
    return nullptr;
}

QString TForm1::VisibleMenuText(const QAction *action)
{
    // The "&" only marks the underlined letter.
    return QString(action->text()).remove(QLatin1Char('&'));
}

void TForm1::UpdateCaption()
{
    setWindowTitle(CaptionPrefix() + document_->FileName());
}

void TForm1::UpdateCommandStates()
{
    const bool sheet = canvas_->isVisible() && document_->Sheet().GridBuilt;
    Button(QStringLiteral("btn_Neu"))->setEnabled(true);
    actNew_->setEnabled(true);
    Button(QStringLiteral("btn_print"))->setEnabled(sheet);
    Button(QStringLiteral("btn_mod"))->setEnabled(sheet);
    for (QAction *a : {actFeldopt_, actSpopt_, actAllOpt_})
        if (a)
            a->setEnabled(sheet);
    Button(QStringLiteral("btn_open"))->setEnabled(true);
    Button(QStringLiteral("btn_save"))->setEnabled(sheet);
    actSave_->setEnabled(sheet);
    actPrint_->setEnabled(sheet);
    Button(QStringLiteral("btn_spaltenlinks"))->setEnabled(sheet);
    Button(QStringLiteral("btn_spaltenrechts"))->setEnabled(sheet);
    Button(QStringLiteral("btn_spaltekopieren"))->setEnabled(sheet && document_->Sheet().ColumnCount > 1);
    Button(QStringLiteral("btn_oben"))->setEnabled(sheet && document_->Sheet().RowCount > 1);
    Button(QStringLiteral("btn_unten"))->setEnabled(sheet && document_->Sheet().RowCount > 1);
    const bool undo = sheet && document_->Undo().CanUndo();
    Button(QStringLiteral("btn_undo"))->setEnabled(undo);
    actUndo_->setEnabled(undo);
    const bool redo = sheet && document_->Undo().CanRedo();
    Button(QStringLiteral("btn_redo"))->setEnabled(redo);
    actRedo_->setEnabled(redo);
    for (const char *name : {"BTN_Alles", "BTN_plus", "BTN_minus", "btn_work"})
        Button(QString::fromLatin1(name))->setEnabled(canvas_->isVisible());
}

void TForm1::SetCanvasVisible(bool visible)
{
    canvas_->setVisible(visible);
    LayoutContent();
}

void TForm1::LayoutContent()
{
    // The page at its pixel size, with the two spacers right of and below it.
    const QSize page = canvas_->isVisible() || !canvas_->isHidden() ? canvas_->size() : QSize(0, 0);
    bvl2_->setGeometry(page.width(), 0, kSpacer, page.height() + kSpacer);
    bvl1_->setGeometry(0, page.height(), page.width() + kSpacer, kSpacer);
    scrollContent_->resize(page.width() + kSpacer, page.height() + kSpacer);
}
