// The drawing routine of TDPaintbox: one set of functions that draws the
// elements on the screen, into a bitmap and on the printer. Only the target,
// the pixel scale and the origin differ.

#include "canvas/dpaintbox.h"

#include "canvas/geometry.h"
#include "canvas/text_metrics.h"
#include "platform/printer.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace canvas
{

namespace
{
constexpr double kMmPerInch = 25.4;

// Puts back what printing or rendering changed, also when drawing throws.
template <typename F> struct ScopeExit {
    F f;
    ~ScopeExit() { f(); }
};
template <typename F> ScopeExit(F) -> ScopeExit<F>;

Qt::PenStyle QtPenStyle(int style)
{
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}
} // namespace

void TDPaintbox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect clip = event->rect() & rect();
    if (printing_) {
        // The metrics belong to the printer right now; the page follows once
        // the print job is done.
        p.fillRect(clip, ToQColor(blattfarbe_));
        return;
    }
    pixelPerMmX_ = screenDpi_ / kMmPerInch;
    pixelPerMmY_ = screenDpi_ / kMmPerInch;

    p.fillRect(clip, ToQColor(blattfarbe_));
    const int W = width(), H = height();
    if (druckrand_ && blattFarbeRaender_ != blattfarbe_) {
        const QColor c = ToQColor(blattFarbeRaender_);
        const int left = PosToPixelX(printOffsetXMm_), top = PosToPixelY(printOffsetYMm_);
        const int bottom = PosToPixelY(printOffsetYMm_ + printableHeightMm_);
        const int right = PosToPixelX(printOffsetXMm_ + printableWidthMm_);
        p.fillRect(QRect(0, 0, left, H), c);
        p.fillRect(QRect(0, 0, W, top), c);
        p.fillRect(QRect(0, bottom, W, H - bottom), c);
        p.fillRect(QRect(right, 0, W - right, H), c);
    }
    if (raster_ && rasterweite_ > 0) {
        p.setPen(QPen(ToQColor(rasterFarbe_), 0));
        for (int k = 1;; ++k) {
            const int x = PosToPixelX(k * rasterweite_);
            if (x > clip.right())
                break;
            if (x >= clip.left())
                p.drawLine(x, clip.top(), x, clip.bottom());
        }
        for (int k = 1;; ++k) {
            const int y = PosToPixelY(k * rasterweite_);
            if (y > clip.bottom())
                break;
            if (y >= clip.top())
                p.drawLine(clip.left(), y, clip.right(), y);
        }
        p.setPen(QPen(ToQColor(clGray), 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, W - 1, H - 1);
    }

    markUnion_ = QRect();
    DrawLayers(p, &clip, true);
    if (!markUnion_.isEmpty()) {
        DrawMarkingFrame(p, markUnion_);
        markedAreaMm_ = QRectF(markUnion_.left() * maszstab_ / (zoom_ * pixelPerMmX_),
                               markUnion_.top() * maszstab_ / (zoom_ * pixelPerMmY_),
                               markUnion_.width() * maszstab_ / (zoom_ * pixelPerMmX_),
                               markUnion_.height() * maszstab_ / (zoom_ * pixelPerMmY_));
    } else {
        markedAreaMm_ = QRectF();
    }

    if (showPageInfos_)
        DrawElements(p, pageInfo_, nullptr, false);

    if (druckrand_) {
        p.setPen(QPen(ToQColor(clGray), 0, Qt::DotLine));
        const int x1 = PosToPixelX(printOffsetXMm_), x2 = PosToPixelX(printOffsetXMm_ + printableWidthMm_);
        const int y1 = PosToPixelY(printOffsetYMm_), y2 = PosToPixelY(printOffsetYMm_ + printableHeightMm_);
        p.drawLine(x1, 0, x1, H);
        p.drawLine(x2, 0, x2, H);
        p.drawLine(0, y1, W, y1);
        p.drawLine(0, y2, W, y2);
    }

    DrawInteraction(p);

    if (markRectOn_)
        DrawRect(p, markFrame_, nullptr);
}

void TDPaintbox::DrawLayers(QPainter &p, const QRect *clip, bool marking)
{
    if (seite0Ausgabe_ && currentPage_ != 0)
        DrawElements(p, pages_[0], clip, marking);
    DrawElements(p, pages_[size_t(currentPage_)], clip, marking);
}

void TDPaintbox::DrawElements(QPainter &p, const std::vector<std::unique_ptr<TDElement>> &list,
                              const QRect *clip, bool marking)
{
    for (const auto &e : list)
        DrawElement(p, *e, clip, marking);
}

void TDPaintbox::DrawElement(QPainter &p, TDElement &e, const QRect *clip, bool marking)
{
    switch (e.kind) {
    case TDruckTyp::Text:
        DrawText(p, static_cast<TDTText &>(e), clip);
        break;
    case TDruckTyp::Line:
        DrawLine(p, static_cast<TDTLine &>(e), clip, xRechts_);
        break;
    case TDruckTyp::Rectangle:
        DrawRect(p, static_cast<TDTRect &>(e), clip);
        break;
    case TDruckTyp::Circle:
        DrawCircle(p, static_cast<TDTCircle &>(e), clip);
        break;
    case TDruckTyp::Picture:
        DrawPicture(p, static_cast<TDTPicture &>(e), clip);
        break;
    default:
        return;
    }
    if (marking && e.marked)
        markUnion_ |= e.bounds;
}

void TDPaintbox::DrawText(QPainter &p, TDTText &t, const QRect *clip)
{
    const int hp = LenToPixelY(t.height);
    const int sp = LenToPixelY(t.height * lineFactor_);
    const int h = t.alignment / 3, v = t.alignment % 3;
    const int s0 = v == 0 ? 0 : v == 1 ? LenToPixelY(t.blockHeight / 2) : LenToPixelY(t.blockHeight);
    const QPoint anchor(PosToPixelX(t.x), PosToPixelY(t.y));
    const double angle = NormalizedAngle(t.angle);

    t.bounds =
        TextBlockBounds(anchor, LenToPixelX(t.blockWidth), LenToPixelY(t.blockHeight), angle, t.alignment);
    if (clip && !t.bounds.intersects(*clip))
        return;
    if (hp <= 0)
        return; // smaller than a pixel at this scale

    QPaintDevice *device = p.device();
    const int dpi = device ? device->logicalDpiY() : screenDpi_;
    // Raster targets (screen, bitmaps) keep the laid-out lines between
    // paints; printers get plain text runs.
    const bool raster = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
    if (t.cachedCellPx != hp || t.cachedDpi != dpi) {
        // The height is the cell height of the font (ascent plus descent).
        QFont f = CanvasFont(t.fontName, t.fontStyle);
        const double emPx = hp * EmPerCell(t.fontName, t.fontStyle);
        f.setPointSizeF(emPx * 72.0 / dpi);
        const QFontMetricsF fm(f, device);
        t.cachedFont = f;
        t.cachedAscent = fm.ascent();
        t.cachedWidths.clear();
        t.cachedStatic.clear();
        if (h != 0)
            for (const QString &line : t.lines)
                t.cachedWidths.push_back(fm.horizontalAdvance(line));
        t.cachedCellPx = hp;
        t.cachedDpi = dpi;
    }
    if (raster && t.cachedStatic.size() != size_t(t.lines.size())) {
        t.cachedStatic.clear();
        for (const QString &line : t.lines) {
            QStaticText st(line);
            st.setTextFormat(Qt::PlainText);
            st.setPerformanceHint(QStaticText::AggressiveCaching);
            st.prepare(QTransform(), t.cachedFont);
            t.cachedStatic.push_back(st);
        }
    }
    // Setting a font resolves it for the device each time; texts in a row
    // mostly share theirs.
    if (!(p.font() == t.cachedFont))
        p.setFont(t.cachedFont);
    p.setPen(ToQColor(t.fontColor));

    for (int j = 0; j < int(t.lines.size()); ++j) {
        const int ly = s0 - j * sp;
        const QPoint off = angle != 0 ? RotateRounded(0, ly, angle) : QPoint(0, ly);
        const QPoint pt(anchor.x() + off.x(), anchor.y() - off.y());
        double xoff = 0;
        if (h != 0) {
            const double w = t.cachedWidths[size_t(j)];
            xoff = h == 1 ? -w / 2 : -w;
        }
        if (angle != 0) {
            p.save();
            p.translate(pt);
            p.rotate(-angle);
        }
        const QPointF at = angle != 0 ? QPointF(xoff, 0) : QPointF(pt.x() + xoff, pt.y());
        // Top-aligned: the line's cell begins at the point.
        if (raster)
            p.drawStaticText(at, t.cachedStatic[size_t(j)]);
        else
            p.drawText(QPointF(at.x(), at.y() + t.cachedAscent), t.lines[j]);
        if (angle != 0)
            p.restore();
    }
}

void TDPaintbox::DrawLine(QPainter &p, TDTLine &l, const QRect *clip, bool mirrorSwap)
{
    const int x1 = PosToPixelX(l.x1), y1 = PosToPixelY(l.y1);
    const int x2 = PosToPixelX(l.x2), y2 = PosToPixelY(l.y2);
    const int left = std::min(x1, x2), top = std::min(y1, y2);
    l.bounds = QRect(left, top, std::max(x1, x2) + 1 - left, std::max(y1, y2) + 1 - top);
    if (clip && !l.bounds.intersects(*clip))
        return;
    DrawPieces(p, l.x1, l.y1, l.x2, l.y2, l.penStyle, l.width, l.penColor, mirrorSwap);
}

void TDPaintbox::DrawPieces(QPainter &p, double x1, double y1, double x2, double y2, int style, double width,
                            TColor color, bool mirrorSwap)
{
    if (style == psClear || color == clNone)
        return;
    p.setPen(QPen(ToQColor(color), LenToPixelX(width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPointF a(x1, y1), b(x2, y2);
    // Oblique mirrored lines walk their pattern from the other end, as drawn
    // before mirroring.
    if (mirrorSwap && x1 != x2 && y1 != y2)
        std::swap(a, b);
    if (style == psSolid) {
        p.drawLine(QPoint(PosToPixelX(a.x()), PosToPixelY(a.y())),
                   QPoint(PosToPixelX(b.x()), PosToPixelY(b.y())));
        return;
    }
    for (const QLineF &piece : DashPieces(a, b, style, width))
        p.drawLine(QPoint(PosToPixelX(piece.x1()), PosToPixelY(piece.y1())),
                   QPoint(PosToPixelX(piece.x2()), PosToPixelY(piece.y2())));
}

void TDPaintbox::DrawRect(QPainter &p, TDTRect &r, const QRect *clip)
{
    const int left = PosToPixelX(r.left), top = PosToPixelY(r.top);
    const int right = PosToPixelX(r.right), bottom = PosToPixelY(r.bottom);
    r.bounds = QRect(left, top, right + 1 - left, bottom + 1 - top);
    if (clip && !r.bounds.intersects(*clip))
        return;
    if (r.fillColor != clNone && r.fillStyle != bsClear)
        p.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(r.fillColor));
    if (r.penStyle != psClear && (r.fillStyle == bsClear || r.penColor != clNone)) {
        DrawPieces(p, r.left, r.top, r.right, r.top, r.penStyle, r.penWidth, r.penColor, false);
        DrawPieces(p, r.left, r.bottom, r.right, r.bottom, r.penStyle, r.penWidth, r.penColor, false);
        DrawPieces(p, r.right, r.top, r.right, r.bottom, r.penStyle, r.penWidth, r.penColor, false);
        DrawPieces(p, r.left, r.top, r.left, r.bottom, r.penStyle, r.penWidth, r.penColor, false);
    }
}

void TDPaintbox::DrawCircle(QPainter &p, TDTCircle &c, const QRect *clip)
{
    const int left = PosToPixelX(c.left), top = PosToPixelY(c.top);
    const int right = PosToPixelX(c.right), bottom = PosToPixelY(c.bottom);
    c.bounds = QRect(left, top, right + 1 - left, bottom + 1 - top);
    if (clip && !c.bounds.intersects(*clip))
        return;
    if (c.penStyle == psClear || c.penColor == clNone)
        p.setPen(Qt::NoPen);
    else
        p.setPen(QPen(ToQColor(c.penColor), LenToPixelX(c.penWidth), QtPenStyle(c.penStyle)));
    if (c.fillStyle != bsClear && c.fillColor != clNone)
        p.setBrush(ToQColor(c.fillColor));
    else
        p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(left, top, right - left, bottom - top));
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

// ---------------------------------------------------------------------------
// Output

bool TDPaintbox::PrintPage(int page, const QString &title)
{
    if (page < 1 || page > PageCount())
        return false;
    currentPage_ = page;

    const TJPEGScale savedScale = jpegScale_;
    const double savedZoom = zoom_;
    printing_ = true;
    jpegScale_ = TJPEGScale::jsFullSize;
    outputMode_ = TOutputMode::Printer;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ScopeExit restore{[&] {
        pixelPerMmX_ = screenDpi_ / kMmPerInch;
        pixelPerMmY_ = screenDpi_ / kMmPerInch;
        QGuiApplication::restoreOverrideCursor();
        zoom_ = savedZoom;
        outputMode_ = TOutputMode::Screen;
        jpegScale_ = savedScale;
        printing_ = false;
        Redraw();
    }};

    platform::Printer &printer = platform::Printer::Instance();
    printer.SetOrientation(pageWidthMm_ > pageHeightMm_ ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrinter &device = printer.BeginDocument(title);
    QPainter p;
    if (!p.begin(&device))
        return false;
    p.translate(printer.PrintableOriginPx());
    pixelPerMmX_ = printerDpiX_ / kMmPerInch;
    pixelPerMmY_ = printerDpiY_ / kMmPerInch;
    zoom_ = 1.0;
    DrawLayers(p, nullptr, false);
    if (showPageInfos_)
        DrawElements(p, pageInfo_, nullptr, false);
    return p.end();
}

void TDPaintbox::RenderToBitmap(QImage &bitmap, TColor background, double zoom)
{
    const double savedZoom = zoom_;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ScopeExit restore{[&] {
        zoom_ = savedZoom;
        QGuiApplication::restoreOverrideCursor();
    }};
    // Out-of-range zooms would give an empty or enormous bitmap.
    zoom_ = std::clamp(std::isfinite(zoom) ? zoom : 1.0, 0.1, 10.0);
    const int w = std::max(1, PosToPixelX(pageWidthMm_)), h = std::max(1, PosToPixelY(pageHeightMm_));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ToQColor(background));
    {
        QPainter p(&image);
        DrawLayers(p, nullptr, false);
    }
    bitmap = image.convertToFormat(QImage::Format_RGB888);
}

} // namespace canvas
