// The character table: cell layout, the codes a click reports (with the
// Windows-1252 characters of 0x80 to 0x9F), the status row and its texts.
#include "controls/MUVASCIICtrl.h"

#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace
{

class AsciiTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        table_ = std::make_unique<TMUVASCIICtrl>();
        table_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(table_.get()));
    }

    QPoint CellCentre(int code) const
    {
        const int s = table_->CellSize();
        return table_->CellOrigin(code) + QPoint(s / 2, s / 2);
    }

    // Clicks a cell and returns the reported code and button.
    std::pair<int, Qt::MouseButton> Click(int code, Qt::MouseButton button = Qt::LeftButton)
    {
        QSignalSpy spy(table_.get(), &TMUVASCIICtrl::OnSelectChar);
        QTest::mouseClick(table_.get(), button, {}, CellCentre(code));
        if (spy.size() != 1)
            return {-1, Qt::NoButton};
        return {int(spy[0][1].value<unsigned char>()), spy[0][2].value<Qt::MouseButton>()};
    }

    std::unique_ptr<TMUVASCIICtrl> table_;
};

} // namespace

TEST_F(AsciiTest, SizeFollowsTheFont)
{
    EXPECT_EQ(table_->size(), QSize(256, 272));
    EXPECT_EQ(table_->CellSize(), 16);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(20);
    table_->SetAFont(f);
    const int h = QFontMetrics(f).height();
    EXPECT_EQ(table_->CellSize(), h + 2);
    EXPECT_EQ(table_->size(), QSize(16 * h + 33, 17 * (h + 2)));
}

TEST_F(AsciiTest, ClickReportsTheCodeOfEveryCell)
{
    for (int code : {0, 10, 32, 65, 97, 126, 127, 128, 159, 160, 196, 223, 255}) {
        const auto [got, button] = Click(code);
        EXPECT_EQ(got, code);
        EXPECT_EQ(button, Qt::LeftButton);
    }
    const auto [got, button] = Click(0x41, Qt::RightButton);
    EXPECT_EQ(got, 0x41);
    EXPECT_EQ(button, Qt::RightButton);
}

TEST_F(AsciiTest, StatusRowChoosesNothing)
{
    QSignalSpy spy(table_.get(), &TMUVASCIICtrl::OnSelectChar);
    QTest::mouseClick(table_.get(), Qt::LeftButton, {}, QPoint(40, 16 * table_->CellSize() + 5));
    EXPECT_EQ(spy.size(), 0);
}

TEST_F(AsciiTest, CharactersOfTheCodePage)
{
    EXPECT_EQ(TMUVASCIICtrl::CharacterText(0x41), QStringLiteral("A"));
    EXPECT_EQ(TMUVASCIICtrl::CharacterText(0x80), QString(QChar(0x20AC))); // euro
    EXPECT_EQ(TMUVASCIICtrl::CharacterText(0x84), QString(QChar(0x201E)));
    EXPECT_EQ(TMUVASCIICtrl::CharacterText(0x9F), QString(QChar(0x0178)));
    EXPECT_EQ(TMUVASCIICtrl::CharacterText(0xE4), QStringLiteral("ä"));
    // Codes the code page leaves undefined show nothing.
    for (int code : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_TRUE(TMUVASCIICtrl::CharacterText(code).isEmpty()) << code;
    EXPECT_TRUE(TMUVASCIICtrl::CharacterText(10).isEmpty());
    EXPECT_TRUE(TMUVASCIICtrl::CharacterText(127).isEmpty());
}

TEST_F(AsciiTest, StatusTexts)
{
    EXPECT_EQ(TMUVASCIICtrl::StatusText(10), QStringLiteral("Code : 010 ($0a), Line Feed"));
    EXPECT_EQ(TMUVASCIICtrl::StatusText(0), QStringLiteral("Code : 00 ($00), Nullzeichen"));
    EXPECT_EQ(TMUVASCIICtrl::StatusText(27), QStringLiteral("Code : 027 ($1b), Escape"));
    EXPECT_EQ(TMUVASCIICtrl::StatusText(31), QStringLiteral("Code : 031 ($1f), Unit Separator"));
    EXPECT_EQ(TMUVASCIICtrl::StatusText(127), QStringLiteral("Code : 0127 ($7f), Delete"));
    EXPECT_EQ(TMUVASCIICtrl::StatusText(65), QStringLiteral("\" A \" - Code : 065 ($41)"));
    EXPECT_EQ(TMUVASCIICtrl::StatusText(128), QStringLiteral("\" \u20AC \" - Code : 0128 ($80)"));
    EXPECT_EQ(TMUVASCIICtrl::StatusText(255), QStringLiteral("\" \u00FF \" - Code : 0255 ($ff)"));
    EXPECT_TRUE(TMUVASCIICtrl::StatusText(256).isEmpty());
    EXPECT_EQ(TMUVASCIICtrl::ControlAbbreviation(13), QStringLiteral("CR"));
    EXPECT_EQ(TMUVASCIICtrl::ControlAbbreviation(127), QStringLiteral("DEL"));
    EXPECT_EQ(TMUVASCIICtrl::ControlName(23), QStringLiteral("End of Transmission Block"));
}

TEST_F(AsciiTest, MouseMoveShowsStatusOfTheCellAndLeavingClearsIt)
{
    QTest::mouseMove(table_.get(), CellCentre(0x41));
    EXPECT_EQ(table_->StatusCode(), 0x41);
    QTest::mouseMove(table_.get(), CellCentre(0xE9));
    EXPECT_EQ(table_->StatusCode(), 0xE9);
    // The status row is painted in the highlight colour.
    const QImage shot = table_->grab().toImage();
    const QPoint inRow(table_->width() - 4, 16 * table_->CellSize() + table_->CellSize() / 2);
    EXPECT_EQ(shot.pixelColor(inRow), table_->palette().color(QPalette::Highlight));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(table_.get(), &leave);
    EXPECT_EQ(table_->StatusCode(), -1);
    const QImage cleared = table_->grab().toImage();
    EXPECT_EQ(cleared.pixelColor(inRow), table_->ABrush());
}

TEST_F(AsciiTest, SelectionIsHighlightedAndClamped)
{
    table_->SetAselection(0x41);
    const QImage shot = table_->grab().toImage();
    EXPECT_EQ(shot.pixelColor(table_->CellOrigin(0x41) + QPoint(2, 2)),
              table_->palette().color(QPalette::Highlight));
    EXPECT_EQ(shot.pixelColor(table_->CellOrigin(0x42) + QPoint(2, 2)), table_->ABrush());
    table_->SetAselection(300);
    EXPECT_EQ(table_->Aselection(), -1);
}

TEST_F(AsciiTest, MarkedSpecialCellsGetAFrame)
{
    const QColor highlight = table_->palette().color(QPalette::Highlight);
    auto framed = [&](int code) {
        const QImage shot = table_->grab().toImage();
        // The extra frame runs three pixels inside the cell.
        return shot.pixelColor(table_->CellOrigin(code) + QPoint(3, table_->CellSize() / 2)) == highlight;
    };
    EXPECT_FALSE(framed(10));
    table_->SetMarkSpezialChars(true);
    for (int code : {10, 13, 27, 128})
        EXPECT_TRUE(framed(code)) << code;
    EXPECT_FALSE(framed(11));
}

TEST_F(AsciiTest, RightReleaseOpensTheAssignedMenu)
{
    QMenu menu;
    menu.addAction(QStringLiteral("x"));
    table_->SetPopupMenu(&menu);
    Click(0x20, Qt::LeftButton);
    EXPECT_FALSE(menu.isVisible());
    Click(0x20, Qt::RightButton);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}
