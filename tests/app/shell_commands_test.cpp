#include "app/shell_commands.h"

#include "platform/ini.h"
#include "platform/shell.h"
#include "platform/system.h"

#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace
{

const QString kAssociationQuestion = QStringLiteral(
    "Hiermit legen Sie fest, dass Rückenschilddateien (*.rsd)\r\nper Doppelklick mit dorlix geöffnet werden "
    "können.\r\n\r\nEs wird ein Eintrag in den Dateityp-Einstellungen Ihres\r\nBenutzerkontos vorgenommen. "
    "Falls "
    "dies nicht möglich ist, wenden Sie sich \r\nbitte an Ihren Systemadministrator.");
const QString kAssociationFailed = QStringLiteral(
    "Dateityp-Zuordnung konnte nicht geändert werden!\r\nBitte wenden Sie sich an Ihren Systemadministrator");

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Answers the folder browser from a script and records where it started.
class ScriptedBrowser
{
  public:
    ScriptedBrowser()
    {
        previous_ = platform::SetFolderDialog([this](const QString &caption, const QString &start) {
            captions << caption;
            starts << start;
            return answer;
        });
    }
    ~ScriptedBrowser() { platform::SetFolderDialog(previous_); }
    QString answer;
    QStringList captions, starts;

  private:
    platform::FolderDialog previous_;
};

// Keeps the current folder of the process as the test found it.
class KeepCurrentFolder
{
  public:
    ~KeepCurrentFolder() { QDir::setCurrent(saved_); }

  private:
    QString saved_ = QDir::currentPath();
};

} // namespace

TEST(ShellCommands, ProgramIconIsAValidSvg)
{
    const QByteArray svg = ProgramIconSvg();
    ASSERT_FALSE(svg.isEmpty());
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
}

TEST(ShellCommands, FileAssociationAsksAndRegisters)
{
    TempProgramFolder program;
    TempDesktopHome home;
    MessageCapture messages;

    // Only Yes goes on.
    messages.Answer(platform::mrNo);
    mm_openrsdClick();
    messages.Answer(platform::mrCancel);
    mm_openrsdClick();
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[0].text, kAssociationQuestion);
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Confirmation);
    EXPECT_EQ(messages.Messages()[0].buttons, platform::MsgButtons::YesNoCancel);
    EXPECT_FALSE(QFileInfo::exists(platform::ApplicationEntryPath()));

    messages.Clear();
    messages.Answer(platform::mrYes);
    mm_openrsdClick();
    EXPECT_EQ(messages.Texts(), QStringList{kAssociationQuestion});
    const QString entry = readText(platform::ApplicationEntryPath());
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"%1\" %f\n").arg(program.File("dorlix"))))
        << qPrintable(entry);
    EXPECT_EQ(readText(platform::ProgramIconPath()), QString::fromUtf8(ProgramIconSvg()));

    // Where the user's data folder cannot be written, the user is told.
    QFile blocker(home.Path() + QStringLiteral("/datei"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    home.set("XDG_DATA_HOME", blocker.fileName() + QStringLiteral("/share"));
    messages.Clear();
    messages.Answer(platform::mrYes);
    mm_openrsdClick();
    ASSERT_EQ(messages.Texts(), (QStringList{kAssociationQuestion, kAssociationFailed}));
    EXPECT_EQ(messages.Messages()[1].type, platform::MsgType::Plain);
}

TEST(ShellCommands, DesktopLinkIsALauncherForTheProgram)
{
    TempProgramFolder program;
    TempDesktopHome home;
    MessageCapture messages;

    // The desktop folder does not exist yet: it is made.
    ASSERT_TRUE(mm_lnkdsktpClick());
    EXPECT_TRUE(messages.Messages().empty());
    const QString launcher = home.Desktop() + QStringLiteral("/Rückenschilder.desktop");
    ASSERT_TRUE(QFileInfo(launcher).isExecutable());
    const QString text = readText(launcher);
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=Rückenschilder\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nComment=Rückenschilder leicht gemacht\\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"%1\" %f\n").arg(program.File("dorlix"))));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=%1\n").arg(platform::ProgramIconPath())));
    EXPECT_TRUE(QFileInfo::exists(platform::ProgramIconPath()));

    // Made again: replaced, still one launcher.
    ASSERT_TRUE(mm_lnkdsktpClick());
    EXPECT_EQ(QDir(home.Desktop()).entryList(QDir::Files), QStringList{"Rückenschilder.desktop"});

    // A desktop folder that cannot be made.
    QFile blocker(home.Path() + QStringLiteral("/datei"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    platform::SetDesktopFolder(blocker.fileName() + QStringLiteral("/Desktop"));
    EXPECT_FALSE(mm_lnkdsktpClick());
    ASSERT_EQ(messages.Messages().size(), 1u);
    const platform::Message &m = messages.Messages()[0];
    EXPECT_EQ(m.text, QStringLiteral("Verknüpfung konnte leider nicht angelegt werden !"));
    EXPECT_EQ(m.caption, QStringLiteral("Fehler..."));
    EXPECT_EQ(m.type, platform::MsgType::System);
    EXPECT_EQ(m.icon, platform::MsgIcon::Warning);
}

TEST(ShellCommands, DataFolderChosenIsStoredAtOnce)
{
    TempProgramFolder program;
    KeepCurrentFolder keep;
    ScriptedBrowser browser;
    platform::TFolderBrowser folderBrowser;
    const QString programFolder = program.Path() + QLatin1Char('/');
    const QString ini = program.File("dorlix.ini");
    const QString chosen = program.File("Meine Schilder");
    ASSERT_TRUE(QDir().mkpath(chosen));

    // No data folder yet: the browser starts in the program folder.
    QString dataFolder;
    browser.answer = chosen;
    mm_DatablageClick(dataFolder, programFolder, folderBrowser);
    EXPECT_EQ(browser.captions, QStringList{"Datenpfad wählen..."});
    EXPECT_EQ(browser.starts, QStringList{programFolder});
    EXPECT_EQ(dataFolder, chosen + QLatin1Char('/'));
    EXPECT_EQ(QDir::currentPath(), chosen);
    // Only this key is written now; the others follow when the window closes.
    EXPECT_EQ(readText(ini), QStringLiteral("[Pfad]\nDaten=%1\n").arg(chosen));

    // Cancelled later: the folder chosen before stays; the browser started there.
    browser.answer.clear();
    mm_DatablageClick(dataFolder, programFolder, folderBrowser);
    EXPECT_EQ(browser.starts.last(), dataFolder);
    EXPECT_EQ(dataFolder, chosen + QLatin1Char('/'));
    EXPECT_EQ(platform::TIniFile(ini).ReadString("Pfad", "Daten"), chosen);
}

TEST(ShellCommands, DataFolderFallsBackToTheProgramFolder)
{
    TempProgramFolder program;
    KeepCurrentFolder keep;
    ScriptedBrowser browser;
    const QString programFolder = program.Path() + QLatin1Char('/');
    const QString ini = program.File("dorlix.ini");

    // Cancelled in a run without an earlier choice: the program folder,
    // nothing written now.
    {
        platform::TFolderBrowser folderBrowser;
        QString dataFolder = QStringLiteral("/gibt/es/nicht/");
        mm_DatablageClick(dataFolder, programFolder, folderBrowser);
        EXPECT_EQ(browser.starts, QStringList{programFolder});
        EXPECT_EQ(dataFolder, programFolder);
        EXPECT_FALSE(QFileInfo::exists(ini));
    }
    // A chosen folder that has gone in the meantime counts as none.
    {
        platform::TFolderBrowser folderBrowser;
        browser.answer = program.File("weg");
        QString dataFolder;
        mm_DatablageClick(dataFolder, programFolder, folderBrowser);
        EXPECT_EQ(dataFolder, programFolder);
        EXPECT_FALSE(QFileInfo::exists(ini));
    }
    // The program runs from the desktop: the choice goes into the user's
    // own settings file, not onto the desktop.
    {
        TempDesktopHome home;
        MessageCapture messages;
        platform::SetDesktopFolder(program.Path());
        platform::TFolderBrowser folderBrowser;
        browser.answer = QDir::tempPath();
        QString dataFolder;
        mm_DatablageClick(dataFolder, programFolder, folderBrowser);
        platform::SetDesktopFolder(QString());
        EXPECT_EQ(dataFolder, QDir::tempPath() + QLatin1Char('/'));
        EXPECT_TRUE(messages.Messages().empty());
        EXPECT_FALSE(QFileInfo::exists(ini));
        EXPECT_EQ(platform::TIniFile(home.ConfigHome() + "/Dorlix/dorlix.ini").ReadString("Pfad", "Daten"),
                  QDir::tempPath());
    }
}
