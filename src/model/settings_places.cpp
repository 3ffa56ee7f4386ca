#include "model/settings_places.h"

#include <QDir>
#include <QStandardPaths>

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
