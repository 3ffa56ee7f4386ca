#include "model/settings_places.h"

#include "temp_desktop_home.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(SettingsFolder, IsMadeInTheUsersDataFolder)
{
    TempDesktopHome home;
    const QString expected = home.DataHome() + QStringLiteral("/Dorlix/Einstellungen/");
    ASSERT_FALSE(QFileInfo::exists(expected));
    EXPECT_EQ(SettingsFolder(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    // Asked again, the same folder.
    EXPECT_EQ(SettingsFolder(), expected);

    // Without XDG_DATA_HOME the data folder lies in the home folder.
    home.set("XDG_DATA_HOME", QString());
    EXPECT_EQ(SettingsFolder(), home.Path() + QStringLiteral("/.local/share/Dorlix/Einstellungen/"));
}

TEST(SettingsFolder, IsEmptyWhenItCannotBeMade)
{
    TempDesktopHome home;
    QFile blocker(home.Path() + QStringLiteral("/datei"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    home.set("XDG_DATA_HOME", blocker.fileName());
    EXPECT_EQ(SettingsFolder(), QString());
}
