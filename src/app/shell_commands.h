#pragma once
// The commands of the menu "Extras/Optionen" that fit the program into the
// desktop: the file type, the desktop launcher and the folder of the label
// files.

#include <QByteArray>
#include <QString>

namespace platform
{
class TFolderBrowser;
}

// The program icon inside the program (an SVG resource).
inline constexpr char kProgramIconResource[] = ":/dorlix/dorlix.svg";
QByteArray ProgramIconSvg();

// "Rückenschilddateien (*.rsd) immer mit dorlix öffnen": asks, then registers
// the file type for this program; a failure is reported to the user.
void mm_openrsdClick();

// "Verknüpfung auf dem Desktop erzeugen" (also the answer Yes at the first
// start): the launcher "Rückenschilder.desktop" in the desktop folder.
// False, after a message, when it could not be made.
bool mm_lnkdsktpClick();

// "Ablageordner der Rückenschilder einstellen....": lets the user choose the
// folder of the label files with the window's folder browser. DataFolder
// becomes the chosen folder (or the one chosen earlier in this run) and is
// stored at once in section "Pfad", key "Daten" of the settings file; without
// an existing folder it becomes ProgramFolder and nothing is written now.
// Ends with a "/" and, if it exists, becomes the current folder; the caller
// lets its file dialogs start there. ProgramFolder ends with "/".
void mm_DatablageClick(QString &DataFolder, const QString &ProgramFolder, platform::TFolderBrowser &browser);
