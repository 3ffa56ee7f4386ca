#include "controls/MUVPixelLineal.h"
#include "controls/MUVScrollBox.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

struct ScrollRecord {
    bool vert;
    int pos;
    QPoint contentPos; // where the content was when the signal came
};

// A box of 200 x 150 pixels around content of the given size.
struct Box {
    TMUVScrollBox box;
    QWidget *content = new QWidget;
    std::vector<ScrollRecord> scrolls;

    explicit Box(QSize contentSize = QSize(2000, 3000))
    {
        content->resize(contentSize);
        box.setWidget(content);
        box.resize(200, 150);
        box.show();
        QApplication::processEvents();
        QObject::connect(&box, &TMUVScrollBox::OnScroll, [this](bool vert, int pos) {
            scrolls.push_back({vert, pos, content->pos()});
        });
    }

    void Wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier, QPoint angle = {})
    {
        const QPoint at(50, 50);
        const QPoint angleDelta = angle.isNull() ? QPoint(0, delta) : angle;
        QWheelEvent ev(at, box.viewport()->mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton, mods,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(box.viewport(), &ev);
    }
};

} // namespace

TEST(ScrollBox, ReportsEveryMoveAfterTheContentMoved)
{
    Box b;
    QScrollBar *v = b.box.verticalScrollBar();
    QScrollBar *h = b.box.horizontalScrollBar();
    ASSERT_GT(v->maximum(), 300);
    ASSERT_GT(h->maximum(), 300);

    // Set by the owner, as panning does.
    v->setValue(120);
    h->setValue(75);
    ASSERT_EQ(b.scrolls.size(), 2u);
    EXPECT_TRUE(b.scrolls[0].vert);
    EXPECT_EQ(b.scrolls[0].pos, 120);
    EXPECT_EQ(b.scrolls[0].contentPos.y(), -120);
    EXPECT_FALSE(b.scrolls[1].vert);
    EXPECT_EQ(b.scrolls[1].pos, 75);
    EXPECT_EQ(b.scrolls[1].contentPos, QPoint(-75, -120));

    // No move, no report.
    b.scrolls.clear();
    v->setValue(120);
    EXPECT_TRUE(b.scrolls.empty());

    // Dragging the handle moves the content on every step, before release.
    v->setSliderDown(true);
    v->setSliderPosition(200);
    v->setSliderPosition(260);
    ASSERT_EQ(b.scrolls.size(), 2u);
    EXPECT_EQ(b.scrolls[1].pos, 260);
    EXPECT_EQ(b.scrolls[1].contentPos.y(), -260);
    v->setSliderDown(false);

    // Paging with the bar.
    b.scrolls.clear();
    h->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(b.scrolls.size(), 1u);
    EXPECT_FALSE(b.scrolls[0].vert);
    EXPECT_EQ(b.scrolls[0].pos, 75 + h->pageStep());
}

TEST(ScrollBox, OwnerCanTakeOverTheWheel)
{
    Box b;
    QScrollBar *v = b.box.verticalScrollBar();

    // Nobody listening: the wheel scrolls.
    b.Wheel(-120);
    EXPECT_GT(v->value(), 0);
    ASSERT_FALSE(b.scrolls.empty());
    v->setValue(0);
    b.scrolls.clear();

    // The general handler comes first; if it leaves the wheel, the
    // direction handlers run once per whole notch (parts add up). Whoever
    // takes it stops the box from scrolling.
    bool takeAll = false;
    int general = 0, ups = 0, downs = 0;
    QObject::connect(&b.box, &TMUVScrollBox::OnMouseWheel,
                     [&](Qt::KeyboardModifiers, int delta, QPoint, bool *handled) {
                         general += delta;
                         *handled = takeAll;
                     });
    QObject::connect(&b.box, &TMUVScrollBox::OnMouseWheelUp,
                     [&](Qt::KeyboardModifiers shift, QPoint, bool *handled) {
                         ups += shift == Qt::ControlModifier ? 1 : 100;
                         *handled = true;
                     });
    QObject::connect(&b.box, &TMUVScrollBox::OnMouseWheelDown,
                     [&](Qt::KeyboardModifiers, QPoint, bool *handled) {
                         ++downs;
                         *handled = true;
                     });
    b.Wheel(240, Qt::ControlModifier);
    EXPECT_EQ(ups, 2);
    b.Wheel(-120);
    EXPECT_EQ(downs, 1);
    b.Wheel(60, Qt::ControlModifier);
    EXPECT_EQ(ups, 2);
    b.Wheel(60, Qt::ControlModifier);
    EXPECT_EQ(ups, 3);
    EXPECT_EQ(general, 240 - 120 + 60 + 60);

    takeAll = true;
    b.Wheel(-120);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(v->value(), 0);
    EXPECT_TRUE(b.scrolls.empty());

    // A sideways wheel scrolls sideways.
    b.Wheel(0, Qt::NoModifier, QPoint(-120, 0));
    EXPECT_GT(b.box.horizontalScrollBar()->value(), 0);
}

TEST(ScrollBox, RulersFollowTheScrolledPage)
{
    // A page 210 mm wide at 2.6666 pixels per millimetre, the ruler above
    // the box's viewport; the owner keeps the ruler in step on every scroll.
    const double perMm = 2.6666;
    Box b(QSize(int(210 * perMm), int(297 * perMm)));
    TMUVPixelLineal ruler;
    ruler.SetLinealTyp(lin_horizontal);
    ruler.resize(b.box.viewport()->width(), 24);
    ruler.SetColorNoTextLines(0x00C000);
    ruler.SetColorLinesText(0xFF0000);
    ruler.SetValues(0, perMm);
    QObject::connect(&b.box, &TMUVScrollBox::OnScroll, [&](bool vert, int pos) {
        if (!vert)
            ruler.SetLeftValue(pos > 0 ? pos / perMm : 0);
    });

    QScrollBar *h = b.box.horizontalScrollBar();
    for (int pos : {0, 1, 37, 200, h->maximum()}) {
        h->setValue(pos);
        const QImage img = ruler.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Every tick must sit where the page shows that millimetre.
        int ticks = 0;
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, 23);
            if (c != qRgb(0, 0xC0, 0) && c != qRgb(0, 0, 0xFF))
                continue;
            ++ticks;
            const double mm = (x - b.content->x()) / perMm;
            // within the rounding of the tick and of its offset
            EXPECT_NEAR(mm, std::round(mm), 1.0 / perMm + 1e-9) << "pos " << pos << " x " << x;
        }
        EXPECT_GT(ticks, 10) << pos;
        // The millimetre at the viewport's left edge is what the ruler starts with.
        EXPECT_NEAR(ruler.LeftValue(), -b.content->x() / perMm, 1e-9);
    }
}

TEST(ScrollBox, PlainOrPatternedBackground)
{
    Box b(QSize(400, 400));
    // A blue control on the content.
    auto *child = new QWidget(b.content);
    child->setGeometry(20, 20, 60, 60);
    child->setAutoFillBackground(true);
    QPalette pal = child->palette();
    pal.setColor(QPalette::Window, Qt::blue);
    child->setPalette(pal);
    child->show();

    const QPoint vp = b.box.viewport()->pos();
    auto shot = [&] { return b.box.grab().toImage().convertToFormat(QImage::Format_RGB32); };

    // Off: a plain box.
    QImage img = shot();
    const QRgb plain = b.box.viewport()->palette().color(QPalette::Window).rgb();
    EXPECT_EQ(img.pixel(vp + QPoint(100, 100)), plain);
    EXPECT_EQ(img.pixel(vp + QPoint(116, 100)), plain);

    // The default pattern: 16-pixel squares, white at the content's origin.
    const QImage pattern = TMUVScrollBox::DefaultBackgroundPattern();
    EXPECT_EQ(pattern.size(), QSize(32, 32));
    EXPECT_EQ(pattern.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(pattern.pixel(16, 0), qRgb(224, 224, 224));
    EXPECT_EQ(pattern.pixel(0, 16), qRgb(224, 224, 224));
    EXPECT_EQ(pattern.pixel(31, 31), qRgb(255, 255, 255));

    b.box.SetBackgroundOn(true);
    img = shot();
    EXPECT_EQ(img.pixel(vp + QPoint(100, 100)), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(vp + QPoint(116, 100)), qRgb(224, 224, 224));
    EXPECT_EQ(img.pixel(vp + QPoint(50, 50)), qRgb(0, 0, 255));

    // It scrolls with the content.
    b.box.horizontalScrollBar()->setValue(16);
    img = shot();
    EXPECT_EQ(img.pixel(vp + QPoint(100, 100)), qRgb(224, 224, 224));
    EXPECT_EQ(img.pixel(vp + QPoint(116, 100)), qRgb(255, 255, 255));
    b.box.horizontalScrollBar()->setValue(0);

    // Shadow right of and below the control, darkest next to it.
    b.box.SetShadowOn(true);
    EXPECT_EQ(b.box.ShadowOffset(), 8);
    img = shot();
    const int near = qGray(img.pixel(vp + QPoint(80, 50)));
    const int far = qGray(img.pixel(vp + QPoint(87, 50)));
    const int below = qGray(img.pixel(vp + QPoint(50, 80)));
    EXPECT_LT(near, far);
    EXPECT_LT(below, 224);
    EXPECT_GE(near, 158);
    // Nothing beyond its depth.
    EXPECT_GT(qGray(img.pixel(vp + QPoint(88, 50))), far);
    // It starts lower, like a drop shadow.
    EXPECT_EQ(img.pixel(vp + QPoint(80, 21)), qRgb(255, 255, 255));

    // Any pattern can be set; an empty one restores the default.
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    b.box.SetBackgroundBMP(red);
    b.box.SetShadowOn(false);
    img = shot();
    EXPECT_EQ(img.pixel(vp + QPoint(150, 100)), qRgb(255, 0, 0));
    b.box.SetBackgroundBMP(QImage());
    EXPECT_EQ(b.box.BackgroundBMP(), pattern);

    // Off again: the content paints its own background as usual.
    b.box.SetBackgroundOn(false);
    EXPECT_TRUE(b.content->autoFillBackground());

    // Content set after the pattern was switched on lets it through as well.
    TMUVScrollBox late;
    late.SetBackgroundOn(true);
    auto *page = new QWidget;
    late.setWidget(page);
    QApplication::processEvents();
    EXPECT_FALSE(page->autoFillBackground());
}
