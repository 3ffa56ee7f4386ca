#pragma once
// German texts for the system errors a user meets when files are read or
// written. The C library and Qt report them in English; the common ones get
// texts of our own, the rest keep the system's text behind a German lead.

#include <QString>

namespace platform
{

// The text for an errno value.
QString SystemErrorText(int errnum);

// The text for a reason Qt reported (QFile::errorString() and the like,
// which carry the C library's text for the failing call).
QString SystemErrorText(const QString &systemText);

} // namespace platform
