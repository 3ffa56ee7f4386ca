// gallery_boxes: every variant of the labels, check boxes, the combo box and the
// hint window in one window.
//   --drop        opens the first combo box's list
//   --hint        shows a hint over the "Drucken" button
//   --folder      opens the folder browser
//   --shot FILE   saves the window (and the open list or hint) as PNG and quits
#include "controls/GraphicHintWindow.h"
#include "controls/MUVCheckBox.h"
#include "controls/MUVComboBox.h"
#include "controls/MUVLabel.h"
#include "controls/MUVVertikalLabel.h"
#include "controls/glyphs_boxes/box_glyphs.h"
#include "platform/shell.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace
{

QLabel *Heading(QWidget *parent, const QString &text, int x, int y)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->move(x, y);
    return l;
}

QPixmap Swatch(const QColor &c)
{
    QPixmap pm(12, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(c.darker(150));
    p.drawRect(0, 0, 11, 11);
    return pm;
}

TMUVLabel *Label(QWidget *parent, const QString &caption, TMUVLabelTyp typ, QRect geometry)
{
    auto *l = new TMUVLabel(parent);
    l->SetCaption(caption);
    l->SetLabelTyp(typ);
    l->setGeometry(geometry);
    return l;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    TGraphicHintWindow::Install(box_glyphs::HintBackground());

    QWidget window;
    window.setWindowTitle(QStringLiteral("Galerie: Beschriftungen, Kontrollkästchen, Listen"));
    window.resize(900, 560);

    // ---- check boxes
    Heading(&window, QStringLiteral("TMUVCheckBox"), 10, 8);
    int y = 30;
    auto box = [&](const QString &caption, TMUVCheckBoxStyle style, bool checked, int group = 0) {
        auto *b = new TMUVCheckBox(&window);
        b->SetCaption(caption);
        b->SetStyle(style);
        b->SetChecked(checked);
        b->SetGroupIndex(group);
        b->setGeometry(10, y, 200, 20);
        y += 22;
        return b;
    };
    box(QStringLiteral("Haken, gesetzt"), cs_Hook, true);
    box(QStringLiteral("Haken, leer"), cs_Hook, false);
    box(QStringLiteral("Haken, gesetzt, gesperrt"), cs_Hook, true)->setEnabled(false);
    box(QStringLiteral("Haken, leer, gesperrt"), cs_Hook, false)->setEnabled(false);
    box(QStringLiteral("Punkt: Hochformat"), cs_Dot, true, 1);
    box(QStringLiteral("Punkt: Querformat"), cs_Dot, false, 1);
    box(QStringLiteral("Punkt, gesperrt"), cs_Dot, true)->setEnabled(false);
    auto *right = box(QStringLiteral("Kästchen rechts"), cs_Hook, true);
    right->SetRightHand(true);
    auto *opaque = box(QStringLiteral("Mit Hintergrund"), cs_Hook, false);
    opaque->SetBackgroundOpak(true);
    opaque->SetBackgroundColor(RGBToTColor(255, 255, 225));

    // ---- combo boxes
    Heading(&window, QStringLiteral("TMUVComboBox"), 240, 8);
    auto *combo = new TMUVComboBox(&window);
    combo->setGeometry(240, 30, 200, 24);
    combo->addItems({QStringLiteral("A4 Hochformat||210 × 297"), QStringLiteral("A4 Querformat||297 × 210"),
                     QStringLiteral("-Ordnerrücken"), QStringLiteral("Schmal||38 mm"),
                     QStringLiteral("Breit||61 mm"), QStringLiteral("-"), QStringLiteral("Eigenes Format")});
    combo->setCurrentIndex(0);
    combo->setToolTip(QStringLiteral("Vorlage|Eine Vorlage für das neue Blatt wählen"));

    auto *choose = new TMUVComboBox(&window);
    choose->setGeometry(240, 62, 200, 24);
    choose->addItems({QStringLiteral("Rot"), QStringLiteral("Grün"), QStringLiteral("Blau")});
    choose->SetImageList({Swatch(Qt::red), Swatch(Qt::darkGreen), Swatch(Qt::blue)});
    choose->SetNoChooseText(QStringLiteral("(keine Farbe gewählt)"));
    choose->setCurrentIndex(-1);
    choose->SetAllwaysBorder(true);

    auto *paths = new TMUVComboBox(&window);
    paths->setGeometry(240, 94, 200, 24);
    paths->SetItemsAsPath(true);
    paths->addItems({QDir::homePath(), QStringLiteral("/tmp"),
                     QStringLiteral("/gibt/es/nicht/mehr/Etiketten"),
                     QStringLiteral("//server/freigabe/Etiketten")});
    paths->SetImageList({Swatch(QColor(230, 190, 60)), Swatch(QColor(90, 140, 210))});
    paths->setCurrentIndex(2);
    paths->SetChooseTextBold(true);

    auto *old = new TMUVComboBox(&window);
    old->setGeometry(240, 126, 200, 24);
    old->addItems({QStringLiteral("Alte Schaltfläche"), QStringLiteral("-Punkte"), QStringLiteral("zweite")});
    old->SetButtonStyleOld(true);
    old->SetSeperatorLineStyle(Qt::DotLine);
    old->setCurrentIndex(0);

    // ---- labels
    Heading(&window, QStringLiteral("TMUVLabel"), 470, 8);
    int ly = 30;
    auto label = [&](const QString &caption, TMUVLabelTyp typ) {
        auto *l = Label(&window, caption, typ, QRect(470, ly, 200, 20));
        ly += 24;
        return l;
    };
    label(QStringLiteral("ltnormal: schlichte Beschriftung"), ltnormal);
    label(QStringLiteral("ltnormal: eine viel zu lange Beschriftung für den Platz"), ltnormal);
    label(QStringLiteral("/home/anwender/Dokumente/Etiketten/Archiv/Ordnerrücken.rsd"), ltfile)
        ->SetShowEllipses(true);
    label(QStringLiteral("lthyperlink: E-Mail schreiben"), lthyperlink)
        ->setToolTip(QStringLiteral("E-Mail|Öffnet das E-Mail-Programm"));
    auto *hover = label(QStringLiteral("lthoover: unter der Maus"), lthoover);
    hover->SetLabelBevel(bfsingle);
    QFont big(QStringLiteral("DejaVu Sans"));
    big.setPixelSize(15);
    big.setBold(true);
    for (TMUVLabelTyp t : {ltglow, ltraised, ltlowered}) {
        auto *l = label(t == ltglow     ? QStringLiteral("ltglow")
                        : t == ltraised ? QStringLiteral("ltraised")
                                        : QStringLiteral("ltlowered"),
                        t);
        l->SetFont(big);
        l->SetColor(t == ltglow ? RGBToTColor(90, 90, 120) : TColor(0x8000000F));
        if (t == ltglow)
            l->SetFontColor(RGBToTColor(40, 40, 40));
    }
    auto *bevels = label(QStringLiteral("bfraised, mittig"), ltnormal);
    bevels->SetLabelBevel(bfraised);
    bevels->SetLabelLayout(lycenter);
    auto *lowered = label(QStringLiteral("bflowered, rechts"), ltnormal);
    lowered->SetLabelBevel(bflowered);
    lowered->SetLabelLayout(lycenterright);
    auto *borders = label(QStringLiteral("Linien oben und unten"), ltnormal);
    borders->SetBorders(blbl_top | blbl_bottom);
    borders->SetColorBorder(RGBToTColor(0, 0, 200));
    auto *empty = label(QString(), ltnormal);
    empty->SetNoChooseCaption(QStringLiteral("(keine Datei gewählt)"));
    auto *glyph = label(QStringLiteral("mit Bild davor"), ltnormal);
    glyph->SetGlyph(Swatch(QColor(0, 150, 70)));
    label(QStringLiteral("gesperrt"), ltnormal)->setEnabled(false);
    auto *filled = label(QStringLiteral("Farbe und oben"), ltnormal);
    filled->SetColor(RGBToTColor(255, 255, 192));
    filled->SetLabelLayout(lycentertop);

    // ---- vertical labels
    Heading(&window, QStringLiteral("Vertikal"), 700, 8);
    auto *v1 = new TMUVVertikalLabel(&window);
    v1->setGeometry(700, 30, 24, 200);
    auto *v2 = new TMUVVertikalLabel(&window);
    v2->setGeometry(730, 30, 24, 200);
    v2->SetCaption(QStringLiteral("oben"));
    v2->SetTextAlign(Qt::AlignRight);
    auto *v3 = new TMUVVertikalLabel(&window);
    v3->setGeometry(760, 30, 24, 200);
    v3->SetCaption(QStringLiteral("Mitte"));
    v3->SetTextAlign(Qt::AlignHCenter);

    // ---- hint
    Heading(&window, QStringLiteral("TGraphicHintWindow"), 240, 170);
    auto *print = new QPushButton(QStringLiteral("Drucken"), &window);
    print->setGeometry(240, 192, 100, 28);
    print->setToolTip(QStringLiteral("Drucken|Das Blatt auf dem Drucker ausgeben"));
    auto *browse = new QPushButton(QStringLiteral("Ordner wählen..."), &window);
    browse->setGeometry(350, 192, 120, 28);
    browse->setToolTip(QStringLiteral("Datenablage\nOrdner für die Etiketten wählen"));
    QObject::connect(browse, &QPushButton::clicked, [&] {
        platform::TFolderBrowser browser;
        browser.StartFolder = QDir::homePath();
        if (browser.Execute())
            std::printf("gewählt: %s\n", qPrintable(browser.SelectedFolder));
    });

    window.move(0, 0);
    window.show();

    QTimer::singleShot(200, [&] {
        if (args.contains(QStringLiteral("--drop")))
            combo->showPopup();
        if (args.contains(QStringLiteral("--hint"))) {
            const QPoint at = print->mapToGlobal(QPoint(30, 14));
            QHelpEvent ev(QEvent::ToolTip, QPoint(30, 14), at);
            QApplication::sendEvent(print, &ev);
        }
        if (args.contains(QStringLiteral("--folder")))
            browse->click();
    });
    const int shot = int(args.indexOf(QStringLiteral("--shot")));
    if (shot > 0 && shot + 1 < args.size()) {
        const QString file = args[shot + 1];
        QTimer::singleShot(1200, [&, file] {
            QScreen *screen = QGuiApplication::primaryScreen();
            screen->grabWindow(0, 0, 0, 950, 600).save(file);
            QApplication::quit();
        });
    }
    return app.exec();
}
