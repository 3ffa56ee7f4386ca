// The special-character dialog: a left click chooses and closes, a right
// click selects and opens the font-size menu.
#include "dialogs/txtascii.h"

#include "controls/MUVASCIICtrl.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

QPoint CellCentre(TMUVASCIICtrl *t, int code)
{
    return t->CellOrigin(code) + QPoint(t->CellSize() / 2, t->CellSize() / 2);
}

void ChooseMenuItem(QMenu *menu, QAction *action)
{
    ASSERT_TRUE(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

} // namespace

TEST(TxtAsciiTest, LeftClickChoosesAndCloses)
{
    TForm_TXTASCII dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ASCII-Zeichen"));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.Zeichen(), 0);
    EXPECT_TRUE(dlg.MUVASCIICtrl1->MarkSpezialChars());
    QTest::mouseClick(dlg.MUVASCIICtrl1, Qt::LeftButton, {}, CellCentre(dlg.MUVASCIICtrl1, 0x80));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 1);
    EXPECT_EQ(dlg.Zeichen(), 0x80);
    // Showing again clears the choice.
    dlg.show();
    EXPECT_EQ(dlg.Zeichen(), 0);
}

TEST(TxtAsciiTest, RightClickOnlySelectsAndOffersTheFontSize)
{
    TForm_TXTASCII dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    TMUVASCIICtrl *table = dlg.MUVASCIICtrl1;
    EXPECT_EQ(table->AFont().pointSize(), 12);
    QTest::mouseClick(table, Qt::RightButton, {}, CellCentre(table, 'A'));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Zeichen(), 'A');
    EXPECT_EQ(table->Aselection(), 'A');

    const QSize before = dlg.size();
    ChooseMenuItem(dlg.PopupMenu1, dlg.PM_TXTASCII_Gr);
    EXPECT_EQ(table->AFont().pointSize(), 16);
    QTest::qWait(20);
    EXPECT_GT(dlg.size().width(), before.width()); // the window follows the table
    EXPECT_EQ(dlg.size(), table->size());

    for (int expected : {12, 8, 8}) {
        QTest::mouseClick(table, Qt::RightButton, {}, CellCentre(table, 'B'));
        ChooseMenuItem(dlg.PopupMenu1, dlg.PM_TXTASCII_Kl);
        EXPECT_EQ(table->AFont().pointSize(), expected);
    }
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Zeichen(), 'B');
}

TEST(TxtAsciiTest, CloseBoxChoosesNothing)
{
    TForm_TXTASCII dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.close();
    EXPECT_NE(dlg.result(), 1);
    EXPECT_EQ(dlg.Zeichen(), 0);
}
