#include "app/shell_commands.h"

#include "model/settings_places.h"
#include "platform/ini.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray ProgramIconSvg()
{
    QFile f(QString::fromLatin1(kProgramIconResource));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void mm_openrsdClick()
{
    const int answer = platform::Confirm(
        QStringLiteral("Hiermit legen Sie fest, dass Rückenschilddateien (*.rsd)\r\n"
                       "per Doppelklick mit dorlix geöffnet werden können.\r\n\r\n"
                       "Es wird ein Eintrag in den Dateityp-Einstellungen Ihres\r\n"
                       "Benutzerkontos vorgenommen. Falls dies nicht möglich ist, wenden Sie sich \r\n"
                       "bitte an Ihren Systemadministrator."),
        platform::MsgButtons::YesNoCancel);
    if (answer != platform::mrYes)
        return;
    if (!platform::RegisterRsdFileType(platform::ProgramFilePath(), ProgramIconSvg()))
        platform::ShowPlain(QStringLiteral("Dateityp-Zuordnung konnte nicht geändert werden!\r\n"
                                           "Bitte wenden Sie sich an Ihren Systemadministrator"));
}

bool mm_lnkdsktpClick()
{
    bool ok = false;
    const QString desktop = platform::DesktopFolder();
    // A desktop folder that does not exist yet is made, as the user asked for
    // a launcher on it.
    if (!desktop.isEmpty() && QDir().mkpath(desktop)) {
        // The icon is optional: a launcher without it still starts the program.
        const QString icon =
            platform::InstallProgramIcon(ProgramIconSvg()) ? platform::ProgramIconPath() : QString();
        ok = platform::CreateDesktopLauncher(desktop + QStringLiteral("/Rückenschilder.desktop"),
                                             platform::ProgramFilePath(), QStringLiteral("Rückenschilder"),
                                             QStringLiteral("Rückenschilder leicht gemacht\n"
                                                            "Beschriftungen für Ordnerrücken und Etiketten"),
                                             icon);
    }
    if (!ok)
        platform::ShowSystem(QStringLiteral("Verknüpfung konnte leider nicht angelegt werden !"),
                             QStringLiteral("Fehler..."), platform::MsgIcon::Warning);
    return ok;
}

void mm_DatablageClick(QString &DataFolder, const QString &ProgramFolder, platform::TFolderBrowser &browser)
{
    const bool dataExists = !DataFolder.isEmpty() && QFileInfo(DataFolder).isDir();
    browser.Execute(dataExists ? DataFolder : ProgramFolder);
    DataFolder = browser.SelectedFolder;
    if (DataFolder.isEmpty() || !QFileInfo(DataFolder).isDir()) {
        // Written with the other settings when the window closes.
        DataFolder = ProgramFolder;
    } else if (const QString ini = SettingsFilePath(); !ini.isEmpty()) {
        platform::TIniFile(ini).WriteString(QStringLiteral("Pfad"), QStringLiteral("Daten"), DataFolder);
    }
    if (!DataFolder.isEmpty() && !DataFolder.endsWith(QLatin1Char('/')))
        DataFolder += QLatin1Char('/');
    if (QFileInfo(DataFolder).isDir())
        QDir::setCurrent(DataFolder);
}
