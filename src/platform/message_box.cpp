#include "platform/message_box.h"

#include "platform/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace platform
{

namespace
{
QString captionFor(const Message &m)
{
    if (!m.caption.isEmpty())
        return m.caption;
    switch (m.type) {
    case MsgType::Warning:
        return QStringLiteral("Warnung");
    case MsgType::Error:
        return QStringLiteral("Fehler");
    case MsgType::Information:
        return QStringLiteral("Information");
    case MsgType::Confirmation:
        return QStringLiteral("Bestätigen");
    case MsgType::Plain:
    case MsgType::System:
        break;
    }
    return ApplicationTitle();
}

QMessageBox::Icon iconFor(const Message &m)
{
    switch (m.type) {
    case MsgType::Warning:
        return QMessageBox::Warning;
    case MsgType::Error:
        return QMessageBox::Critical;
    case MsgType::Information:
        return QMessageBox::Information;
    case MsgType::Confirmation:
        return QMessageBox::Question;
    case MsgType::Plain:
        return QMessageBox::NoIcon;
    case MsgType::System:
        break;
    }
    switch (m.icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int MessageTextWidth(const QString &text, const QFont &font, int screenWidth)
{
    // Wide enough for the longest line, so that Qt's own wrapping never
    // leaves a single word on a line of its own; long texts still wrap.
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    const int limit = std::max(300, std::min(720, screenWidth * 2 / 3));
    return std::min(widest + fm.averageCharWidth(), limit);
}

namespace
{
int show(const Message &m)
{
    QString text = m.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(iconFor(m), captionFor(m), text, QMessageBox::NoButton, QApplication::activeWindow());
    struct Button {
        QMessageBox::StandardButton std;
        const char *label;
        int result;
    };
    std::vector<Button> buttons;
    switch (m.buttons) {
    case MsgButtons::Ok:
        buttons = {{QMessageBox::Ok, "OK", mrOk}};
        break;
    case MsgButtons::OkCancel:
        buttons = {{QMessageBox::Ok, "OK", mrOk}, {QMessageBox::Cancel, "Abbrechen", mrCancel}};
        break;
    case MsgButtons::YesNo:
        buttons = {{QMessageBox::Yes, "&Ja", mrYes}, {QMessageBox::No, "&Nein", mrNo}};
        break;
    case MsgButtons::YesNoCancel:
        buttons = {{QMessageBox::Yes, "&Ja", mrYes},
                   {QMessageBox::No, "&Nein", mrNo},
                   {QMessageBox::Cancel, "Abbrechen", mrCancel}};
        break;
    }
    for (const Button &b : buttons)
        box.addButton(b.std)->setText(QString::fromUtf8(b.label));
    box.setDefaultButton(buttons.front().std);
    // Closing the box without a button counts as Cancel (or No, or OK).
    box.setEscapeButton(box.button(buttons.back().std));
    if (QLabel *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        const QScreen *screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
        const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
        label->setMinimumWidth(MessageTextWidth(text, label->font(), screenWidth));
    }
    box.exec();
    for (const Button &b : buttons)
        if (box.clickedButton() == box.button(b.std))
            return b.result;
    return buttons.back().result;
}
} // namespace

void InstallMessageBoxes()
{
    SetMessageHandler(show);
}

} // namespace platform
