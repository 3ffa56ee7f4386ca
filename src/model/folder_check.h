#pragma once

// True when the program may write next to its program file: the folder is
// writable and is not the desktop folder (which shows a message).
bool ProgramFolderCheck();
