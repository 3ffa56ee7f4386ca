#include "controls/MUVComboBox.h"
#include "controls/MUVFontComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

// "Eins", a bare separator, "Zwei", a titled separator, "Drei||rechts".
struct Combo {
    TMUVComboBox combo;
    Combo()
    {
        combo.addItems({QStringLiteral("Eins"), QStringLiteral("-"), QStringLiteral("Zwei"),
                        QStringLiteral("-Gruppe"), QStringLiteral("Drei||rechts")});
        combo.move(20, 20);
        combo.show();
        combo.setFocus();
        QApplication::processEvents();
    }

    void ClickRow(int row)
    {
        QAbstractItemView *v = combo.view();
        const QPoint at = v->visualRect(v->model()->index(row, 0)).center();
        QTest::mouseMove(v->viewport(), at);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
};

QImage RenderItem(const TMUVComboBox &combo, int index, bool highlighted, QSize size = QSize(200, 16))
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    combo.PaintItem(p, img.rect(), index, highlighted, false);
    return img;
}

} // namespace

TEST(MUVComboBox, CursorKeysPassOverTheBareSeparatorOnly)
{
    Combo c;
    c.combo.setCurrentIndex(0);
    QTest::keyClick(&c.combo, Qt::Key_Down);
    EXPECT_EQ(c.combo.currentIndex(), 2) << "the bare \"-\" is skipped";
    QTest::keyClick(&c.combo, Qt::Key_Down);
    EXPECT_EQ(c.combo.currentIndex(), 3) << "a titled separator can be chosen";
    QTest::keyClick(&c.combo, Qt::Key_Down);
    EXPECT_EQ(c.combo.currentIndex(), 4);
    QTest::keyClick(&c.combo, Qt::Key_Up);
    QTest::keyClick(&c.combo, Qt::Key_Up);
    QTest::keyClick(&c.combo, Qt::Key_Up);
    EXPECT_EQ(c.combo.currentIndex(), 0);
    QTest::keyClick(&c.combo, Qt::Key_End);
    EXPECT_EQ(c.combo.currentIndex(), 4);

    // A list that ends with the bare separator: Down stays on the last entry.
    c.combo.addItem(QStringLiteral("-"));
    c.combo.setCurrentIndex(4);
    QTest::keyClick(&c.combo, Qt::Key_Down);
    EXPECT_EQ(c.combo.currentIndex(), 4);
}

TEST(MUVComboBox, BareSeparatorClearsTheSelectionTitledOneStays)
{
    Combo c;
    c.combo.setCurrentIndex(2);
    c.combo.setCurrentIndex(1);
    EXPECT_EQ(c.combo.currentIndex(), -1) << "set by the program";

    c.combo.setCurrentIndex(0);
    c.combo.showPopup();
    ASSERT_TRUE(c.combo.view()->isVisible());
    c.ClickRow(1);
    EXPECT_FALSE(c.combo.view()->isVisible()) << "the list closes";
    EXPECT_EQ(c.combo.currentIndex(), -1) << "chosen with the mouse";

    c.combo.showPopup();
    c.ClickRow(3);
    EXPECT_EQ(c.combo.currentIndex(), 3);
    EXPECT_EQ(c.combo.currentText(), QStringLiteral("-Gruppe"));

    c.combo.showPopup();
    c.ClickRow(4);
    EXPECT_EQ(c.combo.currentIndex(), 4);

    // An entry renamed to "-" while selected loses the selection.
    c.combo.setItemText(4, QStringLiteral("-"));
    EXPECT_EQ(c.combo.currentIndex(), -1);
}

TEST(MUVComboBox, ListKeysAndHighlightReportsSkipTheBareSeparator)
{
    Combo c;
    std::vector<int> reported;
    QObject::connect(&c.combo, &TMUVComboBox::OnDrawHighlightedItem,
                     [&](QObject *, int index) { reported.push_back(index); });
    c.combo.setCurrentIndex(0);
    c.combo.showPopup();
    QAbstractItemView *v = c.combo.view();
    ASSERT_TRUE(v->isVisible());
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 0);
    QTest::keyClick(v, Qt::Key_Down);
    EXPECT_EQ(v->currentIndex().row(), 2);
    EXPECT_EQ(reported.back(), 2);
    QTest::keyClick(v, Qt::Key_Return);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(c.combo.currentIndex(), 2);
}

TEST(MUVComboBox, SeparatorRowsAreNeverHighlighted)
{
    Combo c;
    c.combo.SetColorHighLightBKG(RGBToTColor(255, 0, 0));
    const QColor base = QColor(c.combo.palette().color(QPalette::Base).rgb());
    // Compared as 8-bit values: the palette holds finer ones.
    const QColor line = QColor(canvas::ToQColor(TColor(0x80000010)).rgb());

    // A normal row takes the highlight, a separator does not.
    EXPECT_EQ(RenderItem(c.combo, 0, true).pixelColor(150, 2), QColor(255, 0, 0));
    for (int row : {1, 3}) {
        const QImage img = RenderItem(c.combo, row, true);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ASSERT_NE(img.pixelColor(x, y), QColor(255, 0, 0)) << row << " at " << x << "," << y;
        // The line through the middle, on the control colour.
        EXPECT_EQ(img.pixelColor(10, 8), line);
        EXPECT_EQ(img.pixelColor(10, 3), base);
    }
    // The title stands at the right over the line, which it interrupts.
    const QImage titled = RenderItem(c.combo, 3, false);
    const QFontMetrics fm(c.combo.font());
    const int titleLeft = 200 - 1 - 4 - fm.horizontalAdvance(QStringLiteral("Gruppe"));
    EXPECT_EQ(titled.pixelColor(titleLeft - 2, 8), base);
    EXPECT_EQ(titled.pixelColor(titleLeft - 8, 8), line);

    // Dotted separators alternate single pixels.
    c.combo.SetSeperatorLineStyle(Qt::DotLine);
    const QImage dots = RenderItem(c.combo, 1, false);
    EXPECT_EQ(dots.pixelColor(10, 8), line);
    EXPECT_EQ(dots.pixelColor(11, 8), base);
    EXPECT_EQ(dots.pixelColor(12, 8), line);
}

TEST(MUVComboBox, SplitRowPutsTheSecondPartAtTheRightEdge)
{
    Combo c;
    const QImage img = RenderItem(c.combo, 4, false);
    const QColor base = QColor(c.combo.palette().color(QPalette::Base).rgb());
    int rightmost = -1, leftmost = img.width();
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixelColor(x, y) != base) {
                rightmost = qMax(rightmost, x);
                leftmost = qMin(leftmost, x);
            }
        }
    }
    // "rechts" ends 4 pixels before the right edge (within the glyph's own
    // side bearing); "Drei" starts at the left.
    EXPECT_GE(rightmost, 200 - 1 - 4 - 2);
    EXPECT_LE(rightmost, 200 - 1 - 4);
    EXPECT_LE(leftmost, 6);
}

TEST(MUVComboBox, ClosedControlShowsNoChooseTextAndOpensItsMenuOnRightRelease)
{
    Combo c;
    c.combo.clearFocus();
    c.combo.setCurrentIndex(-1);
    c.combo.SetNoChooseText(QStringLiteral("Bitte wählen"));
    const QImage img = c.combo.grab().toImage();
    int grey = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < c.combo.EditRect().right(); ++x)
            grey += img.pixelColor(x, y) == QColor(0x80, 0x80, 0x80);
    EXPECT_GT(grey, 5);

    QMenu menu;
    menu.addAction(QStringLiteral("Ordner entfernen"));
    int shown = 0;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] { ++shown; });
    c.combo.SetPopUpMenu(&menu);
    QTest::mouseClick(&c.combo, Qt::RightButton, {}, QPoint(30, 10));
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(c.combo.view()->isVisible()) << "the list stays closed";
    menu.hide();
}

TEST(MUVComboBox, DroppedWidthHasAFloorAndWidensTheList)
{
    Combo c;
    c.combo.SetDroppedWidth(10);
    EXPECT_EQ(c.combo.DroppedWidth(), 32);
    c.combo.resize(100, 24);
    c.combo.SetDroppedWidth(300);
    c.combo.showPopup();
    EXPECT_GE(c.combo.view()->width(), 290);
    // The list drops below the control.
    EXPECT_GE(c.combo.view()->window()->geometry().top(), c.combo.mapToGlobal(QPoint(0, 24)).y());
    EXPECT_EQ(c.combo.view()->window()->geometry().left(), c.combo.mapToGlobal(QPoint(0, 0)).x());
    c.combo.hidePopup();
}

TEST(MUVComboBox, PathEntriesKeepTheLastFolderAndPicturesFollowTheirRule)
{
    TMUVComboBox combo;
    combo.SetItemsAsPath(true);
    combo.addItems({QStringLiteral("/home/anwender/Dokumente/Etiketten/Ordnerrücken"),
                    QStringLiteral("//server/freigabe/Etiketten")});
    QPixmap local(8, 8), network(8, 8);
    local.fill(Qt::green);
    network.fill(Qt::red);
    combo.SetImageList({local, network});
    EXPECT_EQ(combo.ItemImage(0).toImage().pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(combo.ItemImage(1).toImage().pixelColor(0, 0), QColor(Qt::red));

    // Without paths picture i belongs to entry i.
    combo.SetItemsAsPath(false);
    EXPECT_EQ(combo.ItemImage(0).toImage().pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(combo.ItemImage(1).toImage().pixelColor(0, 0), QColor(Qt::red));
    combo.addItem(QStringLiteral("ohne Bild"));
    EXPECT_TRUE(combo.ItemImage(2).isNull());

    // The picture stands 2 pixels from the left.
    const QImage img = RenderItem(combo, 1, false);
    EXPECT_EQ(img.pixelColor(2, 8), QColor(Qt::red));
    EXPECT_NE(img.pixelColor(1, 8), QColor(Qt::red));
}

// The font list: one entry per family (also where several foundries install
// one), and opened wide enough that the longest name is not cut.
TEST(MUVFontComboBox, OneEntryPerFamilyInAListWideEnoughForItsNames)
{
    const QStringList names = TMUVFontComboBox::AvailableFonts();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(QStringList(names).count(), QSet<QString>(names.begin(), names.end()).size());
    for (const QString &name : names)
        EXPECT_FALSE(name.contains(QStringLiteral(" ["))) << name.toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("Arial")));

    TMUVFontComboBox combo;
    combo.resize(200, 24);
    combo.show();
    combo.SetSelectedName(QStringLiteral("Arial"));
    EXPECT_EQ(combo.SelectedName(), QStringLiteral("Arial"));
    combo.showPopup();
    QApplication::processEvents();
    const QFontMetrics fm(combo.view()->font());
    int widest = 0;
    for (const QString &name : names)
        widest = std::max(widest, fm.horizontalAdvance(name));
    // Name and sample side by side.
    EXPECT_GE(combo.view()->viewport()->width(), 2 * widest);
    combo.hidePopup();
}
