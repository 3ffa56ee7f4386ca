#pragma once
// System identity and the places the program writes to.

#include <QString>

namespace platform
{

// Login name of the current user (passwd entry, else getlogin, else $USER);
// "??" when the system gives none.
QString LoginName();
// Name of this computer (gethostname); "??" when empty.
QString ComputerName();

// Full path of the program file. Tests and tools may set another one; an
// empty path restores the real one.
QString ProgramFilePath();
void SetProgramFilePath(const QString &path);

// The folder of the program file, without a trailing separator.
QString ProgramFolder();

// The user's desktop folder (XDG), without a trailing separator; empty when
// unknown. Tests may set another one; an empty path restores the real one.
QString DesktopFolder();
void SetDesktopFolder(const QString &path);

} // namespace platform
