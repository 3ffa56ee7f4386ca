// The spin field, driven through real key and mouse events on an offscreen
// window with a German locale.
#include "controls/SpezialSpin.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace
{

bool WaitFor(const std::function<bool()> &done, int timeoutMs = 5000)
{
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (done())
            return true;
        QTest::qWait(10);
    }
    return done();
}

class SpinTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        host_ = std::make_unique<QWidget>();
        host_->resize(300, 100);
        spin_ = new TSpezialSpin(host_.get());
        spin_->move(10, 10);
        host_->show();
        host_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host_.get()));
        spin_->setFocus();
    }

    QLineEdit *Edit() const { return spin_->Editor(); }

    // Types into the edit field key by key, as a user does.
    void Type(const QString &text)
    {
        Edit()->selectAll();
        QTest::keyClicks(Edit(), text);
    }

    // A key; an arrow key's step comes after its pause, which this waits for.
    void Key(Qt::Key key)
    {
        QTest::keyClick(Edit(), key);
        EXPECT_TRUE(WaitFor([this] { return !spin_->StepPending(); }));
    }

    std::unique_ptr<QWidget> host_;
    TSpezialSpin *spin_ = nullptr;
};

} // namespace

TEST_F(SpinTest, DefaultsAndClamps)
{
    EXPECT_EQ(spin_->NachkommaStellen(), 0);
    EXPECT_EQ(spin_->ChangeDelay(), 1500);
    EXPECT_EQ(spin_->MaxValue(), 0);
    EXPECT_EQ(spin_->MinValue(), 0);
    EXPECT_EQ(spin_->BorderWidth(), 2);
    EXPECT_EQ(spin_->BorderColWidth1(), QColor(0, 0, 255));
    EXPECT_EQ(spin_->ArrowSize(), 8);
    EXPECT_EQ(spin_->TextSpacing(), 4);
    EXPECT_TRUE(spin_->TausenderZeichen());
    EXPECT_TRUE(spin_->EditorEnabled());
    EXPECT_FALSE(spin_->TextCenter());
    EXPECT_TRUE(spin_->ParentColor());
    EXPECT_EQ(spin_->Color(), QColor(Qt::black));
    EXPECT_EQ(spin_->size(), QSize(120, 20));
    EXPECT_EQ(spin_->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("0"));

    spin_->SetNachkommaStellen(12);
    EXPECT_EQ(spin_->NachkommaStellen(), 8);
    spin_->SetNachkommaStellen(-3);
    EXPECT_EQ(spin_->NachkommaStellen(), 0);
    spin_->SetChangeDelay(0);
    EXPECT_EQ(spin_->ChangeDelay(), 400);
    spin_->SetChangeDelay(-20);
    EXPECT_EQ(spin_->ChangeDelay(), 400);
    spin_->SetChangeDelay(700);
    EXPECT_EQ(spin_->ChangeDelay(), 700);
    spin_->SetBorderWidth(7);
    EXPECT_EQ(spin_->BorderWidth(), 2);
    spin_->SetBorderWidth(-1);
    EXPECT_EQ(spin_->BorderWidth(), 0);
    spin_->SetArrowSize(2);
    EXPECT_EQ(spin_->ArrowSize(), 6);
    spin_->SetArrowSize(200);
    EXPECT_EQ(spin_->ArrowSize(), 72);
}

TEST_F(SpinTest, ShowsValuesWithLocaleSeparatorsAndLimits)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetValueReal(100000);
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("100.000"));
    spin_->SetTausenderZeichen(false);
    EXPECT_EQ(Edit()->text(), QStringLiteral("100000"));
    spin_->SetTausenderZeichen(true);

    spin_->SetNachkommaStellen(2);
    spin_->SetValueReal(1234.5);
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("1.234,50"));

    // The text rounds, Value truncates.
    spin_->SetNachkommaStellen(0);
    spin_->SetValueReal(4.7);
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("5"));
    EXPECT_EQ(spin_->Value(), 4);
    EXPECT_NEAR(spin_->ValuePrec(), 0.7, 1e-12);
    spin_->SetMinValue(-10);
    spin_->SetValueReal(-4.7);
    EXPECT_EQ(spin_->Value(), -4);
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("-5"));
    spin_->SetNachkommaStellen(1);
    spin_->SetValueReal(-0.01);
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("0,0")) << "no negative zero";

    // MaxValue 0 means no upper limit; the lower limit always applies.
    spin_->SetMinValue(0);
    EXPECT_EQ(spin_->ValueReal(), 0);
    spin_->SetValueReal(5e6);
    EXPECT_EQ(spin_->ValueReal(), 5e6);
    spin_->SetMaxValue(360);
    EXPECT_EQ(spin_->ValueReal(), 360);
    spin_->SetMinValue(1);
    spin_->SetValue(0);
    EXPECT_EQ(spin_->ValueReal(), 1);
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("1,0"));

    // Values beyond the int range keep Value at its end instead of wrapping.
    spin_->SetMaxValue(0);
    spin_->SetValueReal(1e12);
    EXPECT_EQ(spin_->Value(), INT_MAX);

    EXPECT_EQ(changes.count(), 0) << "writing a value never reports a change";
}

TEST_F(SpinTest, TypedTextAppliesAfterTheDelay)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetMinValue(1);
    spin_->SetChangeDelay(300);
    Type(QStringLiteral("0"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("0")) << "typed text is left alone until the change applies";
    EXPECT_EQ(changes.count(), 0);
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(Edit()->text(), QStringLiteral("1"));
    EXPECT_TRUE(Edit()->hasSelectedText()) << "the applied text is selected for overtyping";

    // Thousands separators of the locale are dropped, 100000 is accepted.
    Type(QStringLiteral("100000"));
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(Edit()->text(), QStringLiteral("100.000"));
    EXPECT_EQ(spin_->Value(), 100000);
    Type(QStringLiteral("1.234.567"));
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(spin_->Value(), 1234567);

    // Leaving the field with Tab right after typing keeps the change.
    auto *next = new QLineEdit(host_.get());
    next->show();
    Type(QStringLiteral("42"));
    QTest::keyClick(Edit(), Qt::Key_Tab);
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(spin_->Value(), 42);
}

TEST_F(SpinTest, ChangeDelayOfZeroStillFires)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetChangeDelay(0);
    Type(QStringLiteral("42"));
    EXPECT_EQ(changes.count(), 0);
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(spin_->Value(), 42);
}

TEST_F(SpinTest, OnlyEditsInTheFieldStartTheDelay)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetChangeDelay(100);
    // The Tab that moved the focus here is released in the field.
    QTest::keyRelease(Edit(), Qt::Key_Tab);
    QTest::qWait(500);
    EXPECT_EQ(changes.count(), 0);

    // Pasting without a key waits for the delay like typing.
    Edit()->selectAll();
    Edit()->insert(QStringLiteral("250"));
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(spin_->Value(), 250);
}

TEST_F(SpinTest, ReadingTheValueCancelsThePendingChange)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetChangeDelay(200);
    Type(QStringLiteral("7000"));
    EXPECT_EQ(spin_->ValueReal(), 7000);
    EXPECT_EQ(Edit()->text(), QStringLiteral("7.000")) << "a read normalises the text";
    QTest::qWait(800);
    EXPECT_EQ(changes.count(), 0);

    // So does writing, and so does the next key press (typing restarts it).
    Type(QStringLiteral("8"));
    spin_->SetValueReal(9);
    QTest::qWait(800);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(spin_->Value(), 9);
}

TEST_F(SpinTest, EnterAppliesAtOnce)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetNachkommaStellen(1);
    Type(QStringLiteral("12,34"));
    Key(Qt::Key_Return);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(Edit()->text(), QStringLiteral("12,3"));
    EXPECT_DOUBLE_EQ(spin_->ValueReal(), 12.34);
    EXPECT_EQ(Edit()->selectedText(), Edit()->text());

    // Letters and a lone minus read as 0, which the lower limit lifts.
    spin_->SetMinValue(0.5);
    Type(QStringLiteral("abc"));
    Key(Qt::Key_Enter);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(spin_->ValueText(), QStringLiteral("0,5"));
    spin_->SetMinValue(-5);
    Type(QStringLiteral("-"));
    Key(Qt::Key_Return);
    EXPECT_EQ(spin_->ValueReal(), 0);
    Type(QStringLiteral(" -2,5 "));
    Key(Qt::Key_Return);
    EXPECT_EQ(spin_->ValueReal(), -2.5);

    QTest::qWait(spin_->ChangeDelay() + 300);
    EXPECT_EQ(changes.count(), 4) << "Enter leaves no change pending";
}

TEST_F(SpinTest, EnterDoesNotReachTheDialogsDefaultButton)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    bool parentSawEnter = false;
    struct Watcher : QObject {
        bool *seen;
        explicit Watcher(bool *s) : seen(s) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress)
                *seen = true;
            return false;
        }
    } watcher(&parentSawEnter);
    spin_->installEventFilter(&watcher);
    host_->installEventFilter(&watcher);
    Type(QStringLiteral("3"));
    parentSawEnter = false;
    Key(Qt::Key_Return);
    EXPECT_FALSE(parentSawEnter);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(SpinTest, CursorKeysStepOneAtATime)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetNachkommaStellen(2);
    spin_->SetValueReal(1);
    Key(Qt::Key_Up);
    EXPECT_EQ(Edit()->text(), QStringLiteral("1,01"));
    EXPECT_EQ(changes.count(), 1);
    Key(Qt::Key_Up);
    EXPECT_EQ(Edit()->text(), QStringLiteral("1,02")) << "each key starts the acceleration afresh";
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Edit()->text(), QStringLiteral("1,03"));
    Key(Qt::Key_PageDown);
    Key(Qt::Key_Down);
    EXPECT_EQ(Edit()->text(), QStringLiteral("1,01"));
    EXPECT_EQ(changes.count(), 5);

    // A typed text is the starting point of the step.
    Type(QStringLiteral("5"));
    Key(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(spin_->ValueReal(), 5.01);

    spin_->SetNachkommaStellen(0);
    spin_->SetMaxValue(360);
    spin_->SetValueReal(359);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(spin_->ValueReal(), 360);
    spin_->SetValueReal(0);
    Key(Qt::Key_Down);
    EXPECT_EQ(spin_->ValueReal(), 0);
}

TEST_F(SpinTest, ReadOnlyEditorStillSteps)
{
    spin_->SetEditorEnabled(false);
    EXPECT_TRUE(Edit()->isReadOnly());
    spin_->SetValue(3);
    QTest::keyClicks(Edit(), QStringLiteral("9"));
    Key(Qt::Key_Up);
    EXPECT_EQ(spin_->Value(), 4);
    EXPECT_EQ(Edit()->text(), QStringLiteral("4"));
}

TEST_F(SpinTest, ArrowClickStepsOnceAndReportsOnRelease)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    const QPoint up = spin_->UpArrowRect().center();
    const QPoint down = spin_->DownArrowRect().center();
    spin_->SetValue(10);

    QTest::mousePress(spin_, Qt::LeftButton, {}, up);
    ASSERT_TRUE(WaitFor([this] { return !spin_->StepPending(); })); // the step's pause
    EXPECT_EQ(spin_->Value(), 11);
    EXPECT_EQ(changes.count(), 0) << "nothing is reported while the button is held";
    QTest::mouseRelease(spin_, Qt::LeftButton, {}, up);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(Edit()->hasFocus());

    QTest::mouseClick(spin_, Qt::LeftButton, {}, down);
    QTest::mouseClick(spin_, Qt::LeftButton, {}, down);
    EXPECT_EQ(spin_->Value(), 9) << "the release resets the acceleration";
    EXPECT_EQ(changes.count(), 3);

    // A click beside the arrows reports too, and cancels a pending typed change.
    spin_->SetChangeDelay(200);
    Type(QStringLiteral("25"));
    QTest::mouseClick(spin_, Qt::LeftButton, {}, spin_->InnerRect().center());
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(spin_->Value(), 25);
    EXPECT_EQ(Edit()->cursorPosition(), 0);
    QTest::qWait(700);
    EXPECT_EQ(changes.count(), 4);
}

// The pause before a step waits on a timer: the window goes on handling its
// events meanwhile, and the step follows.
TEST_F(SpinTest, StepPauseKeepsTheWindowResponsive)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetValue(10);
    const QPoint up = spin_->UpArrowRect().center();
    QTest::mousePress(spin_, Qt::LeftButton, {}, up);
    EXPECT_TRUE(spin_->StepPending());
    EXPECT_EQ(Edit()->text(), QStringLiteral("10"));
    bool handled = false;
    QTimer::singleShot(0, spin_, [&] { handled = handled || spin_->StepPending(); });
    ASSERT_TRUE(WaitFor([this] { return !spin_->StepPending(); }));
    EXPECT_TRUE(handled) << "events are handled during the pause";
    EXPECT_EQ(spin_->Value(), 11);
    QTest::mouseRelease(spin_, Qt::LeftButton, {}, up);
    EXPECT_EQ(changes.count(), 1);

    // A key's step too; it is reported once it is done.
    QTest::keyClick(Edit(), Qt::Key_Down);
    EXPECT_TRUE(spin_->StepPending());
    EXPECT_EQ(changes.count(), 1);
    ASSERT_TRUE(WaitFor([&] { return changes.count() == 2; }));
    EXPECT_EQ(spin_->Value(), 10);

    // Setting a value drops a step still waiting.
    QTest::keyClick(Edit(), Qt::Key_Up);
    spin_->SetValue(50);
    EXPECT_FALSE(spin_->StepPending());
    QTest::qWait(300);
    EXPECT_EQ(spin_->Value(), 50);
}

TEST_F(SpinTest, HeldArrowAccelerates)
{
    QSignalSpy changes(spin_, &TSpezialSpin::OnDelayedChange);
    spin_->SetNachkommaStellen(2);
    spin_->SetValueReal(1);
    QStringList shown;
    QObject::connect(Edit(), &QLineEdit::textChanged, [&shown](const QString &t) { shown << t; });

    const QPoint up = spin_->UpArrowRect().center();
    QTest::mousePress(spin_, Qt::LeftButton, {}, up);
    ASSERT_TRUE(WaitFor([&] { return shown.size() >= 4; }));
    QTest::mouseRelease(spin_, Qt::LeftButton, {}, up);
    ASSERT_GE(shown.size(), 4);
    EXPECT_EQ(shown.mid(0, 4), QStringList({"1,01", "1,03", "1,06", "1,10"}));
    EXPECT_EQ(changes.count(), 1);

    // The release ends the repetition; the next click is a single step again.
    const double released = spin_->ValueReal();
    QTest::qWait(600);
    EXPECT_EQ(spin_->ValueReal(), released);
    const QPoint down = spin_->DownArrowRect().center();
    QTest::mouseClick(spin_, Qt::LeftButton, {}, down);
    EXPECT_NEAR(spin_->ValueReal(), released - 0.01, 1e-9);
    EXPECT_EQ(changes.count(), 2);

    // Held against the upper limit the value stays there.
    spin_->SetMaxValue(1.3);
    QTest::mousePress(spin_, Qt::LeftButton, {}, up);
    ASSERT_TRUE(WaitFor([&] { return Edit()->text() == QStringLiteral("1,30"); }));
    QTest::qWait(600);
    QTest::mouseRelease(spin_, Qt::LeftButton, {}, up);
    EXPECT_EQ(spin_->ValueReal(), 1.3);
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(SpinTest, LayoutFollowsTextsBorderAndFont)
{
    // 120 x 20, border 2, no captions: the box spans 4..116, arrows 16 wide.
    EXPECT_EQ(spin_->BoxRect(), QRect(4, 0, 112, 20));
    EXPECT_EQ(spin_->UpArrowRect(), QRect(97, 2, 16, 8));
    EXPECT_EQ(spin_->DownArrowRect(), QRect(97, 10, 16, 8));
    EXPECT_EQ(spin_->InnerRect(), QRect(6, 2, 90, 16));
    EXPECT_EQ(Edit()->geometry(), QRect(8, 2, 84, 16));

    spin_->SetBorderWidth(0);
    EXPECT_EQ(spin_->UpArrowRect(), QRect(99, 0, 16, 10));
    EXPECT_EQ(spin_->DownArrowRect(), QRect(99, 10, 16, 10));
    EXPECT_EQ(Edit()->geometry(), QRect(6, 2, 88, 16));
    spin_->SetBorderWidth(1);
    EXPECT_EQ(spin_->UpArrowRect(), QRect(98, 1, 16, 9));

    spin_->SetMarginTop(3);
    EXPECT_EQ(Edit()->geometry().top(), 5);

    const QFontMetrics fm(spin_->font());
    spin_->resize(220, 24);
    spin_->SetTextBefore(QStringLiteral("Seitenbreite"));
    spin_->SetTextAfter(QStringLiteral("mm"));
    spin_->SetTextSpacing(6);
    const int left = fm.horizontalAdvance(QStringLiteral("Seitenbreite")) + 6;
    const int right = 220 - 6 - fm.horizontalAdvance(QStringLiteral("mm"));
    EXPECT_EQ(spin_->BoxRect(), QRect(left, 0, right - left, 24));
    EXPECT_EQ(spin_->UpArrowRect().right(), right - 2 - 1);
    EXPECT_EQ(Edit()->geometry().left(), left + 1 + 2);

    // A bigger font widens the arrow column and heightens the edit field.
    QFont big = spin_->font();
    big.setPixelSize(22);
    spin_->setFont(big);
    EXPECT_EQ(spin_->UpArrowRect().width(), 22);
    EXPECT_EQ(Edit()->height(), 22);
    EXPECT_EQ(Edit()->font().pixelSize(), 22);
    EXPECT_EQ(spin_->BoxRect().left(),
              QFontMetrics(big).horizontalAdvance(QStringLiteral("Seitenbreite")) + 6);

    spin_->SetTextCenter(true);
    EXPECT_TRUE(Edit()->alignment() & Qt::AlignHCenter);
}

namespace
{
// Text is antialiased: a colour counts when a pixel comes close to it.
bool AnyPixel(const QImage &img, const QRect &r, const QColor &c, int tolerance = 24)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (qAbs(p.red() - c.red()) <= tolerance && qAbs(p.green() - c.green()) <= tolerance &&
                qAbs(p.blue() - c.blue()) <= tolerance)
                return true;
        }
    }
    return false;
}
} // namespace

TEST_F(SpinTest, PaintsFrameArrowsAndCaptions)
{
    spin_->resize(200, 22);
    spin_->SetTextBefore(QStringLiteral("Breite"));
    spin_->SetTextAfter(QStringLiteral("mm"));
    spin_->SetBorderWidth(1);
    spin_->SetArrowColor(QColor(200, 0, 0));
    const QPalette pal = spin_->palette();
    QImage img = spin_->grab().toImage();
    const QRect box = spin_->BoxRect();
    EXPECT_EQ(img.pixelColor(box.left(), 5), QColor(0, 0, 255)) << "flat frame in BorderColWidth1";
    EXPECT_EQ(img.pixelColor(spin_->InnerRect().left() + 1, spin_->InnerRect().bottom()), QColor(Qt::white));
    EXPECT_TRUE(AnyPixel(img, spin_->UpArrowRect(), QColor(200, 0, 0)));
    EXPECT_TRUE(AnyPixel(img, spin_->DownArrowRect(), QColor(200, 0, 0)));
    EXPECT_TRUE(AnyPixel(img, QRect(0, 0, box.left(), 22), pal.color(QPalette::ButtonText)));
    EXPECT_TRUE(
        AnyPixel(img, QRect(box.right() + 1, 0, 200 - box.right() - 1, 22), pal.color(QPalette::ButtonText)));
    EXPECT_NE(img.pixelColor(0, 0), QColor(Qt::black)) << "the parent's colour shows through by default";

    // A held arrow is drawn pressed: glyph in the highlight colour.
    const QPoint up = spin_->UpArrowRect().center();
    QTest::mousePress(spin_, Qt::LeftButton, {}, up);
    img = spin_->grab().toImage();
    QTest::mouseRelease(spin_, Qt::LeftButton, {}, up);
    EXPECT_TRUE(AnyPixel(img, spin_->UpArrowRect(), pal.color(QPalette::Highlight)));
    EXPECT_FALSE(AnyPixel(img, spin_->UpArrowRect(), QColor(200, 0, 0)));

    // Disabled: grey frame, embossed captions, no arrow colour.
    spin_->setEnabled(false);
    EXPECT_FALSE(Edit()->isEnabled());
    img = spin_->grab().toImage();
    EXPECT_EQ(img.pixelColor(box.left(), 5).rgb(), pal.color(QPalette::Dark).rgb());
    EXPECT_FALSE(AnyPixel(img, spin_->UpArrowRect(), QColor(200, 0, 0)));
    EXPECT_FALSE(AnyPixel(img, QRect(0, 0, 200, 22), QColor(0, 0, 255), 0));
    const QRect caption(0, 0, box.left(), 22);
    EXPECT_TRUE(AnyPixel(img, caption, pal.color(QPalette::Light), 8));
    EXPECT_TRUE(AnyPixel(img, caption, pal.color(QPalette::Dark), 8));
    EXPECT_FALSE(AnyPixel(img, caption, pal.color(QPalette::ButtonText)));
    spin_->setEnabled(true);

    // An own colour fills the control behind the box.
    spin_->SetColor(QColor(10, 200, 10));
    EXPECT_FALSE(spin_->ParentColor());
    img = spin_->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 21), QColor(10, 200, 10));
}

TEST_F(SpinTest, FocusGoesToTheEditField)
{
    QSignalSpy enter(spin_, &TSpezialSpin::OnEnter);
    QSignalSpy exit(spin_, &TSpezialSpin::OnExit);
    auto *other = new QLineEdit(host_.get());
    other->move(10, 50);
    other->show();
    other->setFocus();
    EXPECT_EQ(exit.count(), 1);
    spin_->setFocus();
    EXPECT_TRUE(Edit()->hasFocus());
    EXPECT_EQ(enter.count(), 1);
}
