#pragma once
// Shows the program's messages as modal message boxes with German buttons.

namespace platform
{

// Installs the message box handler for the window program.
void InstallMessageBoxes();

} // namespace platform
