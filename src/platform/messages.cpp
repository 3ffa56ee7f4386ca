#include "platform/messages.h"

#include <cstdio>
#include <utility>

namespace platform
{

namespace
{
MessageHandler &handlerSlot()
{
    static MessageHandler handler;
    return handler;
}
QString &titleSlot()
{
    static QString title = QStringLiteral("Rückenschilder");
    return title;
}
} // namespace

int ShowMessage(const Message &msg)
{
    if (handlerSlot())
        return handlerSlot()(msg);
    QString text = msg.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    switch (msg.buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return mrYes;
    default:
        return mrOk;
    }
}

void ShowPlain(const QString &text)
{
    ShowMessage({text, QString(), MsgType::Plain, MsgButtons::Ok, MsgIcon::None});
}

void ShowError(const QString &text)
{
    ShowMessage({text, QString(), MsgType::Error, MsgButtons::Ok, MsgIcon::Error});
}

void ShowWarning(const QString &text)
{
    ShowMessage({text, QString(), MsgType::Warning, MsgButtons::Ok, MsgIcon::Warning});
}

int Confirm(const QString &text, MsgButtons buttons)
{
    return ShowMessage({text, QString(), MsgType::Confirmation, buttons, MsgIcon::Question});
}

int ShowSystem(const QString &text, const QString &caption, MsgIcon icon, MsgButtons buttons)
{
    return ShowMessage({text, caption, MsgType::System, buttons, icon});
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(handlerSlot(), std::move(handler));
}

QString ApplicationTitle()
{
    return titleSlot();
}
void SetApplicationTitle(const QString &title)
{
    titleSlot() = title;
}

} // namespace platform
