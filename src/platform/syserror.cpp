#include "platform/syserror.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace platform
{

namespace
{

struct TErrorText {
    int errnum;
    const char *text;
};

const TErrorText kTexts[] = {
    {ENOENT, "Die Datei oder der Ordner ist nicht vorhanden."},
    {ENOTDIR, "Ein Teil des Pfades ist kein Ordner."},
    {EACCES, "Keine Berechtigung für diesen Zugriff."},
    {EPERM, "Der Vorgang ist nicht erlaubt."},
    {ENOSPC, "Auf dem Datenträger ist kein Platz mehr frei."},
    {EROFS, "Der Datenträger ist schreibgeschützt."},
    {EDQUOT, "Der zugeteilte Speicherplatz (Quota) ist erschöpft."},
    {EFBIG, "Die Datei ist zu groß."},
    {ENAMETOOLONG, "Der Dateiname ist zu lang."},
    {EISDIR, "Das Ziel ist ein Ordner, keine Datei."},
    {EEXIST, "Die Datei ist bereits vorhanden."},
    {EBUSY, "Die Datei wird gerade verwendet."},
    {EIO, "Ein- oder Ausgabefehler des Datenträgers."},
    {EMFILE, "Es sind zu viele Dateien geöffnet."},
};

QString CLibraryText(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

} // namespace

QString SystemErrorText(int errnum)
{
    for (const TErrorText &e : kTexts)
        if (e.errnum == errnum)
            return QString::fromUtf8(e.text);
    if (errnum == 0)
        return QStringLiteral("Unbekannter Fehler.");
    return QStringLiteral("Systemfehler: %1").arg(CLibraryText(errnum));
}

QString SystemErrorText(const QString &systemText)
{
    const QString text = systemText.trimmed();
    for (const TErrorText &e : kTexts)
        if (text.compare(CLibraryText(e.errnum), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(e.text);
    if (text.isEmpty() || text == QLatin1String("Unknown error"))
        return QStringLiteral("Unbekannter Fehler.");
    return QStringLiteral("Systemfehler: %1").arg(text);
}

} // namespace platform
