// What drawing a metafile or SVG into pixels will cost, found before it is
// drawn. The drawing is played into a paint engine that draws nothing and
// only adds up the work the raster engine would do: pixels filled, the cells
// of filled outlines, pixels along lines, points and joins. Twenty thousand
// filled polygons, each spanning the whole picture, hold little data but
// would keep the raster engine busy for minutes.
#include "model/picture_internal.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QTextItem>

#include <algorithm>
#include <cmath>

namespace
{

// Costs in nanoseconds, measured with Qt's raster engine and antialiasing
// on a 2-core machine. A filled shape costs per pixel and per cell its edges
// pass through (one for each scanline they cross, more where they run
// flat). The rasterizer works in bands, and each band it runs out of room
// for goes over the cells again, so the cells of one shape also cost by
// their square: a zigzag polygon of 128 edges over 2000 scanlines took 4.5 s,
// 40,000 small ones 0.1 s.
constexpr double kShapeCost = 700;
constexpr double kPixelCost = 0.5;
constexpr double kCellCost = 30;
constexpr double kCellSquareCost = 0.1;
// Lines up to a pixel wide are drawn along a fast path, per pixel of length;
// dashed ones cost more. Wider lines are filled as outlines, and each of
// their points costs its join.
constexpr double kHairlineCost = 25;
constexpr double kDashedHairlineCost = 65;
constexpr double kPointCost = 50;
constexpr double kJoinCost = 7000;
constexpr double kDashCost = 2000;

// The total length of a shape's segments and their horizontal and vertical
// extents.
struct TSegments {
    double length = 0, dx = 0, dy = 0;
    void Add(QPointF a, QPointF b)
    {
        const double x = std::abs(b.x() - a.x()), y = std::abs(b.y() - a.y());
        length += std::hypot(x, y);
        dx += x;
        dy += y;
    }
};

class TCostEngine final : public QPaintEngine
{
  public:
    explicit TCostEngine(const QRectF &part) : QPaintEngine(AllFeatures), device_(part) {}

    TDrawCost cost;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen)
            pen_ = state.pen();
        if (dirty & DirtyBrush)
            brush_ = state.brush();
        if (dirty & DirtyTransform)
            transform_ = state.transform();
    }

    void drawPath(const QPainterPath &path) override
    {
        const int n = path.elementCount();
        TSegments segments;
        for (int i = 1; i < n; ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (!e.isMoveTo())
                segments.Add(path.elementAt(i - 1), e);
        }
        add(path.controlPointRect(), n, segments);
    }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (count <= 0)
            return;
        TSegments segments;
        double left = points[0].x(), right = left, top = points[0].y(), bottom = top;
        for (int i = 0; i < count; ++i) {
            if (i + 1 < count || mode != PolylineMode)
                segments.Add(points[i], points[(i + 1) % count]);
            left = std::min(left, points[i].x());
            right = std::max(right, points[i].x());
            top = std::min(top, points[i].y());
            bottom = std::max(bottom, points[i].y());
        }
        const QRectF bounds(QPointF(left, top), QPointF(right, bottom));
        const QBrush brush = brush_;
        if (mode == PolylineMode)
            brush_ = Qt::NoBrush;
        add(bounds, count, segments);
        brush_ = brush;
    }

    void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override { addPixels(r); }
    void drawTiledPixmap(const QRectF &r, const QPixmap &, const QPointF &) override { addPixels(r); }
    void drawImage(const QRectF &r, const QImage &, const QRectF &, Qt::ImageConversionFlags) override
    {
        addPixels(r);
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        addPixels(QRectF(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent()));
    }

  private:
    // Pixels of a rectangle in the engine's coordinates, within the device.
    double pixelsOf(const QRectF &r) const
    {
        const QRectF mapped = transform_.mapRect(r).intersected(device_);
        return mapped.isEmpty() ? 0 : mapped.width() * mapped.height();
    }
    void addPixels(const QRectF &r) { cost.area += kPixelCost * pixelsOf(r); }

    // The cells of a filled outline: one per scanline an edge crosses, and
    // more where it runs flat.
    void addFill(double pixels, double cells)
    {
        cost.fixed += kShapeCost;
        cost.area += kPixelCost * pixels + kCellSquareCost * cells * cells;
        cost.length += kCellCost * cells;
    }

    // A shape of n points inside bounds.
    void add(const QRectF &bounds, int n, const TSegments &segments)
    {
        cost.fixed += kPointCost * n;
        // The transform's mean scale, and its effect on the extents.
        // Of a shape partly out of view, only the part in view is worked on;
        // counted here by the share of its extent along each axis.
        const QRectF mapped = transform_.mapRect(bounds);
        const QRectF inView = mapped.intersected(device_);
        if (inView.isEmpty() && !mapped.isEmpty())
            return;
        const double fx = mapped.width() > 0 ? inView.width() / mapped.width() : 1;
        const double fy = mapped.height() > 0 ? inView.height() / mapped.height() : 1;
        const double scale = std::sqrt(std::abs(transform_.determinant()));
        const double dx =
            fx * (std::abs(transform_.m11()) * segments.dx + std::abs(transform_.m21()) * segments.dy);
        const double dy =
            fy * (std::abs(transform_.m12()) * segments.dx + std::abs(transform_.m22()) * segments.dy);
        if (brush_.style() != Qt::NoBrush)
            addFill(pixelsOf(bounds.adjusted(-0.5, -0.5, 0.5, 0.5)), dy + dx / 2);
        if (pen_.style() == Qt::NoPen)
            return;
        const double width = pen_.isCosmetic() ? pen_.widthF() : pen_.widthF() * scale;
        const double pixelLength = std::max(fx, fy) * segments.length * scale;
        double pattern = 0;
        if (pen_.style() != Qt::SolidLine)
            for (const qreal part : pen_.dashPattern())
                pattern += part;
        const bool dashed = pattern > 0; // a pattern of no length draws solid
        if (width <= 1) {
            cost.length += (dashed ? kDashedHairlineCost : kHairlineCost) * pixelLength;
            return;
        }
        // Filled as an outline: its area, never more than the pixels the
        // shape covers with its width, and the cells of both its sides.
        const double pad = scale > 0 ? width / (2 * scale) : 0;
        addFill(std::min(pixelLength * width, pixelsOf(bounds.adjusted(-pad, -pad, pad, pad))),
                2 * (dy + dx / 2 + n * width));
        cost.fixed += kJoinCost * n;
        if (dashed)
            cost.fixed += kDashCost * pixelLength / std::max(pattern * width, 1.0);
    }

    QRectF device_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
};

class TCostDevice final : public QPaintDevice
{
  public:
    TCostDevice(const QSize &pixels, const QRectF &part) : size_(pixels), engine_(part) {}
    QPaintEngine *paintEngine() const override { return &engine_; }
    const TDrawCost &Cost() const { return engine_.cost; }

  protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return int(size_.width() * 25.4 / 96);
        case PdmHeightMM:
            return int(size_.height() * 25.4 / 96);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    QSize size_;
    mutable TCostEngine engine_;
};

} // namespace

TDrawCost SvgDrawCost(QSvgRenderer &renderer, const QSize &pixels, const QRectF &part)
{
    const QRectF all(QPointF(0, 0), QSizeF(pixels));
    TCostDevice device(pixels, part.isNull() ? all : part.intersected(all));
    QPainter painter(&device);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    return device.Cost();
}

double DrawScaleWithin(const TDrawCost &cost, double budget)
{
    if (cost.At(1) <= budget)
        return 1;
    // fixed + k·length + k²·area = budget, solved for k.
    const double room = budget - cost.fixed;
    if (room <= 0)
        return 0;
    if (cost.area <= 0)
        return room / cost.length;
    return (-cost.length + std::sqrt(cost.length * cost.length + 4 * cost.area * room)) / (2 * cost.area);
}

QSize AffordableDrawSize(QSvgRenderer &renderer, const QSize &pixels)
{
    const double k = DrawScaleWithin(SvgDrawCost(renderer, pixels), kMaxDrawCost);
    return k < 1 ? (QSizeF(pixels) * k).toSize().expandedTo(QSize(1, 1)) : pixels;
}
