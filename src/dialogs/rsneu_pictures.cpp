#include "dialogs/rsneu_pictures.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
// Binder spines in the warm yellow of a new sheet, label sheets in blue.
const QColor kSpineFill(255, 232, 128);
const QColor kSpineEdge(176, 128, 16);
const QColor kLabelFill(214, 232, 255);
const QColor kLabelEdge(40, 96, 176);
const QColor kInk(48, 48, 48);
const QColor kPaperEdge(112, 112, 112);
const QColor kShadow(0, 0, 0, 56);
} // namespace

QImage PresetPicture(const TRSPreset &p)
{
    const int size = kPresetPictureSize;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!(p.PageWidth > 0) || !(p.PageHeight > 0) || p.Columns < 1 || p.Rows < 1)
        return image;

    QPainter painter(&image);
    // The page fills 44 pixels of its longer side, centred, with room for a shadow.
    const double scale = 44.0 / std::max(p.PageWidth, p.PageHeight);
    const double pw = p.PageWidth * scale, ph = p.PageHeight * scale;
    const double ox = std::floor((size - pw) / 2), oy = std::floor((size - ph) / 2);
    const QRect paper(int(ox), int(oy), int(std::lround(pw)), int(std::lround(ph)));
    painter.fillRect(paper.translated(1, 1), kShadow);
    painter.fillRect(paper, Qt::white);
    painter.setPen(kPaperEdge);
    painter.drawRect(paper.adjusted(0, 0, -1, -1));

    // Fields as the sheet places them: inset by the spacing at the sides and
    // by one and a half spacings at the top and bottom of the column. At this
    // size they are snapped to whole pixels with at least one pixel of paper
    // between them, so that every field stays visible.
    // Binder spines are printed across a landscape page, labels on portrait sheets.
    const bool spine = p.Orientation == 1;
    const double columnWidth =
        (p.PageWidth - p.MarginLeft - p.MarginRight - p.ColumnGap * (p.Columns - 1)) / p.Columns;
    const double columnHeight = p.PageHeight - p.MarginTop - p.MarginBottom;
    const double s = p.FieldSpacing;
    const double step = (columnHeight - 2 * s) / p.Rows;
    auto px = [&](double mm, double origin) { return int(std::lround(origin + mm * scale)); };
    for (int c = 0; c < p.Columns; ++c) {
        const double left = p.MarginLeft + c * (columnWidth + p.ColumnGap);
        if (spine) {
            // The column outline of a spine sheet, dashed as on the page.
            painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(
                QRect(QPoint(px(left, ox), px(p.MarginTop, oy)),
                      QPoint(px(left + columnWidth, ox) - 1, px(p.MarginTop + columnHeight, oy) - 1)));
        }
        for (int r = 0; r < p.Rows; ++r) {
            const double top = p.MarginTop + 1.5 * s + r * step;
            const int x0 = px(left + s, ox), x1 = px(left + columnWidth - s, ox) - 1;
            const int y0 = px(top, oy), y1 = px(top + step - s, oy) - 1;
            if (x1 <= x0 || y1 <= y0)
                continue;
            const QRect field(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
            painter.fillRect(field, spine ? kSpineFill : kLabelFill);
            if (field.width() >= 6 && field.height() >= 6) {
                painter.setPen(spine ? kSpineEdge : kLabelEdge);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(field.adjusted(0, 0, -1, -1));
            }
            // A stroke for the text: across the field, or up the spine when
            // the field is a tall strip.
            painter.setPen(kInk);
            const QPoint centre = field.center();
            if (field.height() > 2.5 * field.width() && field.width() >= 4)
                painter.drawLine(QPoint(centre.x(), field.top() + field.height() / 5),
                                 QPoint(centre.x(), field.bottom() - field.height() / 5));
            else if (field.height() >= 5 && field.width() >= 8)
                painter.drawLine(QPoint(field.left() + field.width() / 4, centre.y()),
                                 QPoint(field.right() - field.width() / 4, centre.y()));
        }
    }
    return image;
}

const std::vector<QImage> &PresetPictures()
{
    static const std::vector<QImage> pictures = [] {
        std::vector<QImage> list;
        for (const TRSPreset &p : RSPresets())
            list.push_back(PresetPicture(p));
        return list;
    }();
    return pictures;
}
