// The drawing routine of the page: one set of const functions that draws the
// elements on the screen, into a bitmap and on the printer. Only the target
// (pixel scale, zoom, origin, layers) differs; the page itself never changes
// for a drawing.

#include "canvas/dpage.h"

#include "canvas/geometry.h"
#include "canvas/text_metrics.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

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

void TDPage::Draw(QPainter &p, const TDrawTarget &t) const
{
    if (t.background && currentPage_ != 0)
        DrawList(p, pages_[0], t);
    DrawList(p, pages_[size_t(currentPage_)], t);
    if (t.pageInfo) {
        TDrawTarget overlay = t;
        overlay.recordBounds = false;
        overlay.markedUnion = nullptr;
        DrawList(p, pageInfo_, overlay);
    }
}

void TDPage::DrawList(QPainter &p, const std::vector<std::unique_ptr<TDElement>> &list,
                      const TDrawTarget &t) const
{
    for (const auto &e : list)
        DrawElement(p, *e, t);
}

void TDPage::DrawMarkRect(QPainter &p, const TDrawTarget &t) const
{
    TDrawTarget plain = t;
    plain.clip = nullptr;
    plain.recordBounds = false;
    DrawRect(p, markFrame_, plain);
}

void TDPage::DrawElement(QPainter &p, const TDElement &e, const TDrawTarget &t) const
{
    switch (e.kind) {
    case TDruckTyp::Text:
        DrawText(p, static_cast<const TDTText &>(e), t);
        break;
    case TDruckTyp::Line:
        DrawLine(p, static_cast<const TDTLine &>(e), t);
        break;
    case TDruckTyp::Rectangle:
        DrawRect(p, static_cast<const TDTRect &>(e), t);
        break;
    case TDruckTyp::Circle:
        DrawCircle(p, static_cast<const TDTCircle &>(e), t);
        break;
    case TDruckTyp::Picture:
        DrawPicture(p, static_cast<const TDTPicture &>(e), t);
        break;
    default:
        return;
    }
    if (t.markedUnion && e.marked)
        *t.markedUnion |= e.bounds;
}

void TDPage::DrawText(QPainter &p, const TDTText &t, const TDrawTarget &target) const
{
    const TPageMapping &m = target.map;
    const int hp = m.LenToPixelY(t.height);
    const int sp = m.LenToPixelY(t.height * lineFactor_);
    const int h = t.alignment / 3, v = t.alignment % 3;
    const int s0 = v == 0 ? 0 : v == 1 ? m.LenToPixelY(t.blockHeight / 2) : m.LenToPixelY(t.blockHeight);
    const QPoint anchor(m.PosToPixelX(t.x), m.PosToPixelY(t.y));
    const double angle = NormalizedAngle(t.angle);

    const QRect bounds = TextBlockBounds(anchor, m.LenToPixelX(t.blockWidth), m.LenToPixelY(t.blockHeight),
                                         angle, t.alignment);
    if (target.recordBounds)
        t.bounds = bounds;
    if (target.clip && !bounds.intersects(*target.clip))
        return;
    if (hp <= 0)
        return; // smaller than a pixel at this scale

    QPaintDevice *device = p.device();
    const int dpi = device ? device->logicalDpiY() : setup_.screenDpi;
    // Raster targets (screen, bitmaps) keep the laid-out lines between
    // paints; printers get plain text runs. Underlined and struck-out texts
    // are drawn as runs everywhere: Qt puts the line of a kept layout beside
    // the text when the view does not lie at its window's origin.
    const bool raster = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster &&
                        !(t.fontStyle & (fsUnderline | fsStrikeOut));
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

void TDPage::DrawLine(QPainter &p, const TDTLine &l, const TDrawTarget &t) const
{
    const TPageMapping &m = t.map;
    const int x1 = m.PosToPixelX(l.x1), y1 = m.PosToPixelY(l.y1);
    const int x2 = m.PosToPixelX(l.x2), y2 = m.PosToPixelY(l.y2);
    const int left = std::min(x1, x2), top = std::min(y1, y2);
    const QRect bounds(left, top, std::max(x1, x2) + 1 - left, std::max(y1, y2) + 1 - top);
    if (t.recordBounds)
        l.bounds = bounds;
    if (t.clip && !bounds.intersects(*t.clip))
        return;
    DrawPieces(p, m, l.x1, l.y1, l.x2, l.y2, l.penStyle, l.width, l.penColor, m.xRechts);
}

void TDPage::DrawPieces(QPainter &p, const TPageMapping &m, double x1, double y1, double x2, double y2,
                        int style, double width, TColor color, bool mirrorSwap) const
{
    if (style == psClear || color == clNone)
        return;
    p.setPen(QPen(ToQColor(color), m.LenToPixelX(width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPointF a(x1, y1), b(x2, y2);
    // Oblique mirrored lines walk their pattern from the other end, as drawn
    // before mirroring.
    if (mirrorSwap && x1 != x2 && y1 != y2)
        std::swap(a, b);
    if (style == psSolid) {
        p.drawLine(m.PosToPixel(a), m.PosToPixel(b));
        return;
    }
    for (const QLineF &piece : DashPieces(a, b, style, width))
        p.drawLine(m.PosToPixel(piece.p1()), m.PosToPixel(piece.p2()));
}

void TDPage::DrawRect(QPainter &p, const TDTRect &r, const TDrawTarget &t) const
{
    const TPageMapping &m = t.map;
    const int left = m.PosToPixelX(r.left), top = m.PosToPixelY(r.top);
    const int right = m.PosToPixelX(r.right), bottom = m.PosToPixelY(r.bottom);
    const QRect bounds(left, top, right + 1 - left, bottom + 1 - top);
    if (t.recordBounds)
        r.bounds = bounds;
    if (t.clip && !bounds.intersects(*t.clip))
        return;
    if (r.fillColor != clNone && r.fillStyle != bsClear)
        p.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(r.fillColor));
    if (r.penStyle != psClear && (r.fillStyle == bsClear || r.penColor != clNone)) {
        DrawPieces(p, m, r.left, r.top, r.right, r.top, r.penStyle, r.penWidth, r.penColor, false);
        DrawPieces(p, m, r.left, r.bottom, r.right, r.bottom, r.penStyle, r.penWidth, r.penColor, false);
        DrawPieces(p, m, r.right, r.top, r.right, r.bottom, r.penStyle, r.penWidth, r.penColor, false);
        DrawPieces(p, m, r.left, r.top, r.left, r.bottom, r.penStyle, r.penWidth, r.penColor, false);
    }
}

void TDPage::DrawCircle(QPainter &p, const TDTCircle &c, const TDrawTarget &t) const
{
    const TPageMapping &m = t.map;
    const int left = m.PosToPixelX(c.left), top = m.PosToPixelY(c.top);
    const int right = m.PosToPixelX(c.right), bottom = m.PosToPixelY(c.bottom);
    const QRect bounds(left, top, right + 1 - left, bottom + 1 - top);
    if (t.recordBounds)
        c.bounds = bounds;
    if (t.clip && !bounds.intersects(*t.clip))
        return;
    if (c.penStyle == psClear || c.penColor == clNone)
        p.setPen(Qt::NoPen);
    else
        p.setPen(QPen(ToQColor(c.penColor), m.LenToPixelX(c.penWidth), QtPenStyle(c.penStyle)));
    if (c.fillStyle != bsClear && c.fillColor != clNone)
        p.setBrush(ToQColor(c.fillColor));
    else
        p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(left, top, right - left, bottom - top));
}

// ---------------------------------------------------------------------------
// Output

void TDPage::RenderToBitmap(QImage &bitmap, TColor background, double zoom) const
{
    RenderToBitmap(bitmap, background, ScreenTarget(zoom));
}

void TDPage::RenderToBitmap(QImage &bitmap, TColor background, TDrawTarget target) const
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ScopeExit restore{[] { QGuiApplication::restoreOverrideCursor(); }};
    // Out-of-range zooms would give an empty or enormous bitmap.
    const double zoom = target.map.zoom;
    target.map.zoom = std::clamp(std::isfinite(zoom) ? zoom : 1.0, 0.1, 10.0);
    target.clip = nullptr;
    target.recordBounds = false;
    target.markedUnion = nullptr;
    const int w = std::max(1, target.map.PosToPixelX(pageWidthMm_));
    const int h = std::max(1, target.map.PosToPixelY(pageHeightMm_));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ToQColor(background));
    {
        QPainter p(&image);
        Draw(p, target);
    }
    bitmap = image.convertToFormat(QImage::Format_RGB888);
}

} // namespace canvas
