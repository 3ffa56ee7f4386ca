#include "controls/GraphicHintWindow.h"
#include "controls/glyphs_boxes/box_glyphs.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

// The hint window installed for one test, with a button that has a hint.
struct Installed {
    QWidget window;
    QPushButton *button = new QPushButton(QStringLiteral("Drucken"), &window);
    TGraphicHintWindow *hint;

    Installed()
    {
        hint = TGraphicHintWindow::Install(box_glyphs::HintBackground());
        window.resize(200, 100);
        button->setGeometry(10, 10, 100, 30);
        button->setToolTip(QStringLiteral("Drucken|Das Blatt auf dem Drucker ausgeben"));
        window.show();
        QApplication::processEvents();
    }
    ~Installed() { TGraphicHintWindow::Uninstall(); }

    // What the application sends when the mouse rests over the button.
    void AskForHint(QPoint global)
    {
        QHelpEvent ev(QEvent::ToolTip, button->mapFromGlobal(global), global);
        QApplication::sendEvent(button, &ev);
    }
};

QRect Screen()
{
    return QGuiApplication::primaryScreen()->geometry();
}

} // namespace

TEST(GraphicHintWindow, PlacementKeepsTheHintOnTheScreen)
{
    const QRect screen(0, 0, 800, 600);
    // Fits: stays.
    EXPECT_EQ(TGraphicHintWindow::PlaceOnScreen(QRect(100, 100, 120, 40), screen), QRect(100, 100, 120, 40));
    // Bottom-right corner: moved left and up, fully visible.
    EXPECT_EQ(TGraphicHintWindow::PlaceOnScreen(QRect(750, 580, 120, 40), screen), QRect(680, 560, 120, 40));
    // Wider than the screen: the left edge stays at 0.
    EXPECT_EQ(TGraphicHintWindow::PlaceOnScreen(QRect(300, 10, 900, 40), screen).left(), 0);
    // A second screen to the right.
    EXPECT_EQ(TGraphicHintWindow::PlaceOnScreen(QRect(1790, 10, 100, 40), QRect(800, 0, 1024, 768)).right(),
              1823);
}

TEST(GraphicHintWindow, HintAtTheScreenCornerIsFullyVisible)
{
    Installed app;
    app.AskForHint(Screen().bottomRight() - QPoint(3, 3));
    ASSERT_TRUE(app.hint->isVisible());
    EXPECT_EQ(app.hint->Text(), QStringLiteral("Drucken")) << "the short part of the hint";
    EXPECT_TRUE(Screen().contains(app.hint->geometry()))
        << app.hint->geometry().x() << "," << app.hint->geometry().y();
    const QRect calc = app.hint->CalcHintRect(400, QStringLiteral("Drucken"));
    EXPECT_EQ(app.hint->size(), calc.size() + QSize(14, 4)) << "enlarged by 14 x 4";
}

TEST(GraphicHintWindow, HintStandsBelowTheMouseAndTheTextIsNotCut)
{
    Installed app;
    const QPoint at = app.button->mapToGlobal(QPoint(20, 15));
    app.AskForHint(at);
    ASSERT_TRUE(app.hint->isVisible());
    EXPECT_EQ(app.hint->geometry().topLeft(), at + QPoint(0, 20));
    EXPECT_FALSE(app.hint->testAttribute(Qt::WA_WState_Hidden));
    EXPECT_NE(QApplication::focusWidget(), app.hint) << "never takes the focus";

    // Two lines fit below the title bar.
    app.button->setToolTip(QStringLiteral("Erste Zeile\nZweite Zeile"));
    app.AskForHint(at);
    const QFontMetrics fm(app.hint->font());
    EXPECT_GE(app.hint->height(), 1 + 14 + 2 * fm.height());
}

TEST(GraphicHintWindow, TitleBarAndBackgroundArePainted)
{
    Installed app;
    app.AskForHint(app.button->mapToGlobal(QPoint(20, 15)));
    ASSERT_TRUE(app.hint->isVisible());
    const QImage img = app.hint->grab().toImage();
    // Inside the window's frame line: the blue bar framed in white.
    EXPECT_EQ(img.pixelColor(1 + 5, 1 + 5), QColor(0, 128, 255));
    EXPECT_EQ(img.pixelColor(1 + 1, 1 + 5), QColor(Qt::white));
    // Below it the background picture (pale paper), not the bar colour.
    const QColor below = img.pixelColor(img.width() - 3, img.height() - 3);
    EXPECT_GT(below.red(), 230);
    EXPECT_GT(below.green(), 220);
}

TEST(GraphicHintWindow, FadesInStepByStep)
{
    Installed app;
    app.AskForHint(app.button->mapToGlobal(QPoint(20, 15)));
    EXPECT_EQ(app.hint->Alpha(), 25);
    int last = app.hint->Alpha();
    bool monotonic = true;
    QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                 monotonic =
                                     monotonic && app.hint->Alpha() >= last && app.hint->Alpha() % 25 == 0;
                                 last = app.hint->Alpha();
                                 return last == 250;
                             }()),
                             5000);
    EXPECT_TRUE(monotonic);
    EXPECT_NEAR(app.hint->windowOpacity(), 250 / 255.0, 0.01);
}

TEST(GraphicHintWindow, WhatShowsAndWhatHidesTheHint)
{
    Installed app;
    const QPoint at = app.button->mapToGlobal(QPoint(20, 15));
    // A hint with a long part only shows nothing.
    app.button->setToolTip(QStringLiteral("|Nur ein langer Hinweis"));
    app.AskForHint(at);
    EXPECT_FALSE(app.hint->isVisible());

    // A click hides the hint.
    app.button->setToolTip(QStringLiteral("Drucken"));
    app.AskForHint(at);
    ASSERT_TRUE(app.hint->isVisible());
    QTest::mouseClick(app.button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_FALSE(app.hint->isVisible());

    // Leaving the control hides it.
    app.AskForHint(at);
    ASSERT_TRUE(app.hint->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(app.button, &leave);
    EXPECT_FALSE(app.hint->isVisible());

    // Rich text keeps Qt's own tool tip.
    app.button->setToolTip(QStringLiteral("<b>fett</b>"));
    app.AskForHint(at);
    EXPECT_FALSE(app.hint->isVisible());

    // The hint of the parent serves a child without one.
    app.button->setToolTip(QString());
    app.window.setToolTip(QStringLiteral("Fenster"));
    app.AskForHint(at);
    ASSERT_TRUE(app.hint->isVisible());
    EXPECT_EQ(app.hint->Text(), QStringLiteral("Fenster"));
}

TEST(GraphicHintWindow, UninstalledTheApplicationShowsQtsToolTips)
{
    {
        Installed app;
    }
    EXPECT_EQ(TGraphicHintWindow::Installed(), nullptr);
    QWidget w;
    w.setToolTip(QStringLiteral("Hinweis"));
    w.show();
    QHelpEvent ev(QEvent::ToolTip, QPoint(1, 1), w.mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(&w, &ev);
    EXPECT_TRUE(ev.isAccepted());
}
