#include "controls/MUVButton.h"
#include "controls/MUVButtonGlyphs.h"
#include "platform/shell_open.h"
#include "testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace
{

// A window with buttons side by side, shown so that real events reach them.
struct Row {
    QWidget window;
    std::vector<TMUVButton *> buttons;

    explicit Row(int count)
    {
        window.resize(80 * count + 20, 60);
        for (int i = 0; i < count; ++i) {
            auto *b = new TMUVButton(&window);
            b->setObjectName(QStringLiteral("b%1").arg(i));
            b->setGeometry(10 + 80 * i, 10, 64, 24);
            buttons.push_back(b);
        }
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    TMUVButton *operator[](int i) { return buttons[std::size_t(i)]; }
};

void Click(TMUVButton *b, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::mouseClick(b, Qt::LeftButton, mods, QPoint(10, 10));
}

QImage MakeGlyph()
{
    // 4 x 2: bottom-left (0,1) is the key colour magenta.
    QImage g(4, 2, QImage::Format_RGB32);
    g.fill(qRgb(255, 0, 255));
    g.setPixel(0, 0, qRgb(255, 255, 255));
    g.setPixel(1, 0, qRgb(0, 0, 0));
    g.setPixel(2, 0, qRgb(200, 100, 50));
    g.setPixel(3, 0, qRgb(255, 0, 0));
    g.setPixel(1, 1, qRgb(10, 250, 90));
    return g;
}

int Grey(QRgb c)
{
    EXPECT_EQ(qRed(c), qGreen(c));
    EXPECT_EQ(qGreen(c), qBlue(c));
    return qRed(c);
}

} // namespace

TEST(MUVButton, DefaultsAsDesigned)
{
    TMUVButton b;
    EXPECT_EQ(b.size(), QSize(64, 24));
    EXPECT_EQ(b.CaptionPosition(), tp_top);
    EXPECT_EQ(b.Margin(), 4);
    EXPECT_EQ(b.Edgestyle(), bs_rectangle);
    EXPECT_TRUE(b.NormalFlat());
    EXPECT_TRUE(b.SimpleAnimation());
    EXPECT_TRUE(b.SpezialFrame());
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(b.GroupIndex(), 0);
    EXPECT_EQ(b.ColorDownBackGround(), clNone);
    EXPECT_EQ(b.ColorButtonDownText(), clBlack);
    EXPECT_EQ(b.Buttontyp(), typ_normal);
    EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
}

TEST(MUVButton, GreyAndDisabledGlyphsFromTheBottomLeftKey)
{
    TMUVButton b;
    b.SetGlyph(MakeGlyph());
    const QImage &grey = b.GreyGlyph();
    const QImage &dis = b.DisabledGlyph();
    ASSERT_EQ(grey.size(), QSize(4, 2));
    // 0.3 R + 0.59 G + 0.11 B truncated; white stays white.
    EXPECT_EQ(Grey(grey.pixel(0, 0)), 255);
    EXPECT_EQ(Grey(grey.pixel(1, 0)), 0);
    EXPECT_EQ(Grey(grey.pixel(2, 0)), 124); // 60 + 59 + 5.5
    EXPECT_EQ(Grey(grey.pixel(3, 0)), 76);  // 76.5
    EXPECT_EQ(Grey(grey.pixel(1, 1)), 160); // 3 + 147.5 + 9.9
    // The disabled copy: l div 4 + 160.
    EXPECT_EQ(Grey(dis.pixel(0, 0)), 223);
    EXPECT_EQ(Grey(dis.pixel(1, 0)), 160);
    EXPECT_EQ(Grey(dis.pixel(2, 0)), 191);
    EXPECT_EQ(Grey(dis.pixel(3, 0)), 179);
    EXPECT_EQ(Grey(dis.pixel(1, 1)), 200);
    // Key pixels stay as they are in both copies.
    for (const QImage *img : {&grey, &dis}) {
        EXPECT_EQ(img->pixel(0, 1) & 0xFFFFFF, 0xFF00FFu);
        EXPECT_EQ(img->pixel(2, 1) & 0xFFFFFF, 0xFF00FFu);
    }
}

TEST(MUVButton, GlyphKeyColourIsNotDrawnAndGreyShowsUntilHovered)
{
    Row row(1);
    TMUVButton *b = row[0];
    b->SetCaptionPosition(tp_none);
    QImage g(8, 8, QImage::Format_RGB32);
    g.fill(qRgb(0, 255, 0)); // key (bottom-left) green
    g.setPixel(3, 3, qRgb(255, 0, 0));
    b->SetGlyph(g);
    const QImage shot = b->grab().toImage();
    const QPoint at = b->CurrentLayout().glyph.topLeft();
    EXPECT_EQ(at, QPoint(28, 8));
    // The green key stays invisible; the red pixel shows grey (76).
    EXPECT_NE(shot.pixel(at + QPoint(0, 7)), qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(at + QPoint(3, 3)), qRgb(76, 76, 76));
    b->SetShowAllwaysColor(true);
    EXPECT_EQ(b->grab().toImage().pixel(at + QPoint(3, 3)), qRgb(255, 0, 0));
    b->SetShowAllwaysColor(false);
    b->setEnabled(false);
    EXPECT_EQ(b->grab().toImage().pixel(at + QPoint(3, 3)), qRgb(179, 179, 179));
}

TEST(MUVButton, CaptionPositions)
{
    const QSize W(100, 60);
    const QSize t(30, 10);
    const QSize g(24, 24);
    const int m = 4;
    auto L = [&](TTextPosition p, QSize glyph = QSize(24, 24)) {
        return TMUVButton::ComputeLayout(p, W, t, glyph, m);
    };
    // Glyph centred, no text.
    EXPECT_EQ(L(tp_none).glyph, QRect(38, 18, 24, 24));
    EXPECT_TRUE(L(tp_none).text.isEmpty());
    // Text left of the glyph, the pair centred: (100 - 58) / 2 = 21.
    EXPECT_EQ(L(tp_left).text, QRect(21, 25, 30, 10));
    EXPECT_EQ(L(tp_left).glyph, QRect(55, 18, 24, 24));
    EXPECT_EQ(L(tp_left, QSize()).text.left(), m);
    // Mirrored.
    EXPECT_EQ(L(tp_right).glyph, QRect(21, 18, 24, 24));
    EXPECT_EQ(L(tp_right).text, QRect(49, 25, 30, 10));
    // Glyph above text, the pair centred vertically: (60 - 38) / 2 = 11;
    // text centred at W div 2 + 1.
    EXPECT_EQ(L(tp_bottom).glyph, QRect(38, 11, 24, 24));
    EXPECT_EQ(L(tp_bottom).text, QRect(36, 39, 30, 10));
    EXPECT_EQ(L(tp_top).text, QRect(36, 11, 30, 10));
    EXPECT_EQ(L(tp_top).glyph, QRect(38, 25, 24, 24));
    // Text over the glyph.
    EXPECT_EQ(L(tp_center).glyph, QRect(38, 18, 24, 24));
    EXPECT_EQ(L(tp_center).text, QRect(35, 25, 30, 10));
    // Strictly left: glyph at m, text at gw + 2m.
    EXPECT_EQ(L(tp_Strikt_L).glyph.left(), 4);
    EXPECT_EQ(L(tp_Strikt_L).text.left(), 32);
    // Strictly right: glyph at W - m - gw, text ends before it.
    EXPECT_EQ(L(tp_Strikt_R).glyph.left(), 72);
    EXPECT_EQ(L(tp_Strikt_R).text.right(), 72 - m - 1);
    // Glyphs of equal size put captions on one line whatever the picture.
    EXPECT_EQ(TMUVButton::ComputeLayout(tp_bottom, W, QSize(50, 10), g, m).text.top(),
              L(tp_bottom).text.top());
}

TEST(MUVButton, NormalFlatNeverStaysDownAToggleDoes)
{
    Row row(2);
    QSignalSpy clicks(row[0], &TMUVButton::OnClick);
    Click(row[0]);
    Click(row[0]);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_FALSE(row[0]->Down());

    row[1]->SetNormalFlat(false);
    Click(row[1]);
    EXPECT_TRUE(row[1]->Down());
    EXPECT_TRUE(row[1]->isChecked());
    Click(row[1]);
    EXPECT_FALSE(row[1]->Down());
}

TEST(MUVButton, OneDownPerGroup)
{
    Row row(4);
    for (int i = 0; i < 3; ++i) {
        row[i]->SetNormalFlat(false);
        row[i]->SetGroupIndex(1);
    }
    row[3]->SetNormalFlat(false); // same parent, other group
    row[3]->SetGroupIndex(2);
    row[3]->SetDown(true);

    Click(row[0]);
    EXPECT_TRUE(row[0]->Down());
    Click(row[1]);
    EXPECT_FALSE(row[0]->Down());
    EXPECT_TRUE(row[1]->Down());
    // Clicking the down button keeps it down: one always stays down.
    Click(row[1]);
    EXPECT_TRUE(row[1]->Down());
    // Setting one down in code releases the others too.
    row[2]->SetDown(true);
    EXPECT_FALSE(row[1]->Down());
    EXPECT_TRUE(row[2]->Down());
    EXPECT_TRUE(row[3]->Down());

    // AllowAllUp lets the down button go up.
    row[2]->SetAllowAllUp(true);
    Click(row[2]);
    EXPECT_FALSE(row[2]->Down());
    EXPECT_FALSE(row[0]->Down());
    EXPECT_FALSE(row[1]->Down());
}

TEST(MUVButton, FlatButtonsOfAGroupAreLeftAlone)
{
    Row row(2);
    row[0]->SetNormalFlat(false);
    row[0]->SetGroupIndex(3);
    row[1]->SetGroupIndex(3); // flat
    row[0]->SetDown(true);
    Click(row[1]);
    EXPECT_FALSE(row[1]->Down());
    EXPECT_TRUE(row[0]->Down());
}

TEST(MUVButton, CtrlClickAndMouseInOut)
{
    Row row(2);
    QSignalSpy clicks(row[0], &TMUVButton::OnClick);
    QSignalSpy ctrl(row[0], &TMUVButton::OnSTRGClick);
    Click(row[0], Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(ctrl.count(), 1);
    Click(row[0]);
    EXPECT_EQ(clicks.count(), 1);

    QSignalSpy in(row[1], &TMUVButton::OnMouseIn);
    QSignalSpy out(row[1], &TMUVButton::OnMouseOut);
    QTest::mouseMove(row[1], QPoint(5, 5));
    QTRY_COMPARE(in.count(), 1);
    EXPECT_TRUE(row[1]->Hovered());
    QTest::mouseMove(&row.window, QPoint(2, 55));
    QTRY_COMPARE(out.count(), 1);
    EXPECT_FALSE(row[1]->Hovered());
}

TEST(MUVButton, DoubleClickCountsAsTwoClicks)
{
    Row row(1);
    QSignalSpy clicks(row[0], &TMUVButton::OnClick);
    QTest::mouseClick(row[0], Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(row[0], Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(row[0], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 2);
}

TEST(MUVButton, PopupMenuInsteadOfClick)
{
    Row row(1);
    QMenu menu;
    menu.addAction(QStringLiteral("Eins"));
    row[0]->SetPopupMenu(&menu);
    QSignalSpy clicks(row[0], &TMUVButton::OnClick);
    Click(row[0]);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(clicks.count(), 0);
    menu.hide();
    row[0]->SetPopupMenu(nullptr);
    Click(row[0]);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(MUVButton, ExecuteHandsTheTargetToTheDesktop)
{
    Row row(1);
    QStringList opened;
    platform::SetShellOpener([&](const QUrl &url) {
        opened << url.toString();
        return url.fileName() != QStringLiteral("kaputt");
    });
    row[0]->SetButtontyp(typ_execute);
    row[0]->SetButton_Execute(QStringLiteral("https://example.org/dorlix"));
    QSignalSpy clicks(row[0], &TMUVButton::OnClick);
    Click(row[0]);
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://example.org/dorlix")});
    EXPECT_EQ(clicks.count(), 0);

    MessageCapture messages;
    row[0]->SetButton_Execute(QStringLiteral("kaputt"));
    Click(row[0]);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("\"kaputt\" konnte nicht geöffnet werden."));
    platform::SetShellOpener({});
}

TEST(MUVButton, MouseHoldRepeatsWhileHeld)
{
    Row row(2);
    int holds = 0;
    QObject::connect(row[0], &TMUVButton::OnMouseHold, [&] { ++holds; });
    row[0]->SetHoldInterval(5);
    QTest::mousePress(row[0], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(holds, 1); // at once on the press
    QTRY_VERIFY(holds >= 4);
    QTest::mouseRelease(row[0], Qt::LeftButton, {}, QPoint(5, 5));
    const int atRelease = holds;
    QTest::qWait(30);
    EXPECT_EQ(holds, atRelease);

    // Without a receiver nothing repeats, and the click still comes.
    QSignalSpy clicks(row[1], &TMUVButton::OnClick);
    Click(row[1]);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(MUVButton, KeyboardFocusSpaceAndEnter)
{
    Row row(2);
    row.window.activateWindow();
    row[0]->setFocus();
    QSignalSpy clicks0(row[0], &TMUVButton::OnClick);
    QSignalSpy clicks1(row[1], &TMUVButton::OnClick);
    QTest::keyClick(row[0], Qt::Key_Space);
    EXPECT_EQ(clicks0.count(), 1);
    QTest::keyClick(row[0], Qt::Key_Tab);
    EXPECT_TRUE(row[1]->hasFocus());
    QTest::keyClick(row[1], Qt::Key_Return);
    EXPECT_EQ(clicks1.count(), 1);
    row[1]->SetNormalFlat(false);
    QTest::keyClick(row[1], Qt::Key_Space);
    EXPECT_TRUE(row[1]->Down());
}

TEST(MUVButton, AccessibleNameFromCaptionOrHint)
{
    TMUVButton b;
    b.SetHint(QStringLiteral("Übernehmen|Übernimmt die Werte und schließt"));
    EXPECT_EQ(b.accessibleName(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(b.toolTip(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(b.statusTip(), QStringLiteral("Übernimmt die Werte und schließt"));
    b.SetCaption(QStringLiteral("&OK"));
    EXPECT_EQ(b.accessibleName(), QStringLiteral("OK"));
    // A hint with only a long part.
    TMUVButton c;
    c.SetHint(QStringLiteral("|Nur lang"));
    EXPECT_EQ(c.toolTip(), QString());
    EXPECT_EQ(c.statusTip(), QStringLiteral("Nur lang"));
}

TEST(MUVButton, SharedPressedPattern)
{
    const int before = TMUVButton::LiveButtons();
    auto a = std::make_unique<TMUVButton>();
    EXPECT_EQ(TMUVButton::LiveButtons(), before + 1);
    const QImage &p = TMUVButton::PressedPattern();
    ASSERT_EQ(p.size(), QSize(640, 64));
    // Checkerboard of 255 and 208 …
    EXPECT_EQ(Grey(p.pixel(10, 10)), 255);
    EXPECT_EQ(Grey(p.pixel(11, 10)), 208);
    EXPECT_EQ(Grey(p.pixel(10, 11)), 208);
    // … blended halfway toward 218 along the top and left.
    EXPECT_EQ(Grey(p.pixel(10, 0)), 236);
    EXPECT_EQ(Grey(p.pixel(11, 0)), 213);
    EXPECT_EQ(Grey(p.pixel(1, 30)), 213);
    EXPECT_EQ(Grey(p.pixel(0, 30)), 236);
    EXPECT_EQ(Grey(p.pixel(2, 30)), 255);

    // A down toggle shows it when the mouse is elsewhere.
    Row row(1);
    row[0]->SetNormalFlat(false);
    row[0]->SetDown(true);
    const QImage shot = row[0]->grab().toImage();
    EXPECT_EQ(Grey(shot.pixel(10, 10)), 255);
    EXPECT_EQ(Grey(shot.pixel(11, 10)), 208);
    // Sunken edge: dark at the top left, white at the bottom right.
    EXPECT_NE(shot.pixel(0, 10), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(63, 10), qRgb(255, 255, 255));
}

TEST(MUVButton, GlyphSetRendersEveryPicture)
{
    const QStringList names = MUVGlyphNames();
    EXPECT_GE(names.size(), 30);
    for (const QString &n : names) {
        const QImage img = MUVGlyph(n, 24);
        ASSERT_EQ(img.size(), QSize(24, 24)) << n.toStdString();
        // Transparent corner (the key), something drawn in the middle area.
        EXPECT_EQ(qAlpha(img.pixel(0, 23)), 0) << n.toStdString();
        int ink = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                ink += qAlpha(img.pixel(x, y)) > 128;
        EXPECT_GT(ink, 30) << n.toStdString();
    }
    EXPECT_TRUE(MUVGlyph(QStringLiteral("gibtsnicht")).isNull());
    EXPECT_EQ(MUVGlyph(QStringLiteral("print"), 32).size(), QSize(32, 32));
}

TEST(MUVButton, HoverShowsColourOnTheHighlightMovedByAPixel)
{
    Row row(1);
    TMUVButton *b = row[0];
    b->SetCaptionPosition(tp_none);
    b->SetColorHighlight(RGBToTColor(0, 0, 255));
    QImage g(8, 8, QImage::Format_RGB32);
    g.fill(qRgb(0, 255, 0));
    g.setPixel(3, 3, qRgb(255, 0, 0));
    b->SetGlyph(g);
    const QPoint at = b->CurrentLayout().glyph.topLeft() + QPoint(3, 3);
    QTest::mouseMove(b, QPoint(2, 12));
    QTRY_VERIFY(b->Hovered());
    QImage shot = b->grab().toImage();
    EXPECT_EQ(shot.pixel(at + QPoint(0, 1)) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shot.pixel(at) & 0xFFFFFF, 0x0000FFu); // the key shows the highlight
    // Raised edge: white top left, dark bottom right, white inner frame.
    EXPECT_EQ(shot.pixel(0, 12) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(shot.pixel(63, 12) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shot.pixel(1, 12) & 0xFFFFFF, 0xFFFFFFu);
    // Without animation the glyph stays in place; clNone leaves the face.
    b->SetSimpleAnimation(false);
    b->SetColorHighlight(clNone);
    shot = b->grab().toImage();
    EXPECT_EQ(shot.pixel(at) & 0xFFFFFF, 0xFF0000u);
    EXPECT_NE(shot.pixel(30, 20) & 0xFFFFFF, 0x0000FFu);
}
