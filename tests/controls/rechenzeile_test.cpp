// The calculation line: Enter, history and messages, driven by key events;
// and the calc subcommand of the command-line tool.
#include "controls/MUVRechenzeile.h"
#include "testsupport.h"

#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace
{

class LineTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        dialog_ = std::make_unique<QDialog>();
        line_ = new TMUVRechenzeile(dialog_.get());
        line_->resize(250, 24);
        ok_ = new QPushButton(QStringLiteral("OK"), dialog_.get());
        ok_->move(0, 40);
        ok_->setDefault(true);
        QObject::connect(ok_, &QPushButton::clicked, dialog_.get(), &QDialog::accept);
        dialog_->show();
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
        line_->setFocus();
    }

    void Enter(const QString &text, Qt::Key key = Qt::Key_Return)
    {
        line_->lineEdit()->clear();
        QTest::keyClicks(line_, text);
        QTest::keyClick(line_, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }

    QStringList History() const
    {
        QStringList items;
        for (int i = 0; i < line_->count(); ++i)
            items << line_->itemText(i);
        return items;
    }

    std::unique_ptr<QDialog> dialog_;
    TMUVRechenzeile *line_ = nullptr;
    QPushButton *ok_ = nullptr;
};

} // namespace

TEST_F(LineTest, EnterShowsTheResultAndKeepsExpressionAndResult)
{
    MessageCapture messages;
    Enter(QStringLiteral("(297 - 2*30) / 4"));
    EXPECT_EQ(line_->currentText(), QStringLiteral("59,25"));
    EXPECT_EQ(History(), QStringList({"(297 - 2*30) / 4", "59,25"}));
    EXPECT_TRUE(dialog_->isVisible()) << "Enter calculates, it does not close the dialog";
    EXPECT_EQ(dialog_->result(), 0);

    // The result is ready for the next calculation.
    QTest::keyClicks(line_, QStringLiteral("*4"));
    QTest::keyClick(line_, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(line_->currentText(), QStringLiteral("237"));
    EXPECT_EQ(History(), QStringList({"(297 - 2*30) / 4", "59,25", "59,25*4", "237"}));
    EXPECT_TRUE(messages.Messages().empty());

    // Typing the start of an older entry is not completed to it.
    Enter(QStringLiteral("59"));
    EXPECT_EQ(line_->currentText(), QStringLiteral("59"));
}

TEST_F(LineTest, ResultUsesTheUsersDecimalSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Enter(QStringLiteral("(297 - 2 * 30) / 4"));
    QLocale::setDefault(saved);
    EXPECT_EQ(line_->currentText(), QStringLiteral("59.25"));
    Enter(QStringLiteral("1000 * 1000"));
    EXPECT_EQ(line_->currentText(), QStringLiteral("1000000")) << "no thousands separators";
}

TEST_F(LineTest, ErrorsShowTheirMessageAndChangeNothing)
{
    MessageCapture messages;
    Enter(QStringLiteral("4 / (2 - 2)"));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Division durch 0"));
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Plain);
    EXPECT_EQ(line_->currentText(), QStringLiteral("4 / (2 - 2)"));
    EXPECT_EQ(line_->count(), 0);

    messages.Clear();
    Enter(QStringLiteral("2(3)"));
    Enter(QStringLiteral("abc"));
    Enter(QStringLiteral("2 - -3"));
    Enter(QStringLiteral("2 ++ 3"));
    Enter(QStringLiteral("()"));
    EXPECT_EQ(messages.Texts(), QStringList({"Falsche Klammerung !", "Kein Text erlaubt ! : 0..9 + * / - ()",
                                             "Fehlerhafte Minuszeichen", "Doppeltes Rechenzeichen",
                                             "Es ist ein Fehler aufgetreten !"}));

    // Empty line, trailing and leading power: silently nothing.
    messages.Clear();
    Enter(QString());
    Enter(QStringLiteral("2^"));
    EXPECT_EQ(line_->currentText(), QStringLiteral("2^"));
    Enter(QStringLiteral("^2"));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(line_->count(), 0);
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(LineTest, EnterThatClosedTheMessageDoesNotCalculateAgain)
{
    // The message box takes the press of Return and closes; only the release
    // reaches the line.
    MessageCapture messages;
    Enter(QStringLiteral("4 / (2 - 2)"));
    ASSERT_EQ(messages.Messages().size(), 1u);
    QTest::keyRelease(line_, Qt::Key_Return);
    QTest::keyRelease(line_, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(messages.Messages().size(), 1u);
    // A press here is a new request.
    QTest::keyClick(line_, Qt::Key_Return);
    EXPECT_EQ(messages.Messages().size(), 2u);
}

TEST_F(LineTest, ResultWithExponentCannotBeReused)
{
    MessageCapture messages;
    Enter(QStringLiteral("10^20*10"));
    EXPECT_EQ(line_->currentText(), QStringLiteral("1E21"));
    QTest::keyClick(line_, Qt::Key_Return);
    EXPECT_EQ(messages.Texts(), QStringList({"Kein Text erlaubt ! : 0..9 + * / - ()"}));
    EXPECT_EQ(line_->currentText(), QStringLiteral("1E21"));
    EXPECT_EQ(line_->count(), 2);
}

TEST(CalcCommand, PrintsCodeAndValue)
{
    const QString cli = QStringLiteral(DORLIX_BIN_DIR "/dorlix-cli");
    if (!QFileInfo::exists(cli))
        GTEST_SKIP() << "dorlix-cli is not built";
    auto run = [&cli](const QStringList &args) {
        QProcess p;
        p.start(cli, QStringList{QStringLiteral("calc")} + args);
        EXPECT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    EXPECT_EQ(run({"(297 - 2 * 30) / 4"}), QStringLiteral("0 59.25\n"));
    EXPECT_EQ(run({"-(2 + 3) * 2"}), QStringLiteral("0 -10\n"));
    EXPECT_EQ(run({"1/3"}), QStringLiteral("0 0.333333333333333\n"));
    EXPECT_EQ(run({"2", "^", "10"}), QStringLiteral("0 1024\n"));
    EXPECT_EQ(run({"4 / 0"}), QStringLiteral("3\n"));
    EXPECT_EQ(run({"2^"}), QStringLiteral("10\n"));
    EXPECT_EQ(run({}), QStringLiteral("1\n"));
}
