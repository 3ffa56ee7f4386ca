#include "app/program_style.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProxyStyle>

namespace
{
// The double chevron of a tool bar that has more buttons than room, drawn
// here: the style's own picture is a PNG whose reading makes Qt load every
// image format plugin while the main window is still being built.
QIcon ExtensionIcon(bool vertical, bool rightToLeft)
{
    QIcon icon;
    for (int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / 16.0, side / 16.0);
        if (vertical) {
            p.translate(16, 0);
            p.rotate(90);
        } else if (rightToLeft) {
            p.translate(16, 0);
            p.scale(-1, 1);
        }
        QPainterPath chevrons;
        for (double x : {4.0, 8.5}) {
            chevrons.moveTo(x, 4.5);
            chevrons.lineTo(x + 3.5, 8);
            chevrons.lineTo(x, 11.5);
        }
        p.setPen(QPen(QColor(40, 40, 40), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(chevrons);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

class ProgramStyle : public QProxyStyle
{
  public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        // Hints appear at once.
        if (hint == SH_ToolTip_WakeUpDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        if (standardIcon == SP_ToolBarHorizontalExtensionButton)
            return ExtensionIcon(false, QApplication::isRightToLeft());
        if (standardIcon == SP_ToolBarVerticalExtensionButton)
            return ExtensionIcon(true, false);
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
};
} // namespace

void InstallProgramStyle()
{
    QApplication::setStyle(new ProgramStyle);
}
