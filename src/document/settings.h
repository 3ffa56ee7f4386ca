#pragma once
// The program's settings in "dorlix.ini": read once where the program starts
// (the window at its first show, dorlix-cli per command) and handed to what
// needs them, so the window, the print dialog and the command-line tool
// compose with the same values.

#include "document/compose.h"

#include <QString>

struct TSettings {
    QString DataFolder;                             // [Pfad] Daten; empty before the first start
    QString PictureFolder;                          // [Pfad] Bilder; the data folder when not kept
    double LineFactor = canvas::kDefaultLineFactor; // [ZeilenHoehe] Wert
    bool ShowPageInfo = false;                      // [Optionen] SeitenInfo
    bool FileExists = false;                        // false: every value is its default

    TComposeSettings Compose() const { return TComposeSettings{LineFactor}; }
};

// The settings file of the program (SettingsFilePath() of
// model/settings_places.h); empty when no place can be written.
QString SettingsPath();

// The values of the file at path; defaults where the file, a section or a key
// is missing or unreadable.
TSettings ReadSettings(const QString &path);
// The same for the program's own settings file.
TSettings ReadProgramSettings();

// Writes every value into the file at path (other keys stay).
void WriteSettings(const QString &path, const TSettings &settings);
// Only the data folder and the line factor, as the first start keeps them.
void WriteDataFolder(const QString &path, const TSettings &settings);
