#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>

namespace platform
{

namespace
{
ShellOpener &openerOverride()
{
    static ShellOpener opener;
    return opener;
}
} // namespace

QUrl ShellTargetUrl(const QString &target)
{
    const QString t = target.trimmed();
    if (t.isEmpty())
        return QUrl();
    // A scheme of two or more letters; one letter would be a drive.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(t).hasMatch())
        return QUrl(t);
    // Browsers take a bare "www." address as a web address; so does the opener.
    if (t.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + t);
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(t));
}

bool ShellOpen(const QString &target)
{
    const QUrl url = ShellTargetUrl(target);
    if (!url.isValid() || url.isEmpty())
        return false;
    if (const ShellOpener &opener = openerOverride())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

ShellOpener SetShellOpener(ShellOpener opener)
{
    ShellOpener previous = std::move(openerOverride());
    openerOverride() = std::move(opener);
    return previous;
}

} // namespace platform
