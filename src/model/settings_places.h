#pragma once
// Where the program keeps its own files.
//
// A copy the user owns (in the home folder, ~/.local, a build folder) keeps
// "dorlix.ini" and the undo snapshots beside the program file, as it always
// did. A program the user may not write beside (installed under /usr) or one
// started from the desktop folder keeps them in the user's XDG folders
// instead: $XDG_CONFIG_HOME/Dorlix/dorlix.ini and $XDG_STATE_HOME/Dorlix/.
// The answer is worked out anew at every call, like the program folder check.

#include <QString>

// Full path of "dorlix.ini"; in the user's configuration folder that folder is
// created when missing. Empty when no place can be written.
QString SettingsFilePath();

// The folder of the undo snapshots (no trailing "/"), created when missing;
// empty when no place can be written.
QString SnapshotFolder();

// True when the program's own files lie beside the program file.
bool FilesBesideProgram();

// The program's settings folder in the user's data folder
// (~/.local/share/Dorlix/Einstellungen/), created with its parents when
// missing; ends with a "/". Empty when there is no data folder or the folder
// cannot be made, so that callers fall back to a bare file name.
QString SettingsFolder();
