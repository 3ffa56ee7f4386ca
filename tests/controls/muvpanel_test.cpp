#include "controls/ColorPanel.h"
#include "controls/MUVBMPMerker.h"
#include "controls/MUVFarbVerlauf.h"
#include "controls/MUVLines.h"
#include "controls/MUVPageControl.h"
#include "controls/MUVPanel.h"
#include "controls/MUVPfeile.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace
{

QRgb At(QWidget &w, int x, int y)
{
    return w.grab().toImage().pixel(x, y) & 0xFFFFFF;
}

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kGreen = 0x00FF00;

} // namespace

TEST(MUVPanel, CaptionSitsInTheFrame)
{
    TMUVPanel panel(QStringLiteral("Seite"));
    panel.resize(200, 100);
    panel.SetColor(RGBToTColor(0, 0, 255));
    panel.SetBackgroundColor(RGBToTColor(0, 255, 0));
    panel.SetBorderColor(RGBToTColor(255, 0, 0));
    QFont bold = panel.font();
    bold.setBold(true);
    panel.SetCaptionFont(bold);
    EXPECT_EQ(panel.accessibleName(), QStringLiteral("Seite"));

    const QRect f = panel.FrameRect();
    const int ah = QFontMetrics(bold).boundingRect(QStringLiteral("A")).height();
    EXPECT_EQ(f.top(), ah / 2);
    EXPECT_EQ(f.left(), 4);
    EXPECT_EQ(f.right(), 196);
    EXPECT_EQ(f.bottom(), 96);

    const QRect cap = panel.CaptionRect();
    EXPECT_EQ(cap.top(), 0);
    EXPECT_EQ(cap.left(), f.left() + 9); // 3 x BorderMargin
    EXPECT_EQ(cap.width(), QFontMetrics(bold).horizontalAdvance(QStringLiteral(" Seite ")));

    // Outside the frame the panel colour, inside the background colour,
    // the frame in the border colour except under the caption.
    EXPECT_EQ(At(panel, 1, 50), kBlue);
    EXPECT_EQ(At(panel, 100, 60), kGreen);
    EXPECT_EQ(At(panel, 4, 60), kRed);
    EXPECT_EQ(At(panel, 196, 60), kRed);
    EXPECT_EQ(At(panel, 150, f.top()), kRed);
    EXPECT_EQ(At(panel, cap.left() + 1, f.top()), kBlue);

    panel.SetCaptionPosition(tpp_middle);
    EXPECT_NEAR(panel.CaptionRect().center().x(), (f.left() + f.right()) / 2, 1);
    panel.SetCaptionPosition(ttp_right);
    EXPECT_EQ(panel.CaptionRect().right() + 1, f.right() - 6);

    // Controls laid out on the panel stay inside the frame, under the caption.
    auto *edit = new QLineEdit(&panel);
    auto *lay = new QVBoxLayout(&panel);
    lay->addWidget(edit);
    panel.show();
    lay->activate();
    EXPECT_GE(edit->geometry().top(), cap.bottom());
    EXPECT_GT(edit->geometry().left(), f.left());
    EXPECT_LT(edit->geometry().right(), f.right());
}

TEST(MUVPanel, NoFrameAndNoEraseLineWithoutMargin)
{
    TMUVPanel panel(QStringLiteral("Ohne"));
    panel.resize(200, 80);
    panel.SetColor(RGBToTColor(0, 0, 255));
    panel.SetBackgroundColor(RGBToTColor(0, 255, 0));
    panel.SetBorderMargin(0);
    EXPECT_TRUE(panel.FrameRect().isEmpty());
    const QImage shot = panel.grab().toImage();
    for (int y = 0; y < 80; y += 5)
        for (int x = 0; x < 200; x += 5)
            ASSERT_NE(shot.pixel(x, y) & 0xFFFFFF, kGreen) << x << "," << y;
    EXPECT_EQ(shot.pixel(150, 70) & 0xFFFFFF, kBlue);
}

TEST(MUVPanel, StretchedOrTiledBackground)
{
    TMUVPanel panel;
    panel.resize(40, 40);
    panel.SetBorderMargin(0);
    QImage bmp(4, 4, QImage::Format_RGB32);
    bmp.fill(qRgb(255, 0, 0));
    bmp.setPixel(0, 0, qRgb(0, 0, 255));
    panel.SetBackgroundBMP(bmp);
    EXPECT_EQ(panel.BackgroundBMPStyle(), pbk_wallpaper);
    // Tiled from the top-left corner: the blue pixel every 4 pixels.
    EXPECT_EQ(At(panel, 0, 0), kBlue);
    EXPECT_EQ(At(panel, 8, 12), kBlue);
    EXPECT_EQ(At(panel, 9, 12), kRed);
    // Stretched: the blue pixel becomes a 10 x 10 block.
    panel.SetBackgroundBMPStyle(pbk_stretch);
    EXPECT_EQ(At(panel, 8, 8), kBlue);
    EXPECT_EQ(At(panel, 20, 20), kRed);
}

TEST(MUVPageControl, PagesFillTheAreaBelowTheTabs)
{
    QWidget window;
    auto *pc = new TMUVPageControl(&window);
    pc->SetFlatTabs(true);
    auto *text = new QWidget;
    auto *grafik = new QWidget;
    pc->addTab(text, QStringLiteral("Text"));
    pc->addTab(grafik, QStringLiteral("Grafik"));
    pc->setGeometry(0, 0, 400, 300);
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();

    const QRect tab0 = pc->tabBar()->tabRect(0);
    EXPECT_EQ(tab0.size(), QSize(128, 24));
    const QRect page = text->geometry();
    const QPoint pageInControl = text->parentWidget()->mapTo(pc, page.topLeft());
    EXPECT_EQ(pageInControl.x(), 0);
    EXPECT_EQ(pageInControl.y(), pc->tabBar()->geometry().bottom() + 1);
    EXPECT_EQ(page.width(), 400);
    EXPECT_EQ(pageInControl.y() + page.height(), 300);

    // Mouse: a click on the second tab.
    QSignalSpy changes(pc, &QTabWidget::currentChanged);
    QTest::mouseClick(pc->tabBar(), Qt::LeftButton, {}, pc->tabBar()->tabRect(1).center());
    EXPECT_EQ(pc->currentIndex(), 1);
    EXPECT_EQ(pc->currentWidget(), grafik);
    EXPECT_EQ(grafik->mapTo(pc, QPoint(0, 0)).x(), 0);
    EXPECT_EQ(grafik->width(), 400);
    // Keyboard: Ctrl+Tab and the arrow keys on the tabs.
    QTest::keyClick(pc, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pc->currentIndex(), 0);
    pc->tabBar()->setFocus();
    QTest::keyClick(pc->tabBar(), Qt::Key_Right);
    EXPECT_EQ(pc->currentIndex(), 1);
    QTest::keyClick(pc->tabBar(), Qt::Key_Left);
    EXPECT_EQ(pc->currentIndex(), 0);
    EXPECT_EQ(changes.count(), 4);

    // Flat tabs: the current one blue, the other grey.
    const QImage shot = pc->tabBar()->grab().toImage();
    bool blue = false;
    for (int y = 0; y < 24 && !blue; ++y)
        for (int x = 0; x < 128 && !blue; ++x)
            blue = (shot.pixel(x, y) & 0xFFFFFF) == kBlue;
    EXPECT_TRUE(blue);
}

TEST(MUVLines, EdgesDiagonalsAndRoundCorners)
{
    TMUVLines lines;
    EXPECT_EQ(lines.Linien(), MuvBit(ltunten));
    lines.resize(40, 20);
    lines.SetLinFarbe(RGBToTColor(255, 0, 0));
    EXPECT_EQ(At(lines, 20, 19), kRed);
    EXPECT_NE(At(lines, 20, 0), kRed);

    lines.SetLinien(MuvBit(ltlinks) | MuvBit(ltoben) | MuvBit(ltMitteVertikal));
    EXPECT_EQ(At(lines, 0, 10), kRed);
    EXPECT_EQ(At(lines, 20, 0), kRed);
    EXPECT_EQ(At(lines, 20, 10), kRed);
    EXPECT_NE(At(lines, 20, 19), kRed);

    // A thick line moves inwards by one pixel.
    lines.SetLinien(MuvBit(ltunten));
    lines.SetLinDicke(2);
    EXPECT_EQ(At(lines, 20, 18), kRed);

    // The radius stays within half the height; the corner is left out of
    // the straight edges.
    lines.SetLinDicke(1);
    lines.SetLinien(MuvBit(ltoben) | MuvBit(ltlinks));
    lines.SetRundeEcken(MuvBit(trc_TopLeft));
    lines.SetEckRadius(50);
    EXPECT_EQ(lines.EckRadius(), 10);
    lines.SetEckRadius(-3);
    EXPECT_EQ(lines.EckRadius(), 0);
    lines.SetEckRadius(6);
    EXPECT_NE(At(lines, 0, 0), kRed);
    EXPECT_EQ(At(lines, 10, 0), kRed);
    EXPECT_EQ(At(lines, 0, 10), kRed);

    // Disabled: button shadow instead of the line colour.
    lines.setEnabled(false);
    EXPECT_NE(At(lines, 10, 0), kRed);

    QSignalSpy clicks(&lines, &TMUVLines::OnExtClick);
    lines.setEnabled(true);
    QTest::mouseClick(&lines, Qt::RightButton, {}, QPoint(7, 3));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][1].toInt(), 7);
    EXPECT_EQ(clicks[0][3].toInt(), 3);
}

TEST(ColorPanel, GradientLinesAndSwap)
{
    TColorPanel panel;
    panel.resize(10, 100);
    panel.SetStartColor(RGBToTColor(0, 0, 0));
    panel.SetEndColor(RGBToTColor(200, 100, 50));
    // start + round((end - start) * y / height)
    EXPECT_EQ(At(panel, 5, 0), 0x000000u);
    EXPECT_EQ(At(panel, 5, 25), QColor(50, 25, 13).rgb() & 0xFFFFFF);
    EXPECT_EQ(At(panel, 5, 99), QColor(198, 99, 50).rgb() & 0xFFFFFF);
    panel.SetSwapped(true);
    EXPECT_EQ(At(panel, 5, 0), QColor(200, 100, 50).rgb() & 0xFFFFFF);
    panel.SetSwapped(false);
    panel.SetStyle(cpsHorizontal);
    panel.resize(100, 10);
    EXPECT_EQ(At(panel, 50, 5), QColor(100, 50, 25).rgb() & 0xFFFFFF);
    panel.SetBorderSingle(true);
    panel.SetBorderColor(RGBToTColor(255, 0, 0));
    EXPECT_EQ(At(panel, 50, 0), kRed);
    // Equal colours: a plain fill.
    panel.SetEndColor(RGBToTColor(0, 0, 0));
    EXPECT_EQ(At(panel, 90, 5), 0x000000u);
}

TEST(MUVFarbVerlauf, HorizontalGradientEndsAtTheOffset)
{
    TMUVFarbVerlauf band;
    EXPECT_EQ(band.size(), QSize(255, 24));
    band.SetColorStart(RGBToTColor(0, 0, 0));
    band.SetColorEnd(RGBToTColor(0, 0, 255));
    band.resize(400, 24);
    band.SetRechterOffset(100);
    EXPECT_EQ(band.GradientEnd(), 300);
    EXPECT_EQ(At(band, 0, 10), 0x000000u);
    EXPECT_EQ(At(band, 150, 10), QColor(0, 0, 128).rgb() & 0xFFFFFF);
    EXPECT_EQ(At(band, 350, 10), kBlue);
    // Narrow: the gradient runs over the whole width.
    band.resize(200, 24);
    EXPECT_EQ(band.GradientEnd(), 199);
    band.SetVerlauf(false);
    EXPECT_EQ(At(band, 190, 10), 0x000000u);
    // Vertical: ColorEnd at the top, ColorStart at the bottom.
    band.SetVerlauf(true);
    band.SetHorizontal(false);
    EXPECT_EQ(At(band, 10, 0), kBlue);
    EXPECT_EQ(At(band, 10, 23), 0x000000u);
    // Long paths are shortened in the middle.
    band.SetBeschriftungAlsDatei(true);
    band.SetBeschriftung(
        QStringLiteral("/home/anwender/Dokumente/Ordner/Unterordner/Rückenschilder/Büro.rsd"));
    EXPECT_TRUE(band.ShownCaption().contains(QChar(0x2026)));
    EXPECT_TRUE(band.ShownCaption().endsWith(QStringLiteral(".rsd")));
}

TEST(MUVPfeile, HeadsAtTheEdges)
{
    TMUVPfeile arrow;
    EXPECT_EQ(arrow.size(), QSize(32, 8));
    const QPolygon start = arrow.StartHead();
    const QPolygon end = arrow.EndHead();
    ASSERT_EQ(start.size(), 3);
    EXPECT_EQ(start[0], QPoint(0, 4));
    EXPECT_EQ(start[1], QPoint(6, 2)); // half width 6 div 3
    EXPECT_EQ(end[0], QPoint(31, 4));
    EXPECT_EQ(At(arrow, 16, 4), kBlue);
    arrow.SetPfeilLinks(false);
    EXPECT_TRUE(arrow.StartHead().isEmpty());
    arrow.SetPfeiltyp(pt_vertikal);
    arrow.resize(8, 40);
    EXPECT_EQ(arrow.EndHead()[0], QPoint(4, 39));
    EXPECT_EQ(At(arrow, 4, 20), kBlue);
}

TEST(MUVBMPMerker, KeepsItsOwnCopy)
{
    TMUVBMPMerker m;
    EXPECT_TRUE(m.IsEmpty());
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    m.SetBitmap(img);
    img.fill(Qt::blue);
    EXPECT_EQ(m.Bitmap().pixel(0, 0), QColor(Qt::red).rgb());
}
