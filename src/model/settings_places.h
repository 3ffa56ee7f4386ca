#pragma once
// Places of the user's own settings outside the program folder.

#include <QString>

// The program's settings folder in the user's data folder
// (~/.local/share/Dorlix/Einstellungen/), created with its parents when
// missing; ends with a "/". Empty when there is no data folder or the folder
// cannot be made, so that callers fall back to a bare file name.
QString SettingsFolder();
