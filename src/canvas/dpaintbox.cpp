#include "canvas/dpaintbox.h"

#include "canvas/geometry.h"
#include "canvas/text_metrics.h"
#include "platform/messages.h"
#include "platform/printer.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace canvas
{

namespace
{
constexpr double kMmPerInch = 25.4;
constexpr double kMinZoom = 0.1, kMaxZoom = 10.0;

QString Mm1(double v)
{
    return QLocale().toString(v, 'f', 1) + QStringLiteral(" mm");
}
} // namespace

TDPaintbox::TDPaintbox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the pointer position is reported on every move
    markFrame_.penStyle = psSolid;
    markFrame_.penColor = 0xFF6600;
    markFrame_.fillStyle = bsClear;
    markFrame_.fillColor = clNone;
    markFrame_.inPenWidth = 0.5;
    markFrame_.penWidth = 0.5;
    BuildPageInfo();
    platform::Printer::Instance().Refresh();
    ReadPrinterMetrics();
}

TDPaintbox::~TDPaintbox() = default;

// ---------------------------------------------------------------------------
// Printer page

void TDPaintbox::RefreshPrinter()
{
    platform::Printer::Instance().Refresh();
    ReadPrinterMetrics();
}

void TDPaintbox::ReadPrinterMetrics()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    screenDpi_ = screen ? std::max(1, RoundHalfEven(screen->logicalDotsPerInch())) : 96;

    platform::Printer &printer = platform::Printer::Instance();
    const platform::PrinterMetrics d = platform::DefaultPrinterMetrics(printer.Orientation());
    auto applyMetrics = [this](const platform::PrinterMetrics &m) {
        printerDpiX_ = m.dpiX;
        printerDpiY_ = m.dpiY;
        physWidthPx_ = m.physWidthPx;
        physHeightPx_ = m.physHeightPx;
        physOffsetXPx_ = m.physOffsetXPx;
        physOffsetYPx_ = m.physOffsetYPx;
        printableWidthPx_ = m.printableWidthPx;
        printableHeightPx_ = m.printableHeightPx;
        colorBits_ = m.colorBits;
    };
    applyMetrics(d);
    pixelPerMmX_ = pixelPerMmY_ = 3.78;
    pageWidthMm_ = 210.0;
    pageHeightMm_ = 297.0;
    paperList_.clear();

    // The printer was just asked for (construction, RefreshPrinter): its
    // answer holds the page, so nothing more goes to the print system here.
    const bool noPrinter = !printer.HasPrinter();
    if (!noPrinter) {
        platform::PrinterMetrics m;
        if (printer.Metrics(&m)) {
            applyMetrics(m);
            std::vector<platform::PaperInfo> papers;
            if (printer.CurrentPaperList(&papers))
                paperList_ = std::move(papers);
            else
                platform::ShowPlain(QStringLiteral("Bitte stellen Sie einen Standarddrucker ein!"));
        } else {
            // Keep the whole default page consistent rather than half-read values.
            applyMetrics(d);
            platform::ShowPlain(QStringLiteral(
                "Kein Drucker vorhanden !!\r\nDarstellung DIN A4-Standardseite - Hochformat."));
        }
    }

    pixelPerMmX_ = screenDpi_ / kMmPerInch;
    pixelPerMmY_ = screenDpi_ / kMmPerInch;
    ApplyMetricsToPage();
    FillPageInfo(noPrinter, printer.PrinterName());
}

void TDPaintbox::ApplyMetricsToPage()
{
    pageWidthMm_ = double(physWidthPx_) / printerDpiX_ * kMmPerInch;
    pageHeightMm_ = double(physHeightPx_) / printerDpiY_ * kMmPerInch;
    ResizeToPage();
    printOffsetXMm_ = double(physOffsetXPx_) / printerDpiX_ * kMmPerInch;
    printOffsetYMm_ = double(physOffsetYPx_) / printerDpiY_ * kMmPerInch;
    printableWidthMm_ = double(printableWidthPx_) / printerDpiX_ * kMmPerInch;
    printableHeightMm_ = double(printableHeightPx_) / printerDpiY_ * kMmPerInch;
}

QString TDPaintbox::PaperName() const
{
    QString name = QStringLiteral("?");
    const int id = platform::Printer::Instance().CurrentPaperId();
    // Id 0 stands for a paper without a Windows number; it names nothing.
    if (paperList_.size() >= 2 && id > 0) {
        for (const platform::PaperInfo &p : paperList_)
            if (p.id == id)
                name = p.name;
    }
    return name;
}

void TDPaintbox::ResizeToPage()
{
    resize(std::max(1, PosToPixelX(pageWidthMm_)), std::max(1, PosToPixelY(pageHeightMm_)));
}

// ---------------------------------------------------------------------------
// Zoom, placement, grid

void TDPaintbox::SetZoomFaktor(double z)
{
    if (!(z >= kMinZoom))
        z = kMinZoom;
    if (z > kMaxZoom)
        z = kMaxZoom;
    zoom_ = z;
    ResizeToPage();
    ForgetCrosshair();
    emit OnZoomChanged();
}

void TDPaintbox::SetMaszstab(double m)
{
    maszstab_ = (m > 0 && std::isfinite(m)) ? m : 1.0;
    Relayout();
}

void TDPaintbox::SetOffsetX(double v)
{
    offsetX_ = v;
    Relayout();
}

void TDPaintbox::SetOffsetY(double v)
{
    offsetY_ = v;
    Relayout();
}

void TDPaintbox::SetRaster(bool on)
{
    raster_ = on;
    update();
}

void TDPaintbox::SetRasterweite(double v)
{
    if (!(v >= 1.0 && v < pageWidthMm_))
        return;
    rasterweite_ = v;
    if (raster_)
        update();
}

int TDPaintbox::PosToPixelX(double x) const
{
    const double o = outputMode_ == TOutputMode::Printer ? printOffsetXMm_ : 0.0;
    return RoundHalfEven(zoom_ * (pixelPerMmX_ * (x - o)));
}

int TDPaintbox::PosToPixelY(double y) const
{
    const double o = outputMode_ == TOutputMode::Printer ? printOffsetYMm_ : 0.0;
    return RoundHalfEven(zoom_ * (pixelPerMmY_ * (y - o)));
}

int TDPaintbox::LenToPixelX(double len) const
{
    return RoundHalfEven(len * pixelPerMmX_ * zoom_);
}
int TDPaintbox::LenToPixelY(double len) const
{
    return RoundHalfEven(len * pixelPerMmY_ * zoom_);
}
int TDPaintbox::LenToPixelTruncX(double len) const
{
    return Trunc(len * pixelPerMmX_ * zoom_);
}
int TDPaintbox::LenToPixelTruncY(double len) const
{
    return Trunc(len * pixelPerMmY_ * zoom_);
}
double TDPaintbox::PixelToMmNoSnapX(double px) const
{
    return px / pixelPerMmX_ / zoom_;
}
double TDPaintbox::PixelToMmNoSnapY(double px) const
{
    return px / pixelPerMmY_ / zoom_;
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
    if (!rasterFang_)
        return v;
    return rasterweite_ * std::nearbyint(v / rasterweite_);
}

// ---------------------------------------------------------------------------
// Appearance

void TDPaintbox::SetBlattfarbe(TColor c)
{
    blattfarbe_ = c;
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

// ---------------------------------------------------------------------------
// Current style

void TDPaintbox::SetTextStyle(const QString &fontName, TColor fontColor, int fontStyle, int alignment,
                              double heightMm, double angle)
{
    fontName_ = fontName;
    fontColor_ = fontColor;
    fontStyle_ = fontStyle;
    alignment_ = alignment;
    textHeight_ = heightMm;
    angle_ = angle;
}

void TDPaintbox::SetLineStyle(int penStyle, TColor color, double widthMm)
{
    penStyle_ = penStyle;
    penColor_ = color;
    penWidth_ = widthMm;
}

void TDPaintbox::SetFillStyle(int fillStyle, TColor color)
{
    fillStyle_ = fillStyle;
    fillColor_ = color;
}

void TDPaintbox::SetLineFactor(double factor)
{
    lineFactor_ = factor < 0.1 || !std::isfinite(factor) ? 0.1 : factor;
}

// ---------------------------------------------------------------------------
// Pages

void TDPaintbox::SelectPage(int page, bool redraw)
{
    if (page < 0 || page > PageCount()) {
        platform::ShowPlain(QStringLiteral("Seite nicht vorhanden !"));
        return;
    }
    currentPage_ = page;
    if (redraw && !printing_)
        Redraw();
}

void TDPaintbox::ClearPage()
{
    pages_[currentPage_].clear();
    emit OnElementListChange();
}

void TDPaintbox::Redraw()
{
    if (isVisible())
        repaint();
}

TDElement *TDPaintbox::ElementAt(int number) const
{
    const auto &list = pages_[currentPage_];
    if (number < 0 || number >= int(list.size()))
        return nullptr;
    return list[size_t(number)].get();
}

QRect TDPaintbox::ElementBounds(int number) const
{
    const TDElement *e = ElementAt(number);
    return e ? e->bounds : QRect();
}

void TDPaintbox::SetElementMarked(int number, bool marked)
{
    if (TDElement *e = ElementAt(number))
        e->marked = marked;
}

void TDPaintbox::UnmarkAll()
{
    for (auto &list : pages_)
        for (auto &e : list)
            e->marked = false;
}

// ---------------------------------------------------------------------------
// Placement

double TDPaintbox::PlaceX(double x) const
{
    const double v = x / maszstab_ + offsetX_;
    return xRechts_ ? pageWidthMm_ - v : v;
}

double TDPaintbox::PlaceY(double y) const
{
    const double v = y / maszstab_ + offsetY_;
    return yUnten_ ? pageHeightMm_ - v : v;
}

void TDPaintbox::MeasureText(TDTText &t)
{
    if (t.fixedBlock)
        return;
    // Measured at zoom 1 with a font 25.4 times the pixel height, so that
    // the width does not suffer from whole-pixel font sizes.
    const double savedZoom = zoom_;
    zoom_ = 1.0;
    const int p = LenToPixelY(t.height);
    zoom_ = savedZoom;
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
    t.blockWidth = widest / pixelPerMmX_ / kMmPerInch;
    t.blockHeight = t.lineCount > 1 ? t.height * (1.0 + (t.lineCount - 1) * lineFactor_) : t.height;
}

void TDPaintbox::PlaceText(TDTText &t)
{
    t.height = t.inHeight / maszstab_;
    t.x = PlaceX(t.inX);
    t.y = PlaceY(t.inY);
    t.cachedCellPx = -1;
    MeasureText(t);
}

void TDPaintbox::PlaceLine(TDTLine &l)
{
    l.x1 = PlaceX(l.inX1);
    l.y1 = PlaceY(l.inY1);
    l.x2 = PlaceX(l.inX2);
    l.y2 = PlaceY(l.inY2);
    l.width = l.inWidth / maszstab_;
}

void TDPaintbox::PlaceRect(TDTRect &r)
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

void TDPaintbox::PlacePicture(TDTPicture &p)
{
    p.width = p.inWidth / maszstab_;
    p.height = p.inHeight / maszstab_;
    const double x = p.inX / maszstab_ + offsetX_, y = p.inY / maszstab_ + offsetY_;
    p.x = xRechts_ ? pageWidthMm_ - x - p.width : x;
    p.y = yUnten_ ? pageHeightMm_ - y - p.height : y;
}

void TDPaintbox::PlaceElement(TDElement &e)
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

int TDPaintbox::AddText(const QString &text, double x, double y)
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
    pages_[currentPage_].push_back(std::move(t));
    emit OnElementListChange();
    return int(pages_[currentPage_].size()) - 1;
}

int TDPaintbox::AddLine(double x1, double y1, double x2, double y2)
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
    pages_[currentPage_].push_back(std::move(l));
    emit OnElementListChange();
    return int(pages_[currentPage_].size()) - 1;
}

int TDPaintbox::AddRectangle(double x, double y, double width, double height)
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
    pages_[currentPage_].push_back(std::move(r));
    emit OnElementListChange();
    return int(pages_[currentPage_].size()) - 1;
}

void TDPaintbox::Relayout()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (auto &e : pages_[currentPage_])
        PlaceElement(*e);
    QGuiApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------------------
// Element info

void TDPaintbox::GetElementInfo(int number, ElementInfo &info) const
{
    info = ElementInfo();
    const TDElement *e = ElementAt(number);
    if (!e)
        return;
    info.number = number;
    info.kind = e->kind;
    switch (e->kind) {
    case TDruckTyp::Text: {
        const auto &t = static_cast<const TDTText &>(*e);
        info.x = t.x;
        info.y = t.y;
        info.angle = t.angle;
        const double a = NormalizedAngle(t.angle);
        if (a > 0) {
            const QSizeF s = RotatedBoxSize(t.blockWidth, t.blockHeight, a);
            info.width = s.width();
            info.height = s.height();
        } else {
            info.width = t.blockWidth;
            info.height = t.blockHeight;
        }
        info.color = t.fontColor;
        info.fontName = t.fontName;
        info.textHeight = t.height;
        info.alignment = t.alignment;
        info.fontStyle = t.fontStyle;
        info.text = t.text;
        break;
    }
    case TDruckTyp::Line: {
        const auto &l = static_cast<const TDTLine &>(*e);
        info.x = l.x1;
        info.y = l.y1;
        info.x2 = l.x2;
        info.y2 = l.y2;
        info.color = l.penColor;
        info.penWidth = l.width;
        info.penStyle = l.penStyle;
        break;
    }
    case TDruckTyp::Rectangle: {
        const auto &r = static_cast<const TDTRect &>(*e);
        info.x = r.left;
        info.y = r.top;
        info.width = r.inWidth;
        info.height = r.inHeight;
        info.color = r.penColor;
        info.penWidth = r.penWidth;
        info.penStyle = r.penStyle;
        info.fillColor = r.fillColor;
        info.fillStyle = r.fillStyle;
        break;
    }
    case TDruckTyp::Circle: {
        const auto &c = static_cast<const TDTCircle &>(*e);
        info.x = c.x;
        info.y = c.y;
        info.width = 2 * c.radius;
        info.height = 2 * c.radius;
        info.color = c.penColor;
        info.penWidth = c.penWidth;
        info.penStyle = c.penStyle;
        info.fillColor = c.fillColor;
        info.fillStyle = c.fillStyle;
        break;
    }
    case TDruckTyp::Picture: {
        const auto &p = static_cast<const TDTPicture &>(*e);
        info.x = p.x;
        info.y = p.y;
        info.x2 = p.inWidth;
        info.y2 = p.inHeight;
        info.width = p.width;
        info.height = p.height;
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Page info overlay and mark frame

void TDPaintbox::BuildPageInfo()
{
    pageInfo_.clear();
    for (int i = 0; i < 13; ++i) {
        auto t = std::make_unique<TDTText>();
        t->fontName = QStringLiteral("Arial");
        t->fontColor = clBlue;
        t->inHeight = t->height = 3.0;
        t->blockWidth = 10.0;
        t->blockHeight = 4.0;
        t->fixedBlock = true;
        t->text = QStringLiteral(" ");
        t->lines = QStringList{t->text};
        pageInfo_.push_back(std::move(t));
    }
    for (int i = 0; i < 2; ++i) {
        auto l = std::make_unique<TDTLine>();
        l->inWidth = l->width = 0.1;
        l->penStyle = psSolid;
        l->penColor = clBlack;
        pageInfo_.push_back(std::move(l));
    }
    for (int i = 0; i < 4; ++i) {
        auto c = std::make_unique<TDTCircle>();
        c->radius = 1.0;
        c->penWidth = 0.1;
        c->penStyle = psSolid;
        c->penColor = clBlack;
        c->fillStyle = bsClear;
        c->fillColor = clNone;
        pageInfo_.push_back(std::move(c));
    }
}

void TDPaintbox::FillPageInfo(bool printerListEmpty, const QString &printerName)
{
    const double W = pageWidthMm_, H = pageHeightMm_;
    const double ox = printOffsetXMm_, oy = printOffsetYMm_;
    const double pw = printableWidthMm_, ph = printableHeightMm_;
    const QLocale loc;
    auto text = [this](int i, double x, double y, int align, double angle, const QString &s) {
        auto &t = static_cast<TDTText &>(*pageInfo_[size_t(i)]);
        t.inX = t.x = x;
        t.inY = t.y = y;
        t.alignment = align;
        t.angle = angle;
        t.text = s;
        t.lines = QStringList{s};
        t.cachedCellPx = -1;
    };
    text(0, ox + 0.5, H / 2 - 5, 0, 0, Mm1(ox));
    text(1, ox + pw / 2, H / 2 - 5, 3, 0, Mm1(pw));
    text(2, ox + pw, H / 2 - 5, 6, 0, Mm1(W - ox - pw));
    text(3, W / 2 - 1, oy + ph, 2, 90, Mm1(H - oy - ph));
    text(4, W / 2 - 1, H / 4, 2, 90, Mm1(ph));
    text(5, W / 2 - 1, oy, 8, 90, Mm1(oy));
    text(6, 25, 25, 0, 0, QStringLiteral("Druckername"));
    text(7, 60, 25, 0, 0,
         printerListEmpty ? QStringLiteral("kein Drucker!") : QStringLiteral(": %1").arg(printerName));
    text(8, 25, 30, 0, 0, QStringLiteral("Auflösung / Farben"));
    text(9, 60, 30, 0, 0,
         QStringLiteral(": %1 dpi(x) / %2 dpi(y) - %3 Bit")
             .arg(printerDpiX_)
             .arg(printerDpiY_)
             .arg(colorBits_));
    text(10, 25, 35, 0, 0, QStringLiteral("Blattgöße (b/h)"));
    text(11, 60, 35, 0, 0,
         QStringLiteral(": %1 mm / %2 mm").arg(loc.toString(W, 'f', 1), loc.toString(H, 'f', 1)));
    text(12, 60, 40, 0, 0, QStringLiteral("  (%1 pixel / %2 pixel)").arg(physWidthPx_).arg(physHeightPx_));

    auto line = [this](int i, double x1, double y1, double x2, double y2) {
        auto &l = static_cast<TDTLine &>(*pageInfo_[size_t(i)]);
        l.inX1 = l.x1 = x1;
        l.inY1 = l.y1 = y1;
        l.inX2 = l.x2 = x2;
        l.inY2 = l.y2 = y2;
    };
    line(13, 0, H / 2, W, H / 2);
    line(14, W / 2, 0, W / 2, H);

    auto circle = [this](int i, double x, double y) {
        auto &c = static_cast<TDTCircle &>(*pageInfo_[size_t(i)]);
        c.x = x;
        c.y = y;
        c.left = x - c.radius;
        c.top = y - c.radius;
        c.right = x + c.radius;
        c.bottom = y + c.radius;
    };
    circle(15, ox, H / 2);
    circle(16, ox + pw, H / 2);
    circle(17, W / 2, oy + ph);
    circle(18, W / 2, oy);
}

const TDElement *TDPaintbox::PageInfoElement(int i) const
{
    return i >= 0 && i < int(pageInfo_.size()) ? pageInfo_[size_t(i)].get() : nullptr;
}

void TDPaintbox::ShowPageInfos(bool on)
{
    showPageInfos_ = on;
    druckrand_ = true;
    Redraw();
}

void TDPaintbox::SetMarkRect(bool on, double x, double y, double width, double height)
{
    const bool changed = on || markRectOn_;
    markRectOn_ = on;
    if (on) {
        markFrame_.inX = x;
        markFrame_.inY = y;
        markFrame_.inWidth = width > 0 ? width : 0.1;
        markFrame_.inHeight = height > 0 ? height : 0.1;
        PlaceElement(markFrame_);
    }
    // Switching the frame off must take it off the screen as well.
    if (changed)
        Redraw();
}

QString TDPaintbox::ClipboardFormatName()
{
    return QStringLiteral("DPaintboxElement");
}

} // namespace canvas
