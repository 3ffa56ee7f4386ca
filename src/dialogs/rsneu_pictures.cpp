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

    // The fields in whole pixels: the area inside the margins is shared out
    // evenly among columns and rows, and every field keeps at least one pixel
    // of paper to its right and below, so that none disappears at this size.
    // Binder spines are printed across a landscape page, labels on portrait sheets.
    const bool spine = p.Orientation == 1;
    auto px = [&](double mm) { return int(std::lround(mm * scale)); };
    const int left = paper.left() + std::max(1, px(p.MarginLeft));
    const int right = paper.right() - std::max(1, px(p.MarginRight)); // inclusive
    const int top = paper.top() + std::max(1, px(p.MarginTop));
    const int bottom = paper.bottom() - std::max(1, px(p.MarginBottom));
    const int areaW = right - left + 1, areaH = bottom - top + 1;
    const int gap = std::max(1, px(p.FieldSpacing));
    // Outline and text stroke are decided once per picture, from the average
    // field, so that all fields of a standard look alike.
    const int inset = spine ? gap : 0; // spines keep their spacing on both sides
    const double fieldW = double(areaW) / p.Columns - gap - inset, fieldH = double(areaH) / p.Rows - 1;
    const bool outlined = fieldW >= 6.5 && fieldH >= 6.5;
    const bool upStroke = fieldH > 2.5 * fieldW && fieldW >= 3;
    const bool acrossStroke = !upStroke && fieldH >= 5.5 && fieldW >= 8;
    for (int c = 0; c < p.Columns; ++c) {
        const int x0 = left + c * areaW / p.Columns, x1 = left + (c + 1) * areaW / p.Columns; // exclusive
        for (int r = 0; r < p.Rows; ++r) {
            const int y0 = top + r * areaH / p.Rows, y1 = top + (r + 1) * areaH / p.Rows;
            const QRect field(QPoint(x0 + inset, y0), QPoint(x1 - 1 - gap, y1 - 2));
            if (field.width() < 1 || field.height() < 1)
                continue;
            painter.fillRect(field, spine ? kSpineFill : kLabelFill);
            if (outlined) {
                painter.setPen(spine ? kSpineEdge : kLabelEdge);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(field.adjusted(0, 0, -1, -1));
            }
            // A stroke for the text: across the field, or up the spine when
            // the field is a tall strip.
            painter.setPen(kInk);
            const QPoint centre = field.center();
            if (upStroke)
                painter.drawLine(QPoint(centre.x(), field.top() + field.height() / 5),
                                 QPoint(centre.x(), field.bottom() - field.height() / 5));
            else if (acrossStroke)
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
