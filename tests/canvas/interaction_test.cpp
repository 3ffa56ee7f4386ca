// Pointing into the canvas with real mouse events: the position in mm, the
// crosshair, the hit tests and the edit mode (move, copy, resize).

#include "canvas_testing.h"
#include "model/picture.h"
#include "testsupport.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace canvas;

namespace
{

// A shown canvas at zoom 1 on the default A4 page (96 dpi: 3.78 px per mm).
class Interaction : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        c.SetZoomFaktor(1.0);
        c.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
        // The pointer starts away from the canvas, so that every first move
        // in a test is a real move.
        QCursor::setPos(c.mapToGlobal(QPoint(-200, -200)));
        QApplication::processEvents();
    }

    // A pointer move without buttons, as the window system delivers it.
    void Hover(QPoint pt) { QTest::mouseMove(&c, pt); }

    // Press, move in a few steps, release; modifiers at press and release.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers atPress = {},
              Qt::KeyboardModifiers atRelease = {})
    {
        Hover(from);
        QTest::mousePress(&c, Qt::LeftButton, atPress, from);
        for (int i = 1; i <= 4; ++i)
            QTest::mouseMove(&c, from + (to - from) * i / 4);
        QTest::mouseRelease(&c, Qt::LeftButton, atRelease, to);
    }

    // Marks the element under the point with a click of the edit mode.
    void Mark(QPoint pt)
    {
        Hover(pt);
        QTest::mouseClick(&c, Qt::LeftButton, {}, pt);
    }

    QPoint Px(double xMm, double yMm) const { return QPoint(c.PosToPixelX(xMm), c.PosToPixelY(yMm)); }
    // What the window shows once pending paints are done.
    QImage Shot()
    {
        QApplication::processEvents();
        return QGuiApplication::primaryScreen()->grabWindow(c.winId()).toImage().convertToFormat(
            QImage::Format_RGB32);
    }

    WithoutPrinters none;
    MessageCapture messages;
    TDPaintbox c;
};

// The crosshair is blue on the white page and bluish on the light margins.
bool IsCrossBlue(QRgb p)
{
    return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60;
}

int BlueInRow(const QImage &img, int y, int x0, int x1)
{
    int n = 0;
    for (int x = std::max(0, x0); x <= std::min(img.width() - 1, x1); ++x)
        n += IsCrossBlue(img.pixel(x, y));
    return n;
}

int BlueInColumn(const QImage &img, int x, int y0, int y1)
{
    int n = 0;
    for (int y = std::max(0, y0); y <= std::min(img.height() - 1, y1); ++y)
        n += IsCrossBlue(img.pixel(x, y));
    return n;
}

int BlueAnywhere(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        n += BlueInRow(img, y, 0, img.width() - 1);
    return n;
}

std::unique_ptr<TPicture> TestPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    return TPicture::FromImage(img);
}

} // namespace

TEST_F(Interaction, PointerPositionFollowsZoomScaleMirroringAndGrid)
{
    QSignalSpy xy(&c, &TDPaintbox::OnXYChange);
    const double ppmm = c.PixelPerMmX();

    Hover(QPoint(100, 200));
    ASSERT_EQ(xy.count(), 1);
    EXPECT_NEAR(xy.last()[0].toDouble(), 100 / ppmm, 1e-9);
    EXPECT_NEAR(xy.last()[1].toDouble(), 200 / ppmm, 1e-9);
    EXPECT_EQ(c.PointerMm(), QPointF(xy.last()[0].toDouble(), xy.last()[1].toDouble()));

    // At zoom 2 the same pixel is half as far into the page; the scale
    // multiplies what the pointer reports.
    c.SetZoomFaktor(2.0);
    c.SetMaszstab(2.0);
    Hover(QPoint(101, 200));
    EXPECT_NEAR(xy.last()[0].toDouble(), 101 / 2.0 / ppmm * 2.0, 1e-9);

    // Mirrored axes count from the bottom and right edges of the paper.
    c.SetZoomFaktor(1.0);
    c.SetYUnten(true);
    c.SetXRechts(true);
    Hover(QPoint(0, 0));
    Hover(QPoint(10, 0));
    EXPECT_NEAR(xy.last()[1].toDouble(), 2.0 * c.PageHeightMm(), 1e-9);
    EXPECT_NEAR(xy.last()[0].toDouble(), 2.0 * c.PageWidthMm() - 10 / ppmm * 2.0, 1e-9);

    c.SetYUnten(false);
    c.SetXRechts(false);
    c.SetMaszstab(1.0);
    c.SetRasterFang(true);
    Hover(Px(12.7, 33.1));
    EXPECT_DOUBLE_EQ(xy.last()[0].toDouble(), 15.0);
    EXPECT_DOUBLE_EQ(xy.last()[1].toDouble(), 35.0);
}

TEST_F(Interaction, MouseEventsReachTheOwnerInOrder)
{
    std::vector<std::string> seen;
    QObject::connect(&c, &TDPaintbox::OnMouseDown, [&](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
        seen.push_back("down " + std::to_string(int(b)) + " " + std::to_string(p.x()));
    });
    QObject::connect(&c, &TDPaintbox::OnMouseMove,
                     [&](Qt::MouseButtons, Qt::KeyboardModifiers, QPoint) { seen.push_back("move"); });
    QObject::connect(&c, &TDPaintbox::OnXYChange, [&](double, double) { seen.push_back("xy"); });
    QObject::connect(&c, &TDPaintbox::OnClick, [&] { seen.push_back("click"); });
    QObject::connect(&c, &TDPaintbox::OnMouseUp, [&](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
        seen.push_back("up " + std::to_string(int(b)));
    });
    // The owner sees the moved element already marked: the edit mode comes first.
    c.AddRectangle(10, 10, 20, 20);
    c.SetBearbeitbar(true);
    std::vector<int> markedAtDown;
    QObject::connect(&c, &TDPaintbox::OnMouseDown, [&] { markedAtDown.push_back(c.CurrentElement()); });

    Hover(Px(20, 20));
    QTest::mouseClick(&c, Qt::LeftButton, {}, Px(20, 20));
    QTest::mouseClick(&c, Qt::RightButton, {}, Px(20, 20));
    // A double click clicks once.
    QTest::mouseDClick(&c, Qt::LeftButton, {}, Px(20, 20));
    QTest::mouseRelease(&c, Qt::LeftButton, {}, Px(20, 20));
    // A left press released outside the control is no click.
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(-20, 5));

    const std::string x = std::to_string(Px(20, 20).x());
    const std::vector<std::string> expected = {"move", "xy",          "down 1 " + x, "click",
                                               "up 1", "down 2 " + x, "up 2",        "down 1 " + x,
                                               "up 1", "down 1 5",    "up 1"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(markedAtDown, (std::vector<int>{0, 0, 0, -1}));
}

TEST_F(Interaction, CrosshairShapesAreDrawnAtThePointer)
{
    c.SetAchsenCursor(true);
    const int W = c.width(), H = c.height();
    const QPoint p(300, 400);
    struct Shape {
        TDPaintbox::TAchsenkreuz typ;
        bool left, right, up, down; // which arms leave the pointer
    };
    const Shape shapes[] = {
        {TDPaintbox::ta_alle, true, true, true, true},   {TDPaintbox::ta_lire, true, true, false, false},
        {TDPaintbox::ta_obun, false, false, true, true}, {TDPaintbox::ta_liun, true, false, false, true},
        {TDPaintbox::ta_liob, true, false, true, false}, {TDPaintbox::ta_reob, false, true, true, false},
        {TDPaintbox::ta_reun, false, true, false, true}};
    for (const Shape &s : shapes) {
        SCOPED_TRACE(int(s.typ));
        c.SetAchsenCursorTyp(s.typ);
        Hover(p);
        const QImage img = Shot();
        // Each arm reaches the edge of the control (a dotted margin line it
        // crosses may leave a pixel or two that are not pure blue).
        EXPECT_EQ(BlueInRow(img, p.y(), 0, p.x() - 1) >= p.x() - 4, s.left);
        EXPECT_EQ(BlueInRow(img, p.y(), p.x() + 1, W - 1) >= W - p.x() - 5, s.right);
        EXPECT_EQ(BlueInColumn(img, p.x(), 0, p.y() - 1) >= p.y() - 4, s.up);
        EXPECT_EQ(BlueInColumn(img, p.x(), p.y() + 1, H - 1) >= H - p.y() - 5, s.down);
        EXPECT_EQ(BlueInRow(img, p.y(), 0, W - 1) + BlueInColumn(img, p.x(), 0, H - 1),
                  BlueAnywhere(img) + (IsCrossBlue(img.pixel(p)) ? 1 : 0))
            << "blue only on the crosshair";
        Hover(QPoint(1, 1)); // so that the next shape starts with a real move
    }
}

TEST_F(Interaction, CrosshairLeavesNothingBehind)
{
    c.SetAchsenCursor(true);
    c.SetAchsenCursorTyp(TDPaintbox::ta_liun);
    Hover(QPoint(200, 300));
    Hover(QPoint(250, 350));
    QImage img = Shot();
    EXPECT_EQ(BlueInRow(img, 300, 0, c.width() - 1), 0) << "the old position is gone";
    EXPECT_GT(BlueInRow(img, 350, 0, 249), 240);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&c, &leave);
    EXPECT_EQ(BlueAnywhere(Shot()), 0);
    EXPECT_EQ(BlueAnywhere(c.grab().toImage()), 0) << "nor when painted anew";

    // A change of zoom or shape forgets the position as well.
    Hover(QPoint(100, 100));
    EXPECT_GT(BlueAnywhere(Shot()), 0);
    c.SetZoomFaktor(1.0);
    EXPECT_EQ(BlueAnywhere(Shot()), 0);
    Hover(QPoint(100, 100));
    c.SetAchsenCursorTyp(TDPaintbox::ta_alle);
    EXPECT_EQ(BlueAnywhere(Shot()), 0);
    Hover(QPoint(100, 100));
    c.SetAchsenCursor(false);
    EXPECT_EQ(BlueAnywhere(Shot()), 0);
    // Switched on again it shows where the pointer is now.
    Hover(QPoint(150, 120));
    c.SetAchsenCursor(true);
    const QImage on = Shot();
    EXPECT_GT(BlueInRow(on, 120, 0, c.width() - 1), 300);
    EXPECT_EQ(BlueInRow(on, 100, 0, c.width() - 1), 1);
}

TEST_F(Interaction, CrosshairInvertsWhatLiesBeneath)
{
    c.SetFillStyle(bsSolid, clBlack);
    c.AddRectangle(50, 50, 30, 30);
    c.SetAchsenCursor(true);
    c.SetAchsenCursorTyp(TDPaintbox::ta_lire);
    const QPoint p = Px(65, 65);
    Hover(p);
    const QImage img = Shot();
    EXPECT_EQ(img.pixel(p.x() - 10, p.y()) & 0xFFFFFF, 0xFFFF00u) << "black becomes yellow";
    EXPECT_EQ(img.pixel(20, p.y()) & 0xFFFFFF, 0x0000FFu) << "white becomes blue";
}

TEST_F(Interaction, HitTestsFollowTheKindOfElement)
{
    // The elements are drawn once: texts are hit by where they were drawn.
    c.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 10.0, 0);
    const int text = c.AddText(QStringLiteral("Ordner"), 20, 20);
    const int line = c.AddLine(20, 100, 120, 150);
    c.SetFillStyle(bsClear, clNone);
    const int frame = c.AddRectangle(20, 200, 40, 30);
    c.SetFillStyle(bsSolid, clSilver);
    const int filled = c.AddRectangle(100, 200, 40, 30);
    auto pic = TestPicture(40, 20);
    const int picture = c.AddPicture(kSrcCopy, pic.get(), 150, 20, 40, 20);
    c.Redraw();

    const QRect tb = c.ElementBounds(text);
    EXPECT_EQ(c.ElementAtPoint(21, 22), text);
    EXPECT_EQ(c.ElementAtPoint(c.PixelToMmX(tb.right()) - 0.1, 22), text);
    EXPECT_EQ(c.ElementAtPoint(c.PixelToMmX(tb.right()) + 1, 22), -1);

    // A line: on it, near it (triangle area below 100 mm²), far from it, and
    // beyond its ends (box widened by 2 mm).
    EXPECT_EQ(c.ElementAtPoint(70, 125), line);
    EXPECT_EQ(c.ElementAtPoint(70, 126.5), line);
    EXPECT_EQ(c.ElementAtPoint(70, 128), -1);
    EXPECT_EQ(c.ElementAtPoint(121.5, 151), line);
    EXPECT_EQ(c.ElementAtPoint(123, 151.5), -1);

    // A clear rectangle only near its outline, a filled one strictly inside.
    EXPECT_EQ(c.ElementAtPoint(40, 200.4), frame);
    EXPECT_EQ(c.ElementAtPoint(19.6, 215), frame);
    EXPECT_EQ(c.ElementAtPoint(40, 215), -1);
    EXPECT_EQ(c.ElementAtPoint(40, 200.5), -1);
    EXPECT_EQ(c.ElementAtPoint(120, 215), filled);
    EXPECT_EQ(c.ElementAtPoint(100, 215), -1);

    EXPECT_EQ(c.ElementAtPoint(170, 30), picture);
    EXPECT_EQ(c.ElementAtPoint(190, 30), -1);

    // Where elements overlap the last added one wins.
    const int above = c.AddRectangle(110, 210, 10, 10);
    EXPECT_EQ(c.ElementAtPoint(115, 215), above);
    EXPECT_EQ(c.ElementAtPoint(105, 205), filled);
}

TEST_F(Interaction, PressMarksTheElementAndTheCursorShowsItsParts)
{
    c.SetFillStyle(bsSolid, clSilver);
    c.AddRectangle(10, 10, 20, 20);
    const int r = c.AddRectangle(50, 50, 40, 30);
    c.SetBearbeitbar(true);
    QSignalSpy marked(&c, &TDPaintbox::ONElementMarked);

    Hover(Px(70, 65));
    EXPECT_EQ(c.cursor().shape(), Qt::ArrowCursor) << "nothing is marked yet";
    QTest::mouseClick(&c, Qt::LeftButton, {}, Px(70, 60));
    ASSERT_EQ(marked.count(), 1);
    EXPECT_EQ(marked[0][0].toInt(), r);
    EXPECT_EQ(marked[0][1].toInt(), int(TDruckTyp::Rectangle));
    EXPECT_EQ(c.CurrentElement(), r);
    ElementInfo info;
    c.GetElementInfo(r, info);
    EXPECT_DOUBLE_EQ(info.x, 50.0) << "a click without movement leaves it where it is";
    const QRect b = c.ElementBounds(r);
    EXPECT_FALSE(c.MarkedAreaMm().isEmpty());

    Hover(Px(60, 55));
    EXPECT_EQ(c.cursor().shape(), Qt::SizeAllCursor);
    Hover(b.topLeft() + QPoint(3, -3));
    EXPECT_EQ(c.cursor().shape(), Qt::SizeFDiagCursor);
    Hover(QPoint(b.left() + b.width(), b.top() + b.height()));
    EXPECT_EQ(c.cursor().shape(), Qt::SizeFDiagCursor);
    Hover(QPoint(b.left() + b.width() - 2, b.top()));
    EXPECT_EQ(c.cursor().shape(), Qt::SizeBDiagCursor);
    Hover(QPoint(b.left() - 3, b.top() + b.height() + 4));
    EXPECT_EQ(c.cursor().shape(), Qt::SizeBDiagCursor);
    Hover(Px(120, 120));
    EXPECT_EQ(c.cursor().shape(), Qt::ArrowCursor);

    // A press beside every element marks nothing new.
    QTest::mouseClick(&c, Qt::LeftButton, {}, Px(150, 150));
    EXPECT_EQ(marked.count(), 1);
    EXPECT_EQ(c.CurrentElement(), -1);

    // Without the edit mode nothing is marked and the owner keeps the cursor.
    c.SetBearbeitbar(false);
    QTest::mouseClick(&c, Qt::LeftButton, {}, Px(20, 20));
    EXPECT_EQ(marked.count(), 1);
}

TEST_F(Interaction, DraggingMovesTheElementAndShiftKeepsOneAxis)
{
    c.SetFillStyle(bsSolid, clSilver);
    const int r = c.AddRectangle(50, 50, 40, 30);
    c.SetBearbeitbar(true);
    QSignalSpy changed(&c, &TDPaintbox::OnElementGeaendert);

    // While the button is down the drag rectangle shows where it would go.
    const QPoint from = Px(60, 60);
    Hover(from);
    QTest::mousePress(&c, Qt::LeftButton, {}, from);
    QTest::mouseMove(&c, from + QPoint(100, 60));
    const QImage during = Shot();
    const QRect b = c.ElementBounds(r);
    EXPECT_GT(BlueInRow(during, b.top() + 60, b.right() + 1, b.right() + 100), 20);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, from + QPoint(100, 60));

    ASSERT_EQ(changed.count(), 1);
    ElementInfo info;
    c.GetElementInfo(r, info);
    EXPECT_NEAR(info.x, 50 + c.PixelToMmX(100), 1e-9);
    EXPECT_NEAR(info.y, 50 + c.PixelToMmY(60), 1e-9);
    EXPECT_EQ(changed[0][0].toInt(), r);
    EXPECT_EQ(changed[0][1].toInt(), int(TDruckTyp::Rectangle));
    EXPECT_NEAR(changed[0][2].toDouble(), info.x, 1e-9);
    EXPECT_NEAR(changed[0][3].toDouble(), info.y, 1e-9);
    EXPECT_NEAR(changed[0][4].toDouble(), info.x + 40, 1e-9);
    EXPECT_NEAR(changed[0][5].toDouble(), info.y + 30, 1e-9);

    // With Shift at the press only the axis of the larger movement counts.
    const QPoint again = Px(info.x + 10, info.y + 10);
    Drag(again, again + QPoint(15, 50), Qt::ShiftModifier);
    ElementInfo after;
    c.GetElementInfo(r, after);
    EXPECT_NEAR(after.x, info.x, 1e-9);
    EXPECT_NEAR(after.y, info.y + c.PixelToMmY(50), 1e-9);
    const QPoint third0 = Px(after.x + 10, after.y + 10);
    Drag(third0, third0 + QPoint(-40, 12), Qt::ShiftModifier);
    ElementInfo third;
    c.GetElementInfo(r, third);
    EXPECT_NEAR(third.x, after.x - c.PixelToMmX(40), 1e-9);
    EXPECT_NEAR(third.y, after.y, 1e-9);
    EXPECT_EQ(changed.count(), 3);

    // Leaving the edit mode in the middle of a drag drops it, and the drag
    // rectangle goes with it.
    const QPoint last = Px(third.x + 10, third.y + 10);
    const QRect tb = c.ElementBounds(r);
    Hover(last);
    QTest::mousePress(&c, Qt::LeftButton, {}, last);
    QTest::mouseMove(&c, last + QPoint(0, 200));
    EXPECT_GT(BlueInRow(Shot(), tb.top() + 200, tb.left() + 1, tb.right() - 1), 20);
    c.SetBearbeitbar(false);
    EXPECT_EQ(BlueInRow(Shot(), tb.top() + 200, tb.left() + 1, tb.right() - 1), 0);
    c.SetBearbeitbar(true);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, last + QPoint(0, 200));
    EXPECT_EQ(changed.count(), 3);
    c.GetElementInfo(r, info);
    EXPECT_NEAR(info.x, third.x, 1e-9);
}

// A zoom in the middle of a drag (F5/F6 in the window) takes the drag along:
// the frame is drawn where the moved element lies at the new zoom, nothing
// stays at the old zoom's place, and the release moves by what the pointer
// travelled on the page.
TEST_F(Interaction, ZoomDuringADragRescalesTheFrame)
{
    c.SetFillStyle(bsSolid, clSilver);
    const int r = c.AddRectangle(50, 50, 40, 30);
    c.SetBearbeitbar(true);
    const QPoint from = Px(60, 60);
    Hover(from);
    QTest::mousePress(&c, Qt::LeftButton, {}, from);
    QTest::mouseMove(&c, from + QPoint(40, 20));
    const QRect atOne = c.DragFrame();
    ASSERT_FALSE(atOne.isEmpty());
    const QImage before = Shot();
    EXPECT_GT(BlueInRow(before, atOne.top(), atOne.left() + 2, atOne.right() - 2), 5);

    c.SetZoomFaktor(2.0);
    const QRect atTwo = c.DragFrame();
    EXPECT_NEAR(atTwo.left(), 2 * atOne.left(), 1);
    EXPECT_NEAR(atTwo.top(), 2 * atOne.top(), 1);
    EXPECT_NEAR(atTwo.width(), 2 * atOne.width(), 2);
    const QImage after = Shot();
    // The old frame's top edge lies inside the new frame's area, not on an
    // edge of it: nothing dotted is left there.
    EXPECT_EQ(BlueInRow(after, atOne.top(), atOne.left() + 2, atOne.left() + atOne.width() / 2), 0);
    EXPECT_GT(BlueInRow(after, atTwo.top(), atTwo.left() + 2, atTwo.right() - 2), 5);

    // On: the pointer goes to the page point 10 mm right of where it was
    // pressed and lets go; the element moves by 10 mm.
    const QPoint to = Px(70, 60);
    QTest::mouseMove(&c, to);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, to);
    ElementInfo info;
    c.GetElementInfo(r, info);
    EXPECT_NEAR(info.x, 60, 2 * c.PixelToMmX(1));
    EXPECT_NEAR(info.y, 50, 2 * c.PixelToMmY(1));
    EXPECT_TRUE(c.DragFrame().isEmpty());
    c.SetBearbeitbar(false);
}

TEST_F(Interaction, CtrlAtTheReleaseAddsAMovedCopy)
{
    c.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 0, 8.0, 0);
    const int t = c.AddText(QStringLiteral("Kopie"), 30, 30);
    c.Redraw();
    c.SetBearbeitbar(true);
    QSignalSpy changed(&c, &TDPaintbox::OnElementGeaendert);
    QSignalSpy list(&c, &TDPaintbox::OnElementListChange);

    const QPoint from = c.ElementBounds(t).center();
    Drag(from, from + QPoint(0, 80), {}, Qt::ControlModifier);

    ASSERT_EQ(c.ElementCount(), 2);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(c.CurrentElement(), 1);
    ElementInfo original, copy;
    c.GetElementInfo(t, original);
    c.GetElementInfo(1, copy);
    EXPECT_DOUBLE_EQ(original.y, 30.0);
    EXPECT_EQ(copy.text, QStringLiteral("Kopie"));
    EXPECT_DOUBLE_EQ(copy.x, 30.0);
    EXPECT_NEAR(copy.y, 30 + c.PixelToMmY(80), 1e-9);
    // The copy is the marked one now; the marking frame sits around it.
    EXPECT_NEAR(c.MarkedAreaMm().top(), c.PixelToMmY(c.ElementBounds(1).top()), 1e-9);
}

TEST_F(Interaction, CornersResizeRectanglesFromTheOppositeCorner)
{
    c.SetFillStyle(bsSolid, clSilver);
    const int r = c.AddRectangle(50, 50, 40, 20);
    c.SetBearbeitbar(true);
    Mark(Px(60, 60));
    QSignalSpy changed(&c, &TDPaintbox::OnElementGeaendert);

    // The handles lie on the marking frame, outside the filled inside.
    QRect b = c.ElementBounds(r);
    const QPoint br(b.left() + b.width(), b.top() + b.height());
    Hover(br);
    Drag(br, br + QPoint(b.width(), b.height() / 2));
    ElementInfo info;
    c.GetElementInfo(r, info);
    EXPECT_NEAR(info.x, 50, 1e-9);
    EXPECT_NEAR(info.y, 50, 1e-9);
    EXPECT_NEAR(info.width, 80, 1e-9);
    EXPECT_NEAR(info.height, 20.0 * (b.height() + b.height() / 2) / b.height(), 1e-9);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_NEAR(changed[0][4].toDouble(), 50 + info.width, 1e-9);

    // The top-left handle keeps the bottom-right corner.
    b = c.ElementBounds(r);
    Hover(b.topLeft());
    Drag(b.topLeft(), b.topLeft() + QPoint(b.width() / 2, b.height() / 3));
    ElementInfo small;
    c.GetElementInfo(r, small);
    EXPECT_NEAR(small.x + small.width, info.x + info.width, 1e-6);
    EXPECT_NEAR(small.y + small.height, info.y + info.height, 1e-6);
    EXPECT_NEAR(small.width, info.width * (b.width() - b.width() / 2) / b.width(), 1e-9);
    EXPECT_NEAR(small.height, info.height * (b.height() - b.height() / 3) / b.height(), 1e-9);

    // Dragging a corner past the opposite one does not turn it inside out.
    b = c.ElementBounds(r);
    Hover(b.topLeft());
    Drag(b.topLeft(), b.topLeft() + QPoint(b.width() * 3, b.height() * 3));
    c.GetElementInfo(r, info);
    EXPECT_GT(info.width, 0);
    EXPECT_GT(info.height, 0);
    EXPECT_NEAR(info.x + info.width, small.x + small.width, 1e-6);
}

TEST_F(Interaction, PicturesKeepTheirProportionUnlessShiftIsHeld)
{
    auto pic = TestPicture(60, 30);
    const int p = c.AddPicture(kSrcCopy, pic.get(), 40, 40, 60, 30);
    c.SetBearbeitbar(true);
    Mark(Px(50, 50));

    QRect b = c.ElementBounds(p);
    QPoint br(b.left() + b.width(), b.top() + b.height());
    Hover(br);
    Drag(br, br + QPoint(b.width() / 2, 0)); // wider only
    ElementInfo info;
    c.GetElementInfo(p, info);
    EXPECT_NEAR(info.width, 60.0 * (b.width() + b.width() / 2) / b.width(), 1e-9);
    EXPECT_NEAR(info.height, info.width / 2, 1e-9) << "height = width / (60 / 30)";
    EXPECT_NEAR(info.x, 40, 1e-9);
    EXPECT_NEAR(info.y, 40, 1e-9);

    b = c.ElementBounds(p);
    br = QPoint(b.left() + b.width(), b.top() + b.height());
    Hover(br);
    Drag(br, br + QPoint(0, b.height()), Qt::ShiftModifier); // twice as high, same width
    ElementInfo free;
    c.GetElementInfo(p, free);
    EXPECT_NEAR(free.width, info.width, 0.1);
    EXPECT_NEAR(free.height, 2 * info.height, 1e-9);
}

TEST_F(Interaction, LinesMoveTheEndOnTheGrabbedSide)
{
    const int l = c.AddLine(40, 40, 100, 80);
    c.SetBearbeitbar(true);
    c.Redraw();
    QSignalSpy changed(&c, &TDPaintbox::OnElementGeaendert);

    // Bottom-right handle: the second point follows, the first stays.
    Mark(Px(70, 60));
    QRect b = c.ElementBounds(l);
    const QPoint br(b.left() + b.width(), b.top() + b.height());
    Hover(br);
    Drag(br, br + QPoint(b.width() / 2, b.height()));
    ElementInfo info;
    c.GetElementInfo(l, info);
    EXPECT_NEAR(info.x, 40, 1e-9);
    EXPECT_NEAR(info.y, 40, 1e-9);
    EXPECT_NEAR(info.x2, 40 + 60.0 * (b.width() + b.width() / 2) / b.width(), 1e-9);
    EXPECT_NEAR(info.y2, 40 + 40.0 * 2, 1e-9);
    ASSERT_GE(changed.count(), 1);
    EXPECT_NEAR(changed.last()[4].toDouble(), info.x2, 1e-9);

    // Top-left handle: the first point moves, the second stays.
    b = c.ElementBounds(l);
    Hover(b.topLeft());
    Drag(b.topLeft(), b.topLeft() + QPoint(b.width() / 3, b.height() / 4));
    ElementInfo moved;
    c.GetElementInfo(l, moved);
    EXPECT_NEAR(moved.x2, info.x2, 1e-9);
    EXPECT_NEAR(moved.y2, info.y2, 1e-9);
    EXPECT_NEAR(moved.x, info.x2 - (info.x2 - 40) * (b.width() - b.width() / 3) / b.width(), 1e-9);
    EXPECT_NEAR(moved.y, info.y2 - (info.y2 - 40) * (b.height() - b.height() / 4) / b.height(), 1e-9);

    // On a rising line the top-left handle lifts the upper end and moves
    // the lower one to the left: the bottom-right corner of its box stays.
    const int rising = c.AddLine(40, 250, 100, 210);
    c.Redraw();
    Mark(Px(70, 230));
    b = c.ElementBounds(rising);
    Hover(b.topLeft());
    Drag(b.topLeft(), b.topLeft() - QPoint(b.width() / 2, b.height() / 2));
    ElementInfo risen;
    c.GetElementInfo(rising, risen);
    EXPECT_NEAR(risen.y, 250, 1e-9);
    EXPECT_NEAR(risen.x2, 100, 1e-9);
    EXPECT_NEAR(risen.x, 100 - 60.0 * (b.width() + b.width() / 2) / b.width(), 1e-9);
    EXPECT_NEAR(risen.y2, 250 - 40.0 * (b.height() + b.height() / 2) / b.height(), 1e-9);

    // A horizontal line is one pixel high, but taken a millimetre beside it.
    const int flat = c.AddLine(20, 280, 60, 280);
    c.Redraw();
    Drag(Px(30, 279), Px(30, 279) - QPoint(0, 40));
    ElementInfo flatInfo;
    c.GetElementInfo(flat, flatInfo);
    EXPECT_NEAR(flatInfo.y, 280 - c.PixelToMmY(40), 1e-9);
}

TEST_F(Interaction, TextsScaleTheirHeightAndKeepTheOppositeCorner)
{
    c.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, 4, 6.0, 0); // centre-middle
    const int t = c.AddText(QStringLiteral("Rücken"), 100, 100);
    c.SetBearbeitbar(true);
    c.Redraw();
    ElementInfo before;
    c.GetElementInfo(t, before);

    QRect b = c.ElementBounds(t);
    Mark(b.center());
    Hover(b.topLeft());
    Drag(b.topLeft(), b.topLeft() - QPoint(b.width(), 5)); // twice as wide
    ElementInfo after;
    c.GetElementInfo(t, after);
    EXPECT_NEAR(after.textHeight, 12.0, 0.2);
    EXPECT_NEAR(after.width / before.width, 2.0, 0.05) << "measured again";
    // The bottom-right corner of the block stays where it was.
    EXPECT_NEAR(after.x + after.width / 2, before.x + before.width / 2, 0.05);
    EXPECT_NEAR(after.y + after.height / 2, before.y + before.height / 2, 0.05);
}
