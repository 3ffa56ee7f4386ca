#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace platform
{

namespace
{
QString &programOverride()
{
    static QString path;
    return path;
}
QString &desktopOverride()
{
    static QString path;
    return path;
}
QString orUnknown(const QString &s)
{
    return s.isEmpty() ? QStringLiteral("??") : s;
}
} // namespace

QString LoginName()
{
    if (const passwd *pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    if (const char *login = getlogin(); login && *login)
        return QString::fromLocal8Bit(login);
    return orUnknown(qEnvironmentVariable("USER"));
}

QString ComputerName()
{
    std::vector<char> buf(256, '\0');
    if (gethostname(buf.data(), buf.size() - 1) != 0)
        return QStringLiteral("??");
    return orUnknown(QString::fromLocal8Bit(buf.data()));
}

QString ProgramFilePath()
{
    if (!programOverride().isEmpty())
        return programOverride();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    // Without an application object: ask the kernel.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

void SetProgramFilePath(const QString &path)
{
    programOverride() = path;
}

QString ProgramFolder()
{
    return QFileInfo(ProgramFilePath()).absolutePath();
}

QString DesktopFolder()
{
    if (!desktopOverride().isEmpty())
        return desktopOverride();
    QString path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

void SetDesktopFolder(const QString &path)
{
    desktopOverride() = path;
}

} // namespace platform
