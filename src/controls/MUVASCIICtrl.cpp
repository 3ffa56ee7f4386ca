#include "controls/MUVASCIICtrl.h"

#include "platform/codepage.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace
{

struct ControlCode {
    const char *abbreviation;
    const char *name;
};

constexpr std::array<ControlCode, 32> kControlCodes = {{
    {"NUL", "Nullzeichen"},
    {"SOH", "Start of Heading"},
    {"STX", "Start of Text"},
    {"ETX", "End of Text"},
    {"EOT", "End of Transmission"},
    {"ENQ", "Enquiry"},
    {"ACK", "Acknowledge"},
    {"BEL", "Bell"},
    {"BS", "Backspace"},
    {"HT", "Horizontal Tab"},
    {"LF", "Line Feed"},
    {"VT", "Vertical Tab"},
    {"FF", "Form Feed"},
    {"CR", "Carriage Return"},
    {"SO", "Shift Out"},
    {"SI", "Shift In"},
    {"DLE", "Data Link Escape"},
    {"DC1", "Device Control 1"},
    {"DC2", "Device Control 2"},
    {"DC3", "Device Control 3"},
    {"DC4", "Device Control 4"},
    {"NAK", "Negative Acknowledge"},
    {"SYN", "Synchronous Idle"},
    {"ETB", "End of Transmission Block"},
    {"CAN", "Cancel"},
    {"EM", "End of Medium"},
    {"SUB", "Substitute"},
    {"ESC", "Escape"},
    {"FS", "File Separator"},
    {"GS", "Group Separator"},
    {"RS", "Record Separator"},
    {"US", "Unit Separator"},
}};

bool isControl(int code)
{
    return (code >= 0 && code < 32) || code == 127;
}

// The five codes Windows-1252 leaves undefined; they show no character.
bool isUndefined(int code)
{
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

QFont smallArial()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(6);
    return f;
}

QFont statusFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    return f;
}

} // namespace

TMUVASCIICtrl::TMUVASCIICtrl(QWidget *parent) : QWidget(parent)
{
    aFont_ = font();
    aFontColor_ = palette().color(QPalette::WindowText);
    aPen_ = palette().color(QPalette::Button);
    aBrush_ = palette().color(QPalette::ToolTipBase);
    setMouseTracking(true);
    // The own menu opens on release, as the table reports the release first.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFixedSize(256, 272);
}

void TMUVASCIICtrl::SetAFont(const QFont &font)
{
    aFont_ = font;
    Recompute();
}

void TMUVASCIICtrl::SetAFontColor(const QColor &colour)
{
    aFontColor_ = colour;
    update();
}

void TMUVASCIICtrl::SetAPen(const QColor &colour)
{
    aPen_ = colour;
    Recompute();
}

void TMUVASCIICtrl::SetABrush(const QColor &colour)
{
    aBrush_ = colour;
    Recompute();
}

void TMUVASCIICtrl::SetAselection(int code)
{
    aselection_ = (code >= 256 || code < 0) ? -1 : code;
    update();
}

void TMUVASCIICtrl::SetMarkSpezialChars(bool on)
{
    markSpezialChars_ = on;
    update();
}

void TMUVASCIICtrl::Recompute()
{
    // The line height of the font, as a text height of "Ag" is measured.
    const int textHeight = QFontMetrics(aFont_).height();
    cell_ = textHeight + 2;
    setFixedSize(16 * textHeight + 33, 17 * cell_);
    updateGeometry();
    update();
}

int TMUVASCIICtrl::CodeAt(const QPoint &pos) const
{
    if (pos.x() < 0 || pos.y() < 0)
        return 256;
    const int col = pos.x() / cell_, row = pos.y() / cell_;
    if (col >= 16)
        return 256;
    return row * 16 + col;
}

QPoint TMUVASCIICtrl::CellOrigin(int code) const
{
    return QPoint((code % 16) * cell_, (code / 16) * cell_);
}

QString TMUVASCIICtrl::ControlAbbreviation(int code)
{
    if (code >= 0 && code < 32)
        return QString::fromLatin1(kControlCodes[std::size_t(code)].abbreviation);
    if (code == 127)
        return QStringLiteral("DEL");
    return QString();
}

QString TMUVASCIICtrl::ControlName(int code)
{
    if (code >= 0 && code < 32)
        return QString::fromLatin1(kControlCodes[std::size_t(code)].name);
    if (code == 127)
        return QStringLiteral("Delete");
    return QString();
}

QString TMUVASCIICtrl::CharacterText(int code)
{
    if (code < 32 || code > 255 || code == 127 || isUndefined(code))
        return QString();
    const char c = static_cast<char>(code);
    return platform::FromAnsi(&c, 1);
}

QString TMUVASCIICtrl::StatusText(int code)
{
    const QString numbers = QStringLiteral("Code : 0%1 ($%2)").arg(code).arg(code, 2, 16, QLatin1Char('0'));
    if (isControl(code))
        return numbers + QStringLiteral(", ") + ControlName(code);
    if (code < 256)
        return QStringLiteral("\" %1 \" - ").arg(CharacterText(code)) + numbers;
    return QString();
}

void TMUVASCIICtrl::PaintStatus(QPainter &p, int code) const
{
    const QRect row(0, 16 * cell_, width(), cell_);
    p.fillRect(row, palette().color(QPalette::Highlight));
    if (code >= 256)
        return;
    p.setFont(statusFont());
    p.setPen(palette().color(QPalette::HighlightedText));
    p.drawText(row.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, StatusText(code));
}

void TMUVASCIICtrl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightText = palette().color(QPalette::HighlightedText);
    const int s = cell_;
    for (int code = 0; code < 256; ++code) {
        const QPoint o = CellOrigin(code);
        // One pixel larger than the cell, so that neighbours share borders.
        const QRect cell(o.x(), o.y(), s + 1, s + 1);
        const bool selected = code == aselection_;
        p.setPen(aPen_);
        p.setBrush(selected ? highlight : aBrush_);
        p.drawRect(cell.adjusted(0, 0, -1, -1));
        if (isControl(code)) {
            p.setFont(smallArial());
            p.setPen(selected ? highlightText : QColor(Qt::lightGray));
            p.drawText(QRect(o.x(), o.y() + (s - 8) / 2, s + 1, s), Qt::AlignHCenter | Qt::AlignTop,
                       ControlAbbreviation(code));
        } else {
            p.setFont(aFont_);
            p.setPen(selected ? highlightText : aFontColor_);
            p.drawText(QRect(o.x(), o.y() + 1, s + 1, s), Qt::AlignHCenter | Qt::AlignTop,
                       CharacterText(code));
        }
        if (markSpezialChars_ && (code == 10 || code == 13 || code == 27 || code == 128)) {
            p.setPen(highlight);
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell.translated(1, 1).adjusted(2, 2, -2, -2).adjusted(0, 0, -1, -1));
        }
    }
    // The status row: empty, or the selected code's status, or the code under
    // the mouse while it moves over the table.
    const QRect row(0, 16 * s, width(), s);
    p.setPen(aPen_);
    p.setBrush(aBrush_);
    p.drawRect(row.adjusted(0, 0, -1, -1));
    if (hoverCode_ >= 0)
        PaintStatus(p, hoverCode_);
    else if (aselection_ >= 0)
        PaintStatus(p, aselection_);
}

void TMUVASCIICtrl::mouseMoveEvent(QMouseEvent *event)
{
    const int code = CodeAt(event->position().toPoint());
    if (code != hoverCode_) {
        hoverCode_ = code;
        update();
    }
}

void TMUVASCIICtrl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int code = CodeAt(pos);
    if (code < 256 && rect().contains(pos))
        emit OnSelectChar(this, static_cast<unsigned char>(code), event->button());
    if (event->button() == Qt::RightButton && popupMenu_)
        popupMenu_->popup(event->globalPosition().toPoint());
}

void TMUVASCIICtrl::enterEvent(QEnterEvent *)
{
    hoverCode_ = -1;
    update();
}

void TMUVASCIICtrl::leaveEvent(QEvent *)
{
    hoverCode_ = -1;
    update();
}
