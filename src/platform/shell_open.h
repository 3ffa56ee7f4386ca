#pragma once
// Opening a link or a file with the desktop's opener (the program that the
// desktop associates with it): web and mail links, folders, documents.

#include <QString>
#include <QUrl>

#include <functional>

namespace platform
{

// The address the opener receives for target: a text with a scheme
// ("mailto:", "https://", "file://") as it is, anything else as a local
// path (relative paths against the current folder).
QUrl ShellTargetUrl(const QString &target);

// Asks the desktop to open target; false when it is empty or the desktop
// refused. Shows no message: callers decide whether a failure matters.
bool ShellOpen(const QString &target);

// Another opener (tests record the addresses instead of starting
// programs); returns the previous one. An empty function restores the
// desktop's opener.
using ShellOpener = std::function<bool(const QUrl &url)>;
ShellOpener SetShellOpener(ShellOpener opener);

} // namespace platform
