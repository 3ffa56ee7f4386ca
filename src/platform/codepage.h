#pragma once
// Windows-1252 text: the model and the label files hold 8-bit text in this
// code page; the user interface converts at its edge.

#include <QString>
#include <string>

namespace platform
{

// Converts 8-bit Windows-1252 text to Unicode. The five undefined bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// value, as Windows does.
QString FromAnsi(const std::string &text);
QString FromAnsi(const char *data, qsizetype size);

// Converts Unicode text to Windows-1252; characters outside the code page
// become "?".
std::string ToAnsi(const QString &text);

} // namespace platform
