// The page's element reports, its printable-area overlay and the mark frame.

#include "canvas/dpage.h"

#include "canvas/geometry.h"

#include <QLocale>

namespace canvas
{

namespace
{
QString Mm1(double v)
{
    return QLocale().toString(v, 'f', 1) + QStringLiteral(" mm");
}
} // namespace

// ---------------------------------------------------------------------------
// Element info

void TDPage::GetElementInfo(int page, int number, ElementInfo &info) const
{
    info = ElementInfo();
    if (page < 0 || page > PageCount())
        return;
    const auto &list = pages_[size_t(page)];
    if (number < 0 || number >= int(list.size()))
        return;
    const TDElement *e = list[size_t(number)].get();
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

void TDPage::BuildPageInfo()
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

void TDPage::FillPageInfo()
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
         setup_.hasPrinter ? QStringLiteral(": %1").arg(setup_.printerName)
                           : QStringLiteral("kein Drucker!"));
    text(8, 25, 30, 0, 0, QStringLiteral("Auflösung / Farben"));
    text(9, 60, 30, 0, 0,
         QStringLiteral(": %1 dpi(x) / %2 dpi(y) - %3 Bit")
             .arg(setup_.metrics.dpiX)
             .arg(setup_.metrics.dpiY)
             .arg(setup_.metrics.colorBits));
    text(10, 25, 35, 0, 0, QStringLiteral("Blattgöße (b/h)"));
    text(11, 60, 35, 0, 0,
         QStringLiteral(": %1 mm / %2 mm").arg(loc.toString(W, 'f', 1), loc.toString(H, 'f', 1)));
    text(12, 60, 40, 0, 0,
         QStringLiteral("  (%1 pixel / %2 pixel)")
             .arg(setup_.metrics.physWidthPx)
             .arg(setup_.metrics.physHeightPx));

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

const TDElement *TDPage::PageInfoElement(int i) const
{
    return i >= 0 && i < int(pageInfo_.size()) ? pageInfo_[size_t(i)].get() : nullptr;
}

void TDPage::SetMarkRect(bool on, double x, double y, double width, double height)
{
    markRectOn_ = on;
    if (on) {
        markFrame_.inX = x;
        markFrame_.inY = y;
        markFrame_.inWidth = width > 0 ? width : 0.1;
        markFrame_.inHeight = height > 0 ? height : 0.1;
        PlaceElement(markFrame_);
    }
}

} // namespace canvas
