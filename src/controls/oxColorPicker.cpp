#include "controls/oxColorPicker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

using canvas::TColor;
using colours::MulDiv;
using colours::THSV;

// ---------------------------------------------------------------------------
// ToxGraphicPanel

ToxGraphicPanel::ToxGraphicPanel(Mode mode, QWidget *parent) : QWidget(parent), mode_(mode)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(mode == Mode::Field ? Qt::ClickFocus : Qt::NoFocus);
}

void ToxGraphicPanel::SetHSV(const THSV &hsv)
{
    if (mode_ == Mode::Field) {
        const bool newHue = hsv.H != pictureHue_;
        hsv_ = hsv;
        if (newHue)
            Rebuild();
    } else {
        hsv_ = hsv;
    }
    PlaceMarker();
}

void ToxGraphicPanel::Rebuild()
{
    BuildPicture();
    update();
}

void ToxGraphicPanel::BuildPicture()
{
    const int w = std::max(1, width());
    const int h = std::max(1, height());
    picture_ = QImage(w, h, QImage::Format_RGB32);
    if (mode_ == Mode::Field) {
        pictureHue_ = hsv_.H;
        for (int y = 0; y < h; ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture_.scanLine(y));
            const int v = MulDiv(255, h - y, h);
            for (int x = 0; x < w; ++x) {
                const colours::TRGB c = colours::HSVToRGB(hsv_.H, MulDiv(255, x, w), v);
                line[x] = qRgb(c.R, c.G, c.B);
            }
        }
    } else {
        for (int x = 0; x < w; ++x) {
            const colours::TRGB c = colours::HSVToRGB(MulDiv(360, x, w), 255, 255);
            const QRgb px = qRgb(c.R, c.G, c.B);
            for (int y = 0; y < h; ++y)
                reinterpret_cast<QRgb *>(picture_.scanLine(y))[x] = px;
        }
    }
}

void ToxGraphicPanel::PlaceMarker()
{
    if (mode_ == Mode::Field)
        MoveMarker(QPoint(MulDiv(hsv_.S, width(), 255), MulDiv(255 - hsv_.V, height(), 255)));
    else
        MoveMarker(QPoint(MulDiv(hsv_.H, width(), 360), height() / 2));
}

void ToxGraphicPanel::MoveMarker(QPoint p)
{
    p.setX(std::clamp(p.x(), 0, std::max(0, width() - 1)));
    p.setY(std::clamp(p.y(), 0, std::max(0, height() - 1)));
    if (markerShown_ && p == marker_)
        return;
    // Only the areas of the old and the new cross need painting again.
    const auto crossRect = [](QPoint c) { return QRect(c.x() - 4, c.y() - 4, 9, 9); };
    if (markerShown_)
        update(crossRect(marker_));
    marker_ = p;
    markerShown_ = true;
    update(crossRect(marker_));
}

void ToxGraphicPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (picture_.size() != size())
        BuildPicture();
    p.drawImage(0, 0, picture_);
    if (!markerShown_)
        return;
    // The cross inverts what lies under it (the look of an XOR pen), so it
    // shows on every colour; white minus the colour keeps the alpha intact.
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(marker_.x(), marker_.y() - 4, marker_.x(), marker_.y() + 4);
    p.drawLine(marker_.x() - 4, marker_.y(), marker_.x() - 1, marker_.y());
    p.drawLine(marker_.x() + 1, marker_.y(), marker_.x() + 4, marker_.y());
}

void ToxGraphicPanel::resizeEvent(QResizeEvent *)
{
    Rebuild();
    if (markerShown_)
        PlaceMarker();
}

void ToxGraphicPanel::PickAt(QPoint p)
{
    const int w = std::max(1, width());
    const int h = std::max(1, height());
    if (mode_ == Mode::Field) {
        // Beyond the border the values stop at their limits.
        hsv_.S = std::clamp(MulDiv(255, p.x(), w), 0, 255);
        hsv_.V = std::clamp(MulDiv(255, h - p.y(), h), 0, 255);
    } else {
        hsv_.H = std::clamp(MulDiv(360, p.x(), w), 0, 360);
    }
    MoveMarker(p);
    emit Changed(hsv_);
}

void ToxGraphicPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (mode_ == Mode::Field)
        setFocus(Qt::MouseFocusReason);
    PickAt(event->position().toPoint());
}

void ToxGraphicPanel::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        PickAt(event->position().toPoint());
}

// ---------------------------------------------------------------------------
// ToxRGBEditPanel

ToxRGBEditPanel::ToxRGBEditPanel(QWidget *parent) : QWidget(parent)
{
    const QColor backgrounds[3] = {canvas::ToQColor(0x5F5FFF), canvas::ToQColor(0x5FFF5F),
                                   canvas::ToQColor(0xFF5F5F)};
    for (int i = 0; i < 3; ++i) {
        auto *e = new QLineEdit(this);
        e->setFrame(false);
        e->setGeometry(i * 34, 0, 30, 18);
        e->setMaxLength(3);
        e->setAlignment(Qt::AlignCenter);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, backgrounds[i]);
        pal.setColor(QPalette::Text, Qt::black);
        e->setPalette(pal);
        e->installEventFilter(this);
        connect(e, &QLineEdit::textChanged, this, &ToxRGBEditPanel::EditChanged);
        connect(e, &QLineEdit::editingFinished, this, [this, i] { EditLeft(i); });
        edits_[i] = e;
    }
    resize(255, 18);
    WriteEdits();
}

QString ToxRGBEditPanel::Format(int v) const
{
    return hex_ ? QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper() : QString::number(v);
}

int ToxRGBEditPanel::ReadChannel(int channel) const
{
    const QString t = edits_[channel]->text().trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const int v = t.toInt(&ok, hex_ ? 16 : 10);
    return ok ? std::clamp(v, 0, 255) : 0;
}

void ToxRGBEditPanel::WriteEdits()
{
    updating_ = true;
    edits_[0]->setText(Format(canvas::RedOf(color_)));
    edits_[1]->setText(Format(canvas::GreenOf(color_)));
    edits_[2]->setText(Format(canvas::BlueOf(color_)));
    updating_ = false;
}

void ToxRGBEditPanel::SetHSV(const THSV &hsv)
{
    hsv_ = hsv;
    color_ = colours::HSVToColor(hsv.H, hsv.S, hsv.V);
    WriteEdits();
}

void ToxRGBEditPanel::SetHexEdit(bool on)
{
    if (hex_ == on)
        return;
    hex_ = on;
    // Shortening the limit cuts the old text; that is no change by the user.
    updating_ = true;
    for (QLineEdit *e : edits_)
        e->setMaxLength(on ? 2 : 3);
    updating_ = false;
    WriteEdits();
}

void ToxRGBEditPanel::EditChanged()
{
    if (updating_)
        return;
    const int r = ReadChannel(0), g = ReadChannel(1), b = ReadChannel(2);
    hsv_ = colours::RGBToHSV(r, g, b);
    color_ = canvas::RGBToTColor(r, g, b);
    emit Changed(hsv_);
}

void ToxRGBEditPanel::EditLeft(int channel)
{
    updating_ = true;
    edits_[channel]->setText(Format(ReadChannel(channel)));
    updating_ = false;
}

bool ToxRGBEditPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    // Navigation, Tab and shortcuts carry no printable character.
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    QChar ch = text.at(0);
    if (ch >= QLatin1Char('a') && ch <= QLatin1Char('f'))
        ch = ch.toUpper();
    const bool digit = ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
    const bool hexLetter = ch >= QLatin1Char('A') && ch <= QLatin1Char('F');
    if (digit || (hex_ && hexLetter)) {
        if (ch != text.at(0)) {
            static_cast<QLineEdit *>(watched)->insert(QString(ch));
            return true;
        }
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// ToxColorPicker

namespace
{
QPixmap PipettePixmap()
{
    // A small pipette whose tip (the hot spot) is at the bottom left.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen outline(Qt::white, 4, Qt::SolidLine, Qt::RoundCap);
    QPen body(Qt::black, 2, Qt::SolidLine, Qt::RoundCap);
    for (const QPen &pen : {outline, body}) {
        p.setPen(pen);
        p.drawLine(QPointF(2, 29), QPointF(15, 16));
        p.drawLine(QPointF(13, 12), QPointF(19, 18));
        p.drawLine(QPointF(17, 14), QPointF(25, 6));
    }
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(26, 5), 3.5, 3.5);
    return pm;
}
} // namespace

QCursor ToxColorPicker::DefaultPickCursor()
{
    static const QPixmap pm = PipettePixmap();
    return QCursor(pm, 2, 29);
}

ToxColorPicker::ToxColorPicker(QWidget *parent) : QWidget(parent)
{
    setMinimumWidth(100);
    field_ = new ToxGraphicPanel(ToxGraphicPanel::Mode::Field, this);
    field_->setGeometry(6, 6, 255, 255);
    hueBar_ = new ToxGraphicPanel(ToxGraphicPanel::Mode::HueBar, this);
    hueBar_->setGeometry(6, 268, 255, 16);
    edits_ = new ToxRGBEditPanel(this);
    edits_->setGeometry(5, 290, 255, 18);
    connect(field_, &ToxGraphicPanel::Changed, this, &ToxColorPicker::FromField);
    connect(hueBar_, &ToxGraphicPanel::Changed, this, &ToxColorPicker::FromHueBar);
    connect(edits_, &ToxRGBEditPanel::Changed, this, &ToxColorPicker::FromEdits);
    SetPickCursor(DefaultPickCursor());
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(field_);
    resize(267, 307);
    SetPickColor(canvas::RGBToTColor(255, 0, 0));
}

TColor ToxColorPicker::PickColor() const
{
    return edits_->Color();
}

void ToxColorPicker::SetPickColor(TColor c)
{
    const THSV hsv = colours::ColorToHSV(c);
    edits_->SetHSV(hsv);
    hueBar_->SetHSV(hsv);
    field_->SetHSV(hsv);
}

void ToxColorPicker::SetPickCursor(const QCursor &c)
{
    pickCursor_ = c;
    field_->setCursor(c);
    hueBar_->setCursor(c);
}

void ToxColorPicker::SetEditVisible(bool on)
{
    editVisible_ = on;
    edits_->setVisible(on);
    FitHeight();
}

bool ToxColorPicker::HexEdit() const
{
    return edits_->HexEdit();
}

void ToxColorPicker::SetHexEdit(bool on)
{
    edits_->SetHexEdit(on);
}

void ToxColorPicker::SetAutoHeight(bool on)
{
    autoHeight_ = on;
    FitHeight();
}

void ToxColorPicker::FitHeight()
{
    if (!autoHeight_)
        return;
    const int h = editVisible_ ? edits_->geometry().bottom() + 1 + 5 : edits_->y() - 2 + 5;
    if (h != height())
        resize(width(), h);
}

void ToxColorPicker::resizeEvent(QResizeEvent *)
{
    FitHeight();
}

void ToxColorPicker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
}

void ToxColorPicker::FromField(const THSV &hsv)
{
    hueBar_->SetHSV(hsv);
    edits_->SetHSV(hsv);
    emit OnColorChange(edits_->Color());
}

void ToxColorPicker::FromHueBar(const THSV &hsv)
{
    // The field keeps its saturation and value; only the hue is new.
    THSV f = field_->HSV();
    f.H = hsv.H;
    field_->SetHSV(f);
    edits_->SetHSV(f);
    emit OnColorChange(edits_->Color());
}

void ToxColorPicker::FromEdits(const THSV &hsv)
{
    field_->SetHSV(hsv);
    hueBar_->SetHSV(hsv);
    emit OnColorChange(edits_->Color());
}
