#include "controls/MUVCheckBox.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace
{

// A dialog page with check boxes: three in group 1, one in group 2 and one
// on its own.
struct Page {
    QWidget page;
    TMUVCheckBox *a, *b, *c, *other, *single;
    int changes = 0;
    QObject *lastSender = nullptr;

    Page()
    {
        page.resize(300, 200);
        auto make = [&](const QString &caption, int group, int y) {
            auto *box = new TMUVCheckBox(&page);
            box->SetCaption(caption);
            box->SetGroupIndex(group);
            box->setGeometry(10, y, 120, 20);
            QObject::connect(box, &TMUVCheckBox::OnChange, [this](QObject *sender) {
                ++changes;
                lastSender = sender;
            });
            return box;
        };
        a = make(QStringLiteral("Hochformat"), 1, 10);
        b = make(QStringLiteral("Querformat"), 1, 35);
        c = make(QStringLiteral("Automatisch"), 1, 60);
        other = make(QStringLiteral("Mit Rand"), 2, 85);
        single = make(QStringLiteral("Schnittlinien"), 0, 110);
        page.show();
        QApplication::processEvents();
    }
};

QColor PixelAt(QWidget *w, QPoint p)
{
    return w->grab().toImage().pixelColor(p);
}

} // namespace

TEST(MUVCheckBox, GroupBehavesAsRadioButtonsAndAlwaysReportsTheClick)
{
    Page p;
    p.b->SetChecked(true);
    p.other->SetChecked(true);
    ASSERT_EQ(p.changes, 0) << "setting the state is no click";

    QTest::mouseClick(p.a, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_TRUE(p.a->Checked());
    EXPECT_FALSE(p.b->Checked());
    EXPECT_FALSE(p.c->Checked());
    EXPECT_TRUE(p.other->Checked()) << "another group is left alone";
    EXPECT_EQ(p.changes, 1);
    EXPECT_EQ(p.lastSender, p.a);

    // Clicked again it stays checked, and still reports the click.
    QTest::mouseClick(p.a, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_TRUE(p.a->Checked());
    EXPECT_EQ(p.changes, 2);

    // Space on the focused box of a group works like the click.
    p.c->setFocus();
    QTest::keyClick(p.c, Qt::Key_Space);
    EXPECT_TRUE(p.c->Checked());
    EXPECT_FALSE(p.a->Checked());
    EXPECT_EQ(p.changes, 3);
    EXPECT_EQ(p.lastSender, p.c);

    // Clicking the caption at the far right end counts: the whole control reacts.
    QTest::mouseClick(p.b, Qt::LeftButton, {}, QPoint(118, 18));
    EXPECT_TRUE(p.b->Checked());
    EXPECT_FALSE(p.c->Checked());
}

TEST(MUVCheckBox, BoxOnItsOwnTogglesByMouseAndSpace)
{
    Page p;
    QTest::mouseClick(p.single, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_TRUE(p.single->Checked());
    QTest::mouseClick(p.single, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_FALSE(p.single->Checked());
    p.single->setFocus();
    QTest::keyClick(p.single, Qt::Key_Space);
    EXPECT_TRUE(p.single->Checked());
    EXPECT_EQ(p.changes, 3);
    EXPECT_TRUE(p.a->focusPolicy() & Qt::TabFocus) << "reached with Tab";

    // Released outside the control: no click.
    QTest::mousePress(p.single, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::mouseRelease(p.single, Qt::LeftButton, {}, QPoint(40, 60));
    EXPECT_TRUE(p.single->Checked());
    EXPECT_EQ(p.changes, 3);

    // A disabled box does not react.
    p.single->setEnabled(false);
    QTest::mouseClick(p.single, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_TRUE(p.single->Checked());
    EXPECT_EQ(p.changes, 3);
}

TEST(MUVCheckBox, BoxAndCaptionStandWhereTheGapPutsThem)
{
    TMUVCheckBox box;
    box.resize(120, 21);
    box.SetCaption(QStringLiteral("Kopien"));
    const QRect r = box.BoxRect();
    EXPECT_EQ(r.size(), QSize(13, 13));
    const int g = (21 - 13) / 2;
    EXPECT_EQ(r.topLeft(), QPoint(g, g));
    EXPECT_EQ(box.CaptionPos().x(), 13 + 2 * g);

    box.SetRightHand(true);
    EXPECT_EQ(box.BoxRect().topLeft(), QPoint(120 - g - 13, g));
    const QFontMetrics fm(box.font());
    EXPECT_EQ(box.CaptionPos().x() + fm.horizontalAdvance(QStringLiteral("Kopien")), 120 - g - 13 - g)
        << "right-aligned one gap before the box";
}

TEST(MUVCheckBox, PicturesFollowStateStyleAndEnabled)
{
    TMUVCheckBox box;
    box.resize(100, 20);
    box.show();
    const QRect r = box.BoxRect();
    // The middle of the hook's corner (and of the dot).
    const QPoint hook = r.topLeft() + QPoint(5, 8);
    const QPoint centre = r.topLeft() + QPoint(6, 6);

    EXPECT_EQ(PixelAt(&box, hook), QColor(Qt::white)) << "empty box";
    box.SetChecked(true);
    EXPECT_EQ(PixelAt(&box, hook), QColor(0x1c, 0x5f, 0xb8)) << "blue hook";
    box.setEnabled(false);
    EXPECT_EQ(PixelAt(&box, hook), QColor(0x9a, 0x9a, 0x9a)) << "grey hook when disabled";
    box.SetChecked(false);
    EXPECT_EQ(PixelAt(&box, hook), QColor(Qt::white)) << "disabled and empty: the empty box";

    box.setEnabled(true);
    box.SetStyle(cs_Dot);
    box.SetChecked(true);
    EXPECT_EQ(PixelAt(&box, centre), QColor(0x1c, 0x5f, 0xb8)) << "blue dot";
    // The dot style is round: its corners show what lies behind.
    box.SetBackgroundOpak(true);
    box.SetBackgroundColor(RGBToTColor(255, 0, 255));
    EXPECT_EQ(PixelAt(&box, r.topLeft()), QColor(255, 0, 255));
}

TEST(MUVCheckBox, CaptionTakesHookColourWhileTheButtonIsHeld)
{
    TMUVCheckBox box;
    box.resize(140, 20);
    box.SetCaption(QStringLiteral("WWWWWW"));
    box.SetHookColor(RGBToTColor(255, 0, 0));
    box.show();
    QApplication::processEvents();
    auto countRed = [&] {
        const QImage img = box.grab().toImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = box.CaptionPos().x(); x < img.width(); ++x)
                n += img.pixelColor(x, y) == QColor(255, 0, 0);
        return n;
    };
    EXPECT_EQ(countRed(), 0);
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_GT(countRed(), 10);
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(countRed(), 0);
}
