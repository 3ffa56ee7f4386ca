#include "dialogs/serien_picker.h"

#include "model/rs.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace
{
constexpr double kMarginPx = 4;
}

TStartLabelPicker::TStartLabelPicker(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shp_Startetikett"));
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Klicken Sie auf das erste freie Etikett des Bogens."));
    setMinimumSize(120, 120);
}

void TStartLabelPicker::SetPlaces(const TRS *sheet, std::vector<std::pair<int, int>> places,
                                  std::vector<bool> takesRecord)
{
    sheet_ = sheet;
    places_ = std::move(places);
    takes_ = std::move(takesRecord);
    start_ = std::clamp(start_, 1, std::max(1, int(places_.size())));
    update();
}

void TStartLabelPicker::SetStartLabel(int label)
{
    label = std::clamp(label, 1, std::max(1, int(places_.size())));
    if (label == start_)
        return;
    start_ = label;
    update();
    emit StartLabelChanged(start_);
}

double TStartLabelPicker::Scale() const
{
    if (!sheet_ || sheet_->PageWidth <= 0 || sheet_->PageHeight <= 0)
        return 0;
    return std::min((width() - 2 * kMarginPx) / sheet_->PageWidth,
                    (height() - 2 * kMarginPx) / sheet_->PageHeight);
}

QRectF TStartLabelPicker::PlaceRect(int i) const
{
    const TRSObject *f =
        sheet_ ? sheet_->GetField(places_[std::size_t(i)].first, places_[std::size_t(i)].second) : nullptr;
    if (!f)
        return QRectF();
    const double s = Scale();
    const double x0 = (width() - sheet_->PageWidth * s) / 2, y0 = (height() - sheet_->PageHeight * s) / 2;
    return QRectF(x0 + f->Left * s, y0 + f->Top * s, f->Width * s, f->Height * s);
}

void TStartLabelPicker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const double s = Scale();
    if (s <= 0)
        return;
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF paper((width() - sheet_->PageWidth * s) / 2, (height() - sheet_->PageHeight * s) / 2,
                       sheet_->PageWidth * s, sheet_->PageHeight * s);
    p.fillRect(paper, Qt::white);
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawRect(paper);

    QFont small = font();
    for (int i = 0; i < int(places_.size()); ++i) {
        const QRectF r = PlaceRect(i);
        if (r.isEmpty())
            continue;
        const bool used = i < start_ - 1;
        const bool takes = i < int(takes_.size()) && takes_[std::size_t(i)];
        p.setPen(
            QPen(i == start_ - 1 ? QColor(0xFF, 0x66, 0x00) : QColor(Qt::gray), i == start_ - 1 ? 2 : 1));
        p.setBrush(used ? QColor(0xA0, 0xA0, 0xA0) : takes ? QColor(Qt::white) : QColor(0xE4, 0xE4, 0xE4));
        p.drawRect(r);
        if (used) {
            p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
            p.drawLine(r.topLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomLeft());
            continue;
        }
        small.setPixelSize(std::max(6, int(std::min(r.height() * 0.6, r.width() / 3))));
        p.setFont(small);
        p.setPen(takes ? Qt::black : Qt::darkGray);
        p.drawText(r, Qt::AlignCenter, QString::number(i + 1));
    }
}

void TStartLabelPicker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < int(places_.size()); ++i)
        if (PlaceRect(i).contains(event->position())) {
            SetStartLabel(i + 1);
            return;
        }
}
