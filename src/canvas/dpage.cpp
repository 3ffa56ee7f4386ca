#include "canvas/dpage.h"

#include "canvas/geometry.h"
#include "canvas/text_metrics.h"

#include <algorithm>
#include <cmath>

namespace canvas
{

namespace
{
constexpr double kMmPerInch = 25.4;
} // namespace

TDPage::TDPage() : TDPage(platform::DefaultPageSetup()) {}

TDPage::TDPage(const platform::PageSetup &setup)
{
    markFrame_.penStyle = psSolid;
    markFrame_.penColor = 0xFF6600;
    markFrame_.fillStyle = bsClear;
    markFrame_.fillColor = clNone;
    markFrame_.inPenWidth = 0.5;
    markFrame_.penWidth = 0.5;
    BuildPageInfo();
    SetPageSetup(setup);
}

TDPage::~TDPage() = default;

void TDPage::Changed() const
{
    if (OnElementListChange)
        OnElementListChange();
}

// ---------------------------------------------------------------------------
// Printer page

void TDPage::SetPageSetup(const platform::PageSetup &setup)
{
    setup_ = setup;
    // A page without pixels would divide by zero below.
    platform::PrinterMetrics &m = setup_.metrics;
    if (m.dpiX <= 0 || m.dpiY <= 0 || m.physWidthPx <= 0 || m.physHeightPx <= 0)
        m = platform::DefaultPrinterMetrics(setup_.orientation);
    setup_.screenDpi = std::max(1, setup_.screenDpi);
    pageWidthMm_ = setup_.WidthMm();
    pageHeightMm_ = setup_.HeightMm();
    printOffsetXMm_ = setup_.OffsetXMm();
    printOffsetYMm_ = setup_.OffsetYMm();
    printableWidthMm_ = setup_.PrintableWidthMm();
    printableHeightMm_ = setup_.PrintableHeightMm();
    FillPageInfo();
}

// ---------------------------------------------------------------------------
// Placement and mappings

void TDPage::SetMaszstab(double m)
{
    maszstab_ = (m > 0 && std::isfinite(m)) ? m : 1.0;
    Relayout();
}

void TDPage::SetOffsetX(double v)
{
    offsetX_ = v;
    Relayout();
}

void TDPage::SetOffsetY(double v)
{
    offsetY_ = v;
    Relayout();
}

bool TDPage::SetRasterweite(double v)
{
    if (!(v >= 1.0 && v < pageWidthMm_))
        return false;
    rasterweite_ = v;
    return true;
}

TPageMapping TDPage::Mapping(double zoom) const
{
    TPageMapping m;
    m.zoom = zoom;
    m.pixelPerMmX = m.pixelPerMmY = setup_.screenDpi / kMmPerInch;
    m.maszstab = maszstab_;
    m.offsetX = offsetX_;
    m.offsetY = offsetY_;
    m.xRechts = xRechts_;
    m.yUnten = yUnten_;
    m.pageWidthMm = pageWidthMm_;
    m.pageHeightMm = pageHeightMm_;
    m.rasterFang = rasterFang_;
    m.rasterweite = rasterweite_;
    return m;
}

TPageMapping TDPage::PrinterMapping() const
{
    TPageMapping m = Mapping(1.0);
    m.pixelPerMmX = setup_.metrics.dpiX / kMmPerInch;
    m.pixelPerMmY = setup_.metrics.dpiY / kMmPerInch;
    m.originXMm = printOffsetXMm_;
    m.originYMm = printOffsetYMm_;
    return m;
}

TDrawTarget TDPage::ScreenTarget(double zoom) const
{
    TDrawTarget t;
    t.map = Mapping(zoom);
    t.background = seite0Ausgabe_;
    return t;
}

TDrawTarget TDPage::PrinterTarget() const
{
    TDrawTarget t;
    t.map = PrinterMapping();
    t.background = seite0Ausgabe_;
    t.pageInfo = showPageInfos_;
    t.jpegScale = TJPEGScale::jsFullSize; // photos print at full size
    return t;
}

// ---------------------------------------------------------------------------
// Current style

void TDPage::SetTextStyle(const QString &fontName, TColor fontColor, int fontStyle, int alignment,
                          double heightMm, double angle)
{
    fontName_ = fontName;
    fontColor_ = fontColor;
    fontStyle_ = fontStyle;
    alignment_ = alignment;
    textHeight_ = heightMm;
    angle_ = angle;
}

void TDPage::SetLineStyle(int penStyle, TColor color, double widthMm)
{
    penStyle_ = penStyle;
    penColor_ = color;
    penWidth_ = widthMm;
}

void TDPage::SetFillStyle(int fillStyle, TColor color)
{
    fillStyle_ = fillStyle;
    fillColor_ = color;
}

void TDPage::SetLineFactor(double factor)
{
    lineFactor_ = factor < 0.1 || !std::isfinite(factor) ? 0.1 : factor;
}

// ---------------------------------------------------------------------------
// Pages

bool TDPage::SelectPage(int page, QString *error)
{
    if (page < 0 || page > PageCount()) {
        if (error)
            *error = QStringLiteral("Seite nicht vorhanden !");
        return false;
    }
    currentPage_ = page;
    return true;
}

void TDPage::ClearPage()
{
    pages_[size_t(currentPage_)].clear();
    Changed();
}

TDElement *TDPage::ElementAt(int number) const
{
    const auto &list = pages_[size_t(currentPage_)];
    if (number < 0 || number >= int(list.size()))
        return nullptr;
    return list[size_t(number)].get();
}

QRect TDPage::ElementBounds(int number) const
{
    const TDElement *e = ElementAt(number);
    return e ? e->bounds : QRect();
}

void TDPage::SetElementMarked(int number, bool marked)
{
    if (TDElement *e = ElementAt(number))
        e->marked = marked;
}

void TDPage::UnmarkAll()
{
    for (auto &list : pages_)
        for (auto &e : list)
            e->marked = false;
}

// ---------------------------------------------------------------------------
// Placement

void TDPage::MeasureText(TDTText &t) const
{
    if (t.fixedBlock)
        return;
    // Measured at zoom 1 with a font 25.4 times the pixel height, so that
    // the width does not suffer from whole-pixel font sizes.
    const TPageMapping screen = Mapping(1.0);
    const int p = screen.LenToPixelY(t.height);
    const int emPx = Trunc(p * kMmPerInch);
    // Font engines stop at some ten thousand pixels: huge texts are measured
    // at a size they handle and scaled, widths grow in proportion.
    constexpr int kMaxMeasureEm = 8192;
    const int measureEm = std::min(emPx, kMaxMeasureEm);
    const TextMeasurer &m = TextMeasurer::For(t.fontName, t.fontStyle, measureEm);
    double widest = 0;
    for (const QString &line : t.lines)
        widest = std::max(widest, m.Width(line));
    if (measureEm > 0 && measureEm < emPx)
        widest *= double(emPx) / measureEm;
    t.blockWidth = widest / screen.pixelPerMmX / kMmPerInch;
    t.blockHeight = t.lineCount > 1 ? t.height * (1.0 + (t.lineCount - 1) * lineFactor_) : t.height;
}

void TDPage::PlaceText(TDTText &t) const
{
    const TPageMapping m = Mapping(1.0);
    t.height = t.inHeight / maszstab_;
    t.x = m.PlaceX(t.inX);
    t.y = m.PlaceY(t.inY);
    t.cachedCellPx = -1;
    MeasureText(t);
}

void TDPage::PlaceLine(TDTLine &l) const
{
    const TPageMapping m = Mapping(1.0);
    l.x1 = m.PlaceX(l.inX1);
    l.y1 = m.PlaceY(l.inY1);
    l.x2 = m.PlaceX(l.inX2);
    l.y2 = m.PlaceY(l.inY2);
    l.width = l.inWidth / maszstab_;
}

void TDPage::PlaceRect(TDTRect &r) const
{
    const double x = r.inX / maszstab_ + offsetX_, y = r.inY / maszstab_ + offsetY_;
    const double w = r.inWidth / maszstab_, h = r.inHeight / maszstab_;
    if (yUnten_) {
        r.top = pageHeightMm_ - y;
        r.bottom = r.top - h;
    } else {
        r.top = y;
        r.bottom = y + h;
    }
    if (xRechts_) {
        r.left = pageWidthMm_ - x;
        r.right = r.left - w;
    } else {
        r.left = x;
        r.right = x + w;
    }
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    r.penWidth = r.inPenWidth / maszstab_;
}

void TDPage::PlacePicture(TDTPicture &p) const
{
    p.width = p.inWidth / maszstab_;
    p.height = p.inHeight / maszstab_;
    const double x = p.inX / maszstab_ + offsetX_, y = p.inY / maszstab_ + offsetY_;
    p.x = xRechts_ ? pageWidthMm_ - x - p.width : x;
    p.y = yUnten_ ? pageHeightMm_ - y - p.height : y;
}

void TDPage::PlaceElement(TDElement &e) const
{
    switch (e.kind) {
    case TDruckTyp::Text: {
        auto &t = static_cast<TDTText &>(e);
        t.inX = SnapToGrid(t.inX);
        t.inY = SnapToGrid(t.inY);
        PlaceText(t);
        break;
    }
    case TDruckTyp::Line: {
        auto &l = static_cast<TDTLine &>(e);
        l.inX1 = SnapToGrid(l.inX1);
        l.inY1 = SnapToGrid(l.inY1);
        l.inX2 = SnapToGrid(l.inX2);
        l.inY2 = SnapToGrid(l.inY2);
        if (l.inX1 > l.inX2) {
            std::swap(l.inX1, l.inX2);
            std::swap(l.inY1, l.inY2);
        }
        PlaceLine(l);
        break;
    }
    case TDruckTyp::Rectangle: {
        auto &r = static_cast<TDTRect &>(e);
        if (rasterFang_) {
            if (r.inWidth <= 0.11)
                r.inWidth = rasterweite_;
            if (r.inHeight <= 0.11)
                r.inHeight = rasterweite_;
            r.inX = SnapToGrid(r.inX);
            r.inY = SnapToGrid(r.inY);
            r.inWidth = SnapToGrid(r.inWidth);
            r.inHeight = SnapToGrid(r.inHeight);
        }
        PlaceRect(r);
        break;
    }
    case TDruckTyp::Picture: {
        auto &p = static_cast<TDTPicture &>(e);
        p.inX = SnapToGrid(p.inX);
        p.inY = SnapToGrid(p.inY);
        p.inWidth = SnapToGrid(p.inWidth);
        PlacePicture(p);
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Adders

int TDPage::Append(std::unique_ptr<TDElement> e)
{
    auto &list = pages_[size_t(currentPage_)];
    list.push_back(std::move(e));
    Changed();
    return int(list.size()) - 1;
}

int TDPage::AddText(const QString &text, double x, double y)
{
    auto t = std::make_unique<TDTText>();
    t->inHeight = textHeight_;
    t->angle = angle_;
    t->alignment = std::clamp(alignment_, 0, 8);
    t->fontColor = fontColor_;
    t->fontStyle = static_cast<unsigned char>(fontStyle_);
    t->fontName = fontName_.left(32);

    QString s = text;
    s.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    if (s.isEmpty())
        s = QStringLiteral(" ");
    if (s.size() <= 255) {
        t->text = s;
    } else {
        t->longText = s;
        t->isLong = true;
    }
    t->lineCount = int(s.count(QStringLiteral("\r\n"))) + 1;
    t->lines = SplitTextLines(s);

    t->inX = x;
    t->inY = y;
    PlaceElement(*t);
    return Append(std::move(t));
}

int TDPage::AddLine(double x1, double y1, double x2, double y2)
{
    auto l = std::make_unique<TDTLine>();
    l->inX1 = x1;
    l->inY1 = y1;
    l->inX2 = x2;
    l->inY2 = y2;
    l->inWidth = penWidth_;
    l->penStyle = static_cast<unsigned char>(penStyle_);
    l->penColor = penColor_;
    PlaceElement(*l);
    return Append(std::move(l));
}

int TDPage::AddRectangle(double x, double y, double width, double height)
{
    auto r = std::make_unique<TDTRect>();
    r->inX = x;
    r->inY = y;
    r->inWidth = width > 0 ? width : 0.1;
    r->inHeight = height > 0 ? height : 0.1;
    r->inPenWidth = penWidth_;
    r->penStyle = static_cast<unsigned char>(penStyle_);
    r->penColor = penColor_;
    r->fillStyle = static_cast<unsigned char>(fillStyle_);
    r->fillColor = fillColor_;
    PlaceElement(*r);
    return Append(std::move(r));
}

void TDPage::Relayout()
{
    for (auto &e : pages_[size_t(currentPage_)])
        PlaceElement(*e);
}

} // namespace canvas
