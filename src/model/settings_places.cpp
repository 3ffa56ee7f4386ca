#include "model/settings_places.h"

#include "model/folder_check.h"

#include "platform/system.h"

#include <QDir>
#include <QStandardPaths>

namespace
{

const QString kSettingsFile = QStringLiteral("dorlix.ini");

// $name when it holds an absolute path (as the XDG rules demand), else the
// home folder + fallback.
QString xdgFolder(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    const QString home = QDir::homePath();
    if (home.isEmpty())
        return {};
    return QDir::cleanPath(home + QLatin1Char('/') + fallback);
}

QString madeFolder(const QString &base)
{
    if (base.isEmpty())
        return {};
    const QString folder = base + QStringLiteral("/Dorlix");
    return QDir().mkpath(folder) ? folder : QString();
}

} // namespace

bool FilesBesideProgram()
{
    return ProgramFolderCheck();
}

QString SettingsFilePath()
{
    if (FilesBesideProgram())
        return platform::ProgramFolder() + QLatin1Char('/') + kSettingsFile;
    const QString folder = madeFolder(xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")));
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + kSettingsFile;
}

QString SnapshotFolder()
{
    if (FilesBesideProgram())
        return platform::ProgramFolder();
    return madeFolder(xdgFolder("XDG_STATE_HOME", QStringLiteral(".local/state")));
}

QString SettingsFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString folder = base + QStringLiteral("Dorlix/Einstellungen");
    if (!QDir().mkpath(folder))
        return {};
    return folder + QLatin1Char('/');
}
