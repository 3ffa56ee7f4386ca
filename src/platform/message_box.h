#pragma once
// Shows the program's messages as modal message boxes with German buttons.

class QFont;
class QString;

namespace platform
{

// Installs the message box handler for the window program.
void InstallMessageBoxes();

// The width a message box gives its text: the longest line, at most two
// thirds of the screen (and no more than 720 pixels).
int MessageTextWidth(const QString &text, const QFont &font, int screenWidth);

} // namespace platform
