#pragma once
// A temporary home folder for tests of the desktop integration: HOME, the
// XDG data, configuration and state folders and the desktop folder point into it
// for as long as it lives, so that no test touches the real home folder.

#include "platform/system.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <utility>
#include <vector>

class TempDesktopHome
{
  public:
    TempDesktopHome()
    {
        set("HOME", dir_.path());
        set("XDG_DATA_HOME", dir_.filePath(".local/share"));
        set("XDG_CONFIG_HOME", dir_.filePath(".config"));
        set("XDG_STATE_HOME", dir_.filePath(".local/state"));
        // A desktop session would make the launcher code talk to its services.
        set("DBUS_SESSION_BUS_ADDRESS", QString());
        platform::SetDesktopFolder(Desktop());
    }
    ~TempDesktopHome()
    {
        platform::SetDesktopFolder(QString());
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second.isNull())
                qunsetenv(it->first);
            else
                qputenv(it->first, it->second);
        }
    }
    TempDesktopHome(const TempDesktopHome &) = delete;
    TempDesktopHome &operator=(const TempDesktopHome &) = delete;

    QString Path() const { return dir_.path(); }
    QString DataHome() const { return dir_.filePath(".local/share"); }
    QString ConfigHome() const { return dir_.filePath(".config"); }
    QString StateHome() const { return dir_.filePath(".local/state"); }
    QString Desktop() const { return dir_.filePath("Schreibtisch"); }

    // Points a variable somewhere else for the rest of the test.
    void set(const char *name, const QString &value)
    {
        saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }

  private:
    QTemporaryDir dir_;
    std::vector<std::pair<const char *, QByteArray>> saved_;
};
