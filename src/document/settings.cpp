#include "document/settings.h"

#include "model/settings_places.h"
#include "platform/ini.h"

namespace
{
const QString kPath = QStringLiteral("Pfad");
const QString kData = QStringLiteral("Daten");
const QString kPictures = QStringLiteral("Bilder");
const QString kLineHeight = QStringLiteral("ZeilenHoehe");
const QString kValue = QStringLiteral("Wert");
const QString kOptions = QStringLiteral("Optionen");
const QString kPageInfo = QStringLiteral("SeitenInfo");
} // namespace

QString SettingsPath()
{
    return ::SettingsFilePath();
}

TSettings ReadSettings(const QString &path)
{
    TSettings s;
    const platform::TIniFile ini(path);
    if (path.isEmpty() || !ini.FileExists())
        return s;
    s.FileExists = true;
    s.DataFolder = ini.ReadString(kPath, kData);
    s.LineFactor = ini.ReadFloat(kLineHeight, kValue, canvas::kDefaultLineFactor);
    s.PictureFolder = ini.ReadString(kPath, kPictures, s.DataFolder);
    s.ShowPageInfo = ini.ReadBool(kOptions, kPageInfo, false);
    return s;
}

TSettings ReadProgramSettings()
{
    return ReadSettings(SettingsPath());
}

void WriteSettings(const QString &path, const TSettings &settings)
{
    platform::TIniFile ini(path);
    ini.WriteString(kPath, kData, settings.DataFolder);
    ini.WriteFloat(kLineHeight, kValue, settings.LineFactor);
    ini.WriteString(kPath, kPictures, settings.PictureFolder);
    ini.WriteBool(kOptions, kPageInfo, settings.ShowPageInfo);
}

void WriteDataFolder(const QString &path, const TSettings &settings)
{
    platform::TIniFile ini(path);
    ini.WriteString(kPath, kData, settings.DataFolder);
    ini.WriteFloat(kLineHeight, kValue, settings.LineFactor);
}
