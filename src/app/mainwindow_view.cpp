// TForm1: zoom, panning, pointer position, rulers and keys.
#include "app/mainwindow.h"

#include "controls/MUVButton.h"
#include "controls/MUVPixelLineal.h"
#include "controls/MUVScrollBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

double TForm1::ZoomMinusStep(double zoom)
{
    if (zoom >= 2)
        return std::trunc(zoom - 1);
    const double k = std::nearbyint(zoom * 10); // half to even
    if (k <= 1)
        return 0.1;
    if (k <= 3)
        return 0.25;
    if (k <= 5)
        return 0.33333;
    if (k <= 9)
        return 0.5;
    if (k <= 14)
        return 0.66666;
    return 1.0;
}

void TForm1::ZoomChanged()
{
    if (fieldHighlight_)
        fieldHighlight_->hide();
    LayoutContent();
    DPaintbox1XYChange(0, 0);
    SyncRulers();
}

void TForm1::BTN_plusClick()
{
    canvas_->SetZoomFaktor(std::trunc(canvas_->ZoomFaktor() + 1));
    ZoomChanged();
}

void TForm1::BTN_minusClick()
{
    canvas_->SetZoomFaktor(ZoomMinusStep(canvas_->ZoomFaktor()));
    ZoomChanged();
}

void TForm1::BTN_AllesClick()
{
    // The page's pixel size at zoom 1.
    const canvas::TPageMapping m = canvas_->Page().Mapping(1.0);
    const double zx = (scrollBox_->width() - bvl2_->width()) / (canvas_->PageWidthMm() * m.pixelPerMmX);
    const double zy = (scrollBox_->height() - bvl1_->height()) / (canvas_->PageHeightMm() * m.pixelPerMmY);
    canvas_->SetZoomFaktor(std::min(zx, zy));
    ZoomChanged();
}

void TForm1::FormResize()
{
    if (!canvas_)
        return;
    const canvas::TPageMapping m = canvas_->Page().Mapping(1.0);
    const int bw = m.LenToPixelTruncX(canvas_->PageWidthMm());
    const int bh = m.LenToPixelTruncY(canvas_->PageHeightMm());
    const QRect client = scrollBox_->contentsRect();
    const int e = client.width() - 20, f = client.height() - 20;
    if (bw > 0 && bh > 0 && e > 0 && f > 0) {
        canvas_->SetZoomFaktor(std::min(double(e) / bw, double(f) / bh));
        LayoutContent();
    }
    SyncRulers();
    QFont bold = previewCaption_->font();
    bold.setBold(width() >= 1000);
    previewCaption_->setFont(bold);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::SyncRulers()
{
    if (!canvas_ || canvas_->PageWidthMm() <= 0)
        return;
    // The shown page measures its own pixels; before any sheet is open the
    // rulers show the scale the page will have at the current zoom.
    const canvas::TPageMapping m = canvas_->Mapping();
    const double factor =
        canvas_->isHidden() ? m.pixelPerMmX * m.zoom : canvas_->width() / canvas_->PageWidthMm();
    const int h = scrollBox_->horizontalScrollBar()->value();
    const int v = scrollBox_->verticalScrollBar()->value();
    linH_->SetValues(h > 0 ? h / factor : 0, factor);
    linV_->SetValues(v > 0 ? v / factor : 0, factor);
}

void TForm1::DPaintbox1XYChange(double x, double y)
{
    const QLocale locale;
    panels_[1]->setText(locale.toString(x, 'f', 1) + QStringLiteral(" mm"));
    panels_[3]->setText(locale.toString(y, 'f', 1) + QStringLiteral(" mm"));
    panels_[5]->setText(locale.toString(canvas_->ZoomFaktor(), 'f', 2));
    CursorX = x;
    CursorY = y;
}

namespace
{
// A dotted frame in the highlight colour, laid over the canvas.
class DottedFrame : public QWidget
{
  public:
    explicit DottedFrame(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};
} // namespace

int TForm1::MarkAtCursor()
{
    canvas_->Redraw();
    if (!fieldHighlight_)
        fieldHighlight_ = new DottedFrame(canvas_);
    fieldHighlight_->hide();
    if (const TRSObject *f = document_->Sheet().FieldAtPoint(CursorX, CursorY)) {
        canvas_->SetMarkRect(true, f->Left, f->Top, f->Width, f->Height);
        const canvas::TPageMapping m = canvas_->Mapping();
        const int left = m.LenToPixelTruncX(f->Left), top = m.LenToPixelTruncY(f->Top);
        const int right = left + m.LenToPixelTruncX(f->Width);
        const int bottom = top + m.LenToPixelTruncY(f->Height);
        fieldHighlight_->setGeometry(QRect(QPoint(left, top), QPoint(right, bottom)));
        fieldHighlight_->show();
        fieldHighlight_->raise();
        return 2;
    }
    if (const TRSSpalte *c = document_->Sheet().ColumnAtPoint(CursorX, CursorY)) {
        canvas_->SetMarkRect(true, c->Left, c->Top, c->Width, c->Height);
        return 1;
    }
    canvas_->SetMarkRect(false, 0, 0, 0, 0);
    return 0;
}

void TForm1::UnmarkField()
{
    if (fieldHighlight_)
        fieldHighlight_->hide();
    canvas_->SetMarkRect(false, 0, 0, 0, 0);
}

void TForm1::btn_workClick()
{
    canvas_->SetBearbeitbar(Button(QStringLiteral("btn_work"))->isChecked());
    canvas_->Redraw();
}

void TForm1::CanvasMouseDown(QMouseEvent *e)
{
    if (e->button() == Qt::MiddleButton) {
        panning_ = true;
        canvas_->setCursor(Qt::SizeAllCursor);
        panLast_ = e->position().toPoint();
    }
    pressed_ = e->button() == Qt::LeftButton;
}

void TForm1::CanvasMouseMove(QMouseEvent *e)
{
    if (panning_) {
        const QPoint p = e->position().toPoint();
        const int dx = PanStep(p.x() - panLast_.x()), dy = PanStep(p.y() - panLast_.y());
        QScrollBar *hb = scrollBox_->horizontalScrollBar(), *vb = scrollBox_->verticalScrollBar();
        const int h0 = hb->value(), v0 = vb->value();
        hb->setValue(h0 - dx);
        vb->setValue(v0 - dy);
        // The page moved under the pointer by what was really scrolled:
        // measure the next step from where the pointer now is on the page,
        // so that the page follows the hand one to one.
        panLast_ = p - QPoint(h0 - hb->value(), v0 - vb->value());
        return;
    }
}

void TForm1::CanvasMouseUp(QMouseEvent *e)
{
    const bool click = pressed_ && e->button() == Qt::LeftButton && !panning_;
    pressed_ = false;
    if (panning_) {
        panning_ = false;
        panLast_ = QPoint();
        canvas_->unsetCursor();
        canvas_->Redraw();
    }
    SyncRulers();
    if (click)
        DPaintbox1Click();
}

void TForm1::DPaintbox1Click()
{
    if (canvas_->Bearbeitbar()) {
        canvas_->Redraw();
        return;
    }
    // The field under the pointer opens in the field editor, a click beside
    // the fields opens the context menu.
    pm_el_workClick();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == canvas_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            CanvasMouseDown(static_cast<QMouseEvent *>(event));
            break;
        case QEvent::MouseMove:
            CanvasMouseMove(static_cast<QMouseEvent *>(event));
            break;
        case QEvent::MouseButtonRelease:
            CanvasMouseUp(static_cast<QMouseEvent *>(event));
            break;
        default:
            break;
        }
        return false;
    }
    // The window sees the view keys before its controls, on release (it
    // filters the whole application, the canvas's mouse events included).
    if (event->type() == QEvent::KeyRelease && isActiveWindow() && canvas_->isVisible()) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (!k->isAutoRepeat() && QApplication::activeModalWidget() == nullptr) {
            if (k->key() == Qt::Key_F5) {
                BTN_plusClick();
                return true;
            }
            if (k->key() == Qt::Key_F6) {
                BTN_minusClick();
                return true;
            }
            if (k->key() == Qt::Key_F7) {
                BTN_AllesClick();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
