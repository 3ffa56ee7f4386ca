// Shows the own buttons, panels and decorations in their states, side by
// side. With a file name as argument it saves a picture of the window after
// hovering, pressing and disabling some buttons, and exits.

#include "controls/ColorPanel.h"
#include "controls/MUVButton.h"
#include "controls/MUVButtonGlyphs.h"
#include "controls/MUVFarbVerlauf.h"
#include "controls/MUVLines.h"
#include "controls/MUVPageControl.h"
#include "controls/MUVPanel.h"
#include "controls/MUVPfeile.h"
#include "controls/MUVScrollBox.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>

namespace
{

TMUVButton *Button(QWidget *parent, int x, int y, int w, int h, const QString &caption, const QString &glyph,
                   TTextPosition pos, int glyphSize = 24)
{
    auto *b = new TMUVButton(parent);
    b->setGeometry(x, y, w, h);
    b->SetCaption(caption);
    if (!glyph.isEmpty())
        b->SetGlyphName(glyph, glyphSize);
    b->SetCaptionPosition(pos);
    b->SetHint(caption.isEmpty() ? glyph : caption);
    return b;
}

void Hover(TMUVButton *b)
{
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(b, &e);
}

void Press(TMUVButton *b)
{
    Hover(b);
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(b, &e);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Dorlix – Schaltflächen und Tafeln"));
    window.resize(1180, 760);

    // Tool bar row: captions below 32-pixel glyphs, as in the main window.
    auto *bar = new TColorPanel(&window);
    bar->setGeometry(0, 0, 1180, 70);
    bar->SetStartColor(RGBToTColor(255, 255, 255));
    bar->SetEndColor(RGBToTColor(212, 208, 200));
    const struct {
        const char *caption;
        const char *glyph;
    } tools[] = {{"Neu", "new"},          {"Öffnen", "open"},     {"Speichern /...unter", "save"},
                 {"Drucken", "print"},    {"Ändern", "change"},   {"Kopie", "copy_column"},
                 {" Rückgängig", "undo"}, {"Verschieben", "move"}};
    int x = 6;
    QList<TMUVButton *> toolButtons;
    for (const auto &t : tools) {
        auto *b = Button(bar, x, 3, 110, 64, QString::fromUtf8(t.caption), QString::fromLatin1(t.glyph),
                         tp_bottom, 32);
        toolButtons << b;
        x += 114;
    }
    toolButtons[4]->setEnabled(false); // "Ändern" disabled
    toolButtons[7]->SetNormalFlat(false);
    toolButtons[7]->SetDown(true);

    // Every glyph of the set, grey (not hovered) and in colour.
    auto *set = new TMUVPanel(QStringLiteral("Bildersatz 24 × 24"), &window);
    set->setGeometry(10, 80, 560, 140);
    QFont bold = set->font();
    bold.setBold(true);
    set->SetCaptionFont(bold);
    set->SetBorderRound(true);
    const QStringList names = MUVGlyphNames();
    for (int i = 0; i < names.size(); ++i) {
        auto *b = Button(set, 12 + (i % 17) * 31, 24 + (i / 17) * 34, 28, 28, QString(), names[i], tp_none);
        b->SetShowAllwaysColor(i % 2 == 0);
    }
    for (int i = 0; i < 3; ++i) {
        auto *b = Button(set, 12 + i * 31, 98, 28, 28, QString(), names[i], tp_none);
        b->setEnabled(false);
    }

    // Caption positions.
    auto *pos = new TMUVPanel(QStringLiteral("Beschriftung"), &window);
    pos->setGeometry(580, 80, 590, 140);
    pos->SetCaptionFont(bold);
    pos->SetCaptionPosition(tpp_middle);
    const char *posNames[] = {"tp_none", "tp_left",   "tp_right",    "tp_bottom",
                              "tp_top",  "tp_center", "tp_Strikt_L", "tp_Strikt_R"};
    for (int i = 0; i < 8; ++i) {
        auto *b = Button(pos, 10 + (i % 4) * 144, 22 + (i / 4) * 56, 136, 50,
                         QString::fromLatin1(posNames[i]), QStringLiteral("ok"), TTextPosition(i));
        b->SetShowAllwaysSimpleBorder(true);
        b->SetShowAllwaysColor(true);
    }

    // Edge styles, each hovered, pressed and down.
    auto *edges = new TMUVPanel(QStringLiteral("Rahmen: schwebend, gedrückt, unten, aus"), &window);
    edges->setGeometry(10, 230, 560, 260);
    edges->SetCaptionFont(bold);
    edges->SetCaptionPosition(ttp_right);
    const char *edgeNames[] = {"bs_rectangle", "bs_breakedrect", "bs_architectural",
                               "bs_circle",    "bs_none",        "bs_rectHollow"};
    QList<TMUVButton *> hovered;
    QList<TMUVButton *> pressed;
    for (int i = 0; i < 6; ++i) {
        auto *l = new QLabel(QString::fromLatin1(edgeNames[i]), edges);
        l->setGeometry(10, 24 + i * 38, 120, 30);
        for (int s = 0; s < 4; ++s) {
            auto *b = Button(edges, 130 + s * 104, 22 + i * 38, i == 3 ? 34 : 96, 34,
                             i == 3 ? QString() : QStringLiteral("Hilfe"), QStringLiteral("help"),
                             i == 3 ? tp_none : tp_Strikt_L);
            b->SetEdgestyle(TButtonStyle(i));
            if (i == 3)
                b->SetShowAllwaysSimpleBorder(true);
            if (s == 0)
                hovered << b;
            if (s == 1)
                pressed << b;
            if (s == 2) {
                b->SetNormalFlat(false);
                b->SetDown(true);
            }
            if (s == 3)
                b->setEnabled(false);
        }
    }

    // Popup button and a group.
    auto *group = new TMUVPanel(QStringLiteral("Gruppe"), &window);
    group->setGeometry(580, 230, 290, 110);
    group->SetBorderRound(true);
    const char *align[] = {"paragraph_left", "paragraph_center", "paragraph_right"};
    for (int i = 0; i < 3; ++i) {
        auto *b = Button(group, 12 + i * 32, 26, 30, 30, QString(), QString::fromLatin1(align[i]), tp_none);
        b->SetNormalFlat(false);
        b->SetGroupIndex(1);
        b->SetDown(i == 1);
    }
    auto *menuButton =
        Button(group, 130, 26, 140, 30, QStringLiteral("Mehr ..."), QStringLiteral("edit"), tp_Strikt_L);
    auto *menu = new QMenu(menuButton);
    menu->addAction(QStringLiteral("Eintrag 1"));
    menu->addAction(QStringLiteral("Eintrag 2"));
    menuButton->SetPopupMenu(menu);
    auto *web =
        Button(group, 12, 66, 258, 30, QStringLiteral("Im Browser öffnen"), QStringLiteral("info"), tp_right);
    web->SetButtontyp(typ_execute);
    web->SetButton_Execute(QStringLiteral("https://www.debian.org"));
    web->SetShowBackgroundColor(true);

    // Decorations.
    auto *deco = new TMUVPanel(QStringLiteral("Linien, Pfeile, Verläufe"), &window);
    deco->setGeometry(880, 230, 290, 260);
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(qRgb(240, 240, 232));
    tile.setPixel(0, 0, qRgb(200, 200, 190));
    deco->SetBackgroundBMP(tile);
    deco->SetBackgroundColor(RGBToTColor(250, 250, 250));
    auto *l1 = new TMUVLines(deco);
    l1->setGeometry(12, 26, 120, 60);
    l1->SetLinien(MuvBit(ltlinks) | MuvBit(ltrechts) | MuvBit(ltoben) | MuvBit(ltunten) | MuvBit(ltdiagli));
    l1->SetRundeEcken(MuvBit(trc_AllCorners));
    l1->SetEckRadius(10);
    l1->SetLinFarbe(RGBToTColor(0, 0, 160));
    auto *l2 = new TMUVLines(deco);
    l2->setGeometry(150, 26, 120, 60);
    l2->SetLinien(MuvBit(ltMitteHorizontal) | MuvBit(ltMitteVertikal) | MuvBit(ltunten));
    l2->SetLinDicke(2);
    l2->SetLinStyle(1);
    auto *a1 = new TMUVPfeile(deco);
    a1->setGeometry(12, 100, 120, 12);
    a1->SetPfeilBegrenzer(true);
    auto *a2 = new TMUVPfeile(deco);
    a2->setGeometry(150, 96, 12, 60);
    a2->SetPfeiltyp(pt_vertikal);
    a2->SetPfeilGroesse(9);
    auto *f1 = new TMUVFarbVerlauf(deco);
    f1->setGeometry(12, 170, 266, 24);
    f1->SetColorStart(RGBToTColor(0, 0, 128));
    f1->SetBeschriftung(QStringLiteral("Farbverlauf mit Beschriftung"));
    auto *f2 = new TMUVFarbVerlauf(deco);
    f2->setGeometry(12, 200, 266, 40);
    f2->SetHorizontal(false);
    f2->SetHorizontal3D(true);
    f2->SetColorStart(RGBToTColor(90, 120, 160));
    f2->SetBeschriftungAlsDatei(true);
    f2->SetBeschriftungMitte(true);
    f2->SetBeschriftung(
        QStringLiteral("/home/anwender/Dokumente/Rückenschilder/2026/Ordner Büro/Steuern.rsd"));
    f2->SetBorders(brd_top | brd_bottom);
    f2->SetColorBorder(RGBToTColor(0, 0, 0));

    // Page control with flat tabs.
    auto *pc = new TMUVPageControl(&window);
    pc->setGeometry(580, 350, 290, 140);
    pc->SetFlatTabs(true);
    pc->SetTabSize(QSize(96, 24));
    for (const char *t : {"Text", "Grafik"}) {
        auto *page = new TColorPanel;
        page->SetStartColor(RGBToTColor(255, 255, 255));
        page->SetEndColor(RGBToTColor(200, 215, 235));
        pc->addTab(page, QString::fromLatin1(t));
    }

    // Scroll box with pattern and shadows.
    auto *box = new TMUVScrollBox(&window);
    box->setGeometry(10, 500, 1160, 250);
    auto *content = new QWidget;
    content->resize(1500, 400);
    for (int i = 0; i < 3; ++i) {
        auto *page = new QLabel(QStringLiteral("Seite %1").arg(i + 1), content);
        page->setAlignment(Qt::AlignCenter);
        page->setAutoFillBackground(true);
        QPalette pal = page->palette();
        pal.setColor(QPalette::Window, Qt::white);
        page->setPalette(pal);
        page->setGeometry(30 + i * 260, 20, 200, 180);
    }
    box->setWidget(content);
    box->SetBackgroundOn(true);
    box->SetShadowOn(true);

    window.show();
    if (argc > 1) {
        const QString file = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(300, [&, file] {
            for (TMUVButton *b : hovered)
                Hover(b);
            for (TMUVButton *b : pressed)
                Press(b);
            Hover(toolButtons[1]);
            QTimer::singleShot(300, [&, file] {
                const bool ok = window.grab().save(file);
                std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
                app.quit();
            });
        });
    }
    return app.exec();
}
