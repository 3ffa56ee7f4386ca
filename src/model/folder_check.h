#pragma once

// True when the program may keep its own files (settings, undo snapshots)
// beside its program file: the folder is writable and is not the desktop
// folder, where they would clutter the user's desktop. Shows nothing; the
// callers then use the user's own folders (model/settings_places.h).
bool ProgramFolderCheck();
