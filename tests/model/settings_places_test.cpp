#include "model/rs.h"
#include "model/settings_places.h"
#include "model/undobj.h"

#include "platform/system.h"
#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

// A program file in a folder the user may not write into. root may write
// anywhere a mode allows, so for root the program lies in /proc, which takes
// no new files from anybody.
class ReadOnlyProgramFolder
{
  public:
    ReadOnlyProgramFolder()
    {
        if (::geteuid() == 0) {
            platform::SetProgramFilePath(QStringLiteral("/proc/dorlix"));
            return;
        }
        folder_ = dir_.filePath(QStringLiteral("bin"));
        QDir().mkpath(folder_);
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
        platform::SetProgramFilePath(folder_ + QStringLiteral("/dorlix"));
    }
    ~ReadOnlyProgramFolder()
    {
        if (!folder_.isEmpty())
            QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        platform::SetProgramFilePath(QString());
    }
    QString Folder() const { return QFileInfo(platform::ProgramFilePath()).absolutePath(); }

  private:
    QTemporaryDir dir_;
    QString folder_;
};

} // namespace

TEST(ProgramPlaces, AWritableProgramFolderKeepsEverythingBesideTheProgram)
{
    TempDesktopHome home;
    TempProgramFolder program;
    EXPECT_TRUE(FilesBesideProgram());
    EXPECT_EQ(SettingsFilePath(), program.File(QStringLiteral("dorlix.ini")));
    EXPECT_EQ(SnapshotFolder(), program.Path());

    TRS sheet;
    sheet.SetLayout(2, 2, 210, 297, 5, 5, 5, 5, 0, 0, clWhite);
    TRSUndo undo;
    undo.SetUser(QStringLiteral("anna"));
    undo.Push(&sheet);
    EXPECT_TRUE(QFileInfo::exists(program.File(QStringLiteral("dorlix_anna.1"))));
    EXPECT_FALSE(QFileInfo::exists(home.ConfigHome() + QStringLiteral("/Dorlix")));
    EXPECT_FALSE(QFileInfo::exists(home.StateHome() + QStringLiteral("/Dorlix")));
}

// Installed under /usr: settings and snapshots go to the user's XDG folders,
// and label files are saved wherever the user may write.
TEST(ProgramPlaces, AReadOnlyProgramFolderUsesTheUsersFolders)
{
    TempDesktopHome home;
    ReadOnlyProgramFolder program;
    MessageCapture messages;
    EXPECT_FALSE(FilesBesideProgram());
    EXPECT_EQ(SettingsFilePath(), home.ConfigHome() + QStringLiteral("/Dorlix/dorlix.ini"));
    EXPECT_TRUE(QFileInfo(home.ConfigHome() + QStringLiteral("/Dorlix")).isDir());
    const QString state = home.StateHome() + QStringLiteral("/Dorlix");
    EXPECT_EQ(SnapshotFolder(), state);

    TRS sheet;
    sheet.SetLayout(2, 2, 210, 297, 5, 5, 5, 5, 0, 0, clWhite);
    {
        TRSUndo undo;
        undo.SetUser(QStringLiteral("anna"));
        undo.Push(&sheet);
        sheet.GetField(0, 0)->Text = "zwei";
        undo.Push(&sheet);
        EXPECT_EQ(QDir(state).entryList(QDir::Files),
                  QStringList({"dorlix_anna.1", "dorlix_anna.2", "dorlix_anna.lock"}));
        ASSERT_TRUE(undo.Undo(&sheet));
        EXPECT_EQ(sheet.GetField(0, 0)->Text, "");
    }
    // The store cleans up after itself there as well.
    EXPECT_TRUE(QDir(state).entryList(QDir::Files).isEmpty());

    // Saving checks the folder the file goes into.
    QTemporaryDir data;
    QString error;
    EXPECT_TRUE(sheet.SaveToFile(data.filePath(QStringLiteral("a.rsd")), &error)) << error.toStdString();
    EXPECT_FALSE(sheet.SaveToFile(program.Folder() + QStringLiteral("/a.rsd"), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei \"")));
    EXPECT_TRUE(error.contains(QStringLiteral("konnte nicht gespeichert werden.\r\n")));
    EXPECT_TRUE(messages.Messages().empty());

    // Without the XDG variables, the usual folders in the home folder.
    home.set("XDG_CONFIG_HOME", QString());
    home.set("XDG_STATE_HOME", QStringLiteral("relativ/ist/ungueltig"));
    EXPECT_EQ(SettingsFilePath(), home.Path() + QStringLiteral("/.config/Dorlix/dorlix.ini"));
    EXPECT_EQ(SnapshotFolder(), home.Path() + QStringLiteral("/.local/state/Dorlix"));
}

// A program copied onto the desktop does not litter it with its files, and
// nobody is nagged about it.
TEST(ProgramPlaces, TheDesktopFolderIsNoPlaceForTheProgramsFiles)
{
    TempDesktopHome home;
    TempProgramFolder program;
    MessageCapture messages;
    platform::SetDesktopFolder(program.Path());
    EXPECT_FALSE(FilesBesideProgram());
    EXPECT_EQ(SettingsFilePath(), home.ConfigHome() + QStringLiteral("/Dorlix/dorlix.ini"));
    // Another letter case is another folder.
    platform::SetDesktopFolder(program.Path().toUpper());
    EXPECT_TRUE(FilesBesideProgram());
    EXPECT_TRUE(messages.Messages().empty());
    // A left-over test file of the check is replaced and removed.
    QFile leftOver(program.File(QStringLiteral("dorlix.tst")));
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    EXPECT_TRUE(FilesBesideProgram());
    EXPECT_FALSE(leftOver.exists());
}

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
