#include "canvas/dpaintbox.h"

#include "canvas/geometry.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace canvas
{

namespace
{
constexpr double kMinZoom = 0.1, kMaxZoom = 10.0;
} // namespace

TDPaintbox::TDPaintbox(QWidget *parent) : QWidget(parent), ownPage_(std::make_unique<TDPage>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the pointer position is reported on every move
    ViewPage(ownPage_.get());
}

TDPaintbox::~TDPaintbox()
{
    if (page_)
        page_->OnElementListChange = nullptr;
}

void TDPaintbox::ViewPage(TDPage *page)
{
    if (page_ && page_ != page)
        page_->OnElementListChange = nullptr;
    page_ = page;
    page_->OnElementListChange = [this] { emit OnElementListChange(); };
    ResizeToPage();
}

void TDPaintbox::SetPage(TDPage *page)
{
    ViewPage(page ? page : ownPage_.get());
    currentElement_ = -1;
    update();
}

TDrawTarget TDPaintbox::ScreenTarget() const
{
    TDrawTarget t = page_->ScreenTarget(zoom_);
    t.smoothPictures = grafikenWeich_;
    t.jpegScale = jpegScale_;
    return t;
}

// ---------------------------------------------------------------------------
// Printer page

void TDPaintbox::SetPageSetup(const platform::PageSetup &setup)
{
    page_->SetPageSetup(setup);
    ResizeToPage();
    update();
}

QString TDPaintbox::PaperName() const
{
    return page_->PaperName();
}

void TDPaintbox::ResizeToPage()
{
    resize(std::max(1, PosToPixelX(PageWidthMm())), std::max(1, PosToPixelY(PageHeightMm())));
}

// ---------------------------------------------------------------------------
// Zoom, placement, grid

void TDPaintbox::SetZoomFaktor(double z)
{
    if (!(z >= kMinZoom))
        z = kMinZoom;
    if (z > kMaxZoom)
        z = kMaxZoom;
    const double before = zoom_;
    zoom_ = z;
    if (dragging_ && before > 0 && z != before)
        RescaleDrag(z / before);
    ResizeToPage();
    ForgetCrosshair();
    emit OnZoomChanged();
}

void TDPaintbox::SetMaszstab(double m)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    page_->SetMaszstab(m);
    QGuiApplication::restoreOverrideCursor();
}

void TDPaintbox::SetOffsetX(double v)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    page_->SetOffsetX(v);
    QGuiApplication::restoreOverrideCursor();
}

void TDPaintbox::SetOffsetY(double v)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    page_->SetOffsetY(v);
    QGuiApplication::restoreOverrideCursor();
}

void TDPaintbox::Relayout()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    page_->Relayout();
    QGuiApplication::restoreOverrideCursor();
}

void TDPaintbox::SetRaster(bool on)
{
    raster_ = on;
    update();
}

void TDPaintbox::SetRasterweite(double v)
{
    if (page_->SetRasterweite(v) && raster_)
        update();
}

int TDPaintbox::PosToPixelX(double x) const
{
    return Mapping().PosToPixelX(x);
}
int TDPaintbox::PosToPixelY(double y) const
{
    return Mapping().PosToPixelY(y);
}
int TDPaintbox::LenToPixelX(double len) const
{
    return Mapping().LenToPixelX(len);
}
int TDPaintbox::LenToPixelY(double len) const
{
    return Mapping().LenToPixelY(len);
}
int TDPaintbox::LenToPixelTruncX(double len) const
{
    return Mapping().LenToPixelTruncX(len);
}
int TDPaintbox::LenToPixelTruncY(double len) const
{
    return Mapping().LenToPixelTruncY(len);
}
double TDPaintbox::PixelToMmNoSnapX(double px) const
{
    return Mapping().PixelToLenX(px);
}
double TDPaintbox::PixelToMmNoSnapY(double px) const
{
    return Mapping().PixelToLenY(px);
}
double TDPaintbox::PixelToMmX(double px) const
{
    return SnapToGrid(PixelToMmNoSnapX(px));
}
double TDPaintbox::PixelToMmY(double px) const
{
    return SnapToGrid(PixelToMmNoSnapY(px));
}
double TDPaintbox::SnapToGrid(double v) const
{
    return page_->SnapToGrid(v);
}

// ---------------------------------------------------------------------------
// Appearance

void TDPaintbox::SetBlattfarbe(TColor c)
{
    page_->SetBlattfarbe(c);
    update();
}

void TDPaintbox::SetBlattFarbeRaender(TColor c)
{
    blattFarbeRaender_ = c;
    update();
}

void TDPaintbox::SetRasterFarbe(TColor c)
{
    rasterFarbe_ = c;
    update();
}

void TDPaintbox::SetDruckrand(bool on)
{
    druckrand_ = on;
    update();
}

void TDPaintbox::ShowPageInfos(bool on)
{
    page_->SetPageInfosShown(on);
    druckrand_ = true;
    Redraw();
}

// ---------------------------------------------------------------------------
// Pages

bool TDPaintbox::SelectPage(int page, bool redraw, QString *error)
{
    if (!page_->SelectPage(page, error))
        return false;
    if (redraw)
        Redraw();
    return true;
}

void TDPaintbox::Redraw()
{
    if (isVisible())
        repaint();
}

void TDPaintbox::SetMarkRect(bool on, double x, double y, double width, double height)
{
    const bool changed = on || page_->MarkRectOn();
    page_->SetMarkRect(on, x, y, width, height);
    // Switching the frame off must take it off the screen as well.
    if (changed)
        Redraw();
}

QString TDPaintbox::ClipboardFormatName()
{
    return QStringLiteral("DPaintboxElement");
}

// ---------------------------------------------------------------------------
// Painting and output

void TDPaintbox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect clip = event->rect() & rect();
    const TPageMapping m = Mapping();
    p.fillRect(clip, ToQColor(Blattfarbe()));
    const int W = width(), H = height();
    const double ox = PrintOffsetXMm(), oy = PrintOffsetYMm();
    const double pw = PrintableWidthMm(), ph = PrintableHeightMm();
    if (druckrand_ && blattFarbeRaender_ != Blattfarbe()) {
        const QColor c = ToQColor(blattFarbeRaender_);
        const int left = m.PosToPixelX(ox), top = m.PosToPixelY(oy);
        const int bottom = m.PosToPixelY(oy + ph), right = m.PosToPixelX(ox + pw);
        p.fillRect(QRect(0, 0, left, H), c);
        p.fillRect(QRect(0, 0, W, top), c);
        p.fillRect(QRect(0, bottom, W, H - bottom), c);
        p.fillRect(QRect(right, 0, W - right, H), c);
    }
    const double grid = Rasterweite();
    if (raster_ && grid > 0) {
        p.setPen(QPen(ToQColor(rasterFarbe_), 0));
        for (int k = 1;; ++k) {
            const int x = m.PosToPixelX(k * grid);
            if (x > clip.right())
                break;
            if (x >= clip.left())
                p.drawLine(x, clip.top(), x, clip.bottom());
        }
        for (int k = 1;; ++k) {
            const int y = m.PosToPixelY(k * grid);
            if (y > clip.bottom())
                break;
            if (y >= clip.top())
                p.drawLine(clip.left(), y, clip.right(), y);
        }
        p.setPen(QPen(ToQColor(clGray), 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, W - 1, H - 1);
    }

    QRect marked;
    TDrawTarget target = ScreenTarget();
    target.clip = &clip;
    target.recordBounds = true;
    target.markedUnion = &marked;
    page_->Draw(p, target);
    if (!marked.isEmpty()) {
        DrawMarkingFrame(p, marked);
        const double s = Maszstab();
        markedAreaMm_ = QRectF(m.PixelToLenX(marked.left()) * s, m.PixelToLenY(marked.top()) * s,
                               m.PixelToLenX(marked.width()) * s, m.PixelToLenY(marked.height()) * s);
    } else {
        markedAreaMm_ = QRectF();
    }

    if (PageInfosShown()) {
        TDrawTarget overlay = ScreenTarget();
        page_->DrawList(p, page_->PageInfoElements(), overlay);
    }

    if (druckrand_) {
        p.setPen(QPen(ToQColor(clGray), 0, Qt::DotLine));
        const int x1 = m.PosToPixelX(ox), x2 = m.PosToPixelX(ox + pw);
        const int y1 = m.PosToPixelY(oy), y2 = m.PosToPixelY(oy + ph);
        p.drawLine(x1, 0, x1, H);
        p.drawLine(x2, 0, x2, H);
        p.drawLine(0, y1, W, y1);
        p.drawLine(0, y2, W, y2);
    }

    DrawInteraction(p);

    if (MarkRectOn())
        page_->DrawMarkRect(p, ScreenTarget());
}

void TDPaintbox::DrawMarkingFrame(QPainter &p, const QRect &r)
{
    p.save();
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    QPen pen(ToQColor(clBlue), 1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({1, 3});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    const int right = r.left() + r.width(), bottom = r.top() + r.height();
    const QPoint handles[] = {{r.left(), r.top()},
                              {right, r.top()},
                              {r.left(), bottom},
                              {right, bottom},
                              {(r.left() + right) / 2, (r.top() + bottom) / 2}};
    for (const QPoint &h : handles)
        p.fillRect(QRect(h.x() - 4, h.y() - 4, 9, 9), Qt::black);
    p.restore();
}

void TDPaintbox::RenderToBitmap(QImage &bitmap, TColor background, double zoom) const
{
    TDrawTarget target = ScreenTarget();
    target.map.zoom = zoom;
    page_->RenderToBitmap(bitmap, background, target);
}

} // namespace canvas
