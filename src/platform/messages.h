#pragma once
// The one entry point for every message box the program shows.
//
// The model and the command-line tool only see this interface; the window
// program installs a handler that shows QMessageBox dialogs, tests install one
// that records the messages and answers questions.

#include <QString>
#include <functional>

namespace platform
{

enum class MsgType {
    Plain, // OK button, application title as caption, no icon
    Information,
    Warning,
    Error,
    Confirmation, // question icon
    System        // system message box with its own caption
};

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Modal results, as the rest of the program counts them.
enum MsgResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

enum class MsgIcon { None, Information, Warning, Error, Question };

struct Message {
    QString text;    // may contain "\r\n" line breaks
    QString caption; // empty: the application title
    MsgType type = MsgType::Plain;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None; // only for MsgType::System
};

using MessageHandler = std::function<int(const Message &)>;

// Shows a message through the installed handler and returns its modal result.
// Without a handler the text goes to standard error and the result is the
// first button (OK or Yes).
int ShowMessage(const Message &msg);

// Plain message box: OK, application title as caption.
void ShowPlain(const QString &text);
// Typed message boxes.
void ShowError(const QString &text);
void ShowWarning(const QString &text);
int Confirm(const QString &text, MsgButtons buttons = MsgButtons::YesNo);
// System message box with its own caption and icon.
int ShowSystem(const QString &text, const QString &caption, MsgIcon icon,
               MsgButtons buttons = MsgButtons::Ok);

// Installs a handler and returns the previous one.
MessageHandler SetMessageHandler(MessageHandler handler);

// The application title used as caption of plain message boxes.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

} // namespace platform
