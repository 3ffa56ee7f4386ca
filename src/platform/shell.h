#pragma once
// The desktop around the program: the "*.rsd" file type, the program's
// desktop entry and icon, launchers on the desktop, and the folder browser.
//
// Everything goes into the user's own folders (data folder ~/.local/share,
// configuration ~/.config), so no administrator rights are needed.

#include <QByteArray>
#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

namespace platform
{

// The MIME type of label files and the desktop entry that opens them.
inline constexpr char kRsdMimeType[] = "application/x-dorlix-rsd";
inline constexpr char kDesktopEntryName[] = "dorlix.desktop";

// The user's data folder (XDG_DATA_HOME, ~/.local/share), without trailing "/".
QString DataHomeFolder();
// Where the file type registration writes its files.
QString MimePackagePath();      // <data>/mime/packages/dorlix-rsd.xml
QString ApplicationEntryPath(); // <data>/applications/dorlix.desktop
QString ProgramIconPath();      // <data>/icons/hicolor/scalable/apps/dorlix.svg
QString MimeIconPath();         // <data>/icons/hicolor/scalable/mimetypes/application-x-dorlix-rsd.svg

// One argument of a desktop entry's Exec line: quoted, with the characters
// the quoting and the field codes reserve escaped, and with the escapes of a
// desktop entry string applied on top.
QString DesktopExecArgument(const QString &argument);
// A desktop entry string value (backslashes, line breaks, tabs escaped).
QString DesktopStringValue(const QString &value);

// Writes the program icon (SVG) into the user's icon folders.
bool InstallProgramIcon(const QByteArray &svg);

// Registers "*.rsd" files for the program: the MIME type with its comment,
// the icon, the desktop entry whose Exec starts programFile with the file,
// the updated MIME and desktop databases, and the entry as the type's
// default. Every step is tried; false when any failed. Running it again
// writes the same files.
bool RegisterRsdFileType(const QString &programFile, const QByteArray &iconSvg);

// Writes a launcher for programFile at launcherPath (an existing one is
// replaced) and marks it executable and trusted so that desktops start it.
// comment may hold several lines. False when the file cannot be written.
bool CreateDesktopLauncher(const QString &launcherPath, const QString &programFile, const QString &name,
                           const QString &comment, const QString &iconPath);

// ---- folder browser

// Shows a folder dialog and returns the chosen folder, empty on cancel.
using FolderDialog = std::function<QString(const QString &caption, const QString &startFolder)>;
// Installs another dialog (tests answer it themselves) and returns the
// previous one; an empty function restores the standard dialog.
FolderDialog SetFolderDialog(FolderDialog dialog);

// The text the folder dialog's title shows while the selection is no folder.
inline constexpr char16_t kNoFolderTitle[] = u"Bitte einen Ordner ausgewählen...";

// The standard folder dialog, not yet shown: Qt's own dialog in German with
// caption above the folder view, opened at startFolder at screen position
// (100, 100), with a button for new folders only when newFolder is set.
// Its title follows the selection: the selected folder's path, or
// kNoFolderTitle. The caller owns it.
QFileDialog *CreateFolderDialog(QWidget *parent, const QString &caption, const QString &startFolder,
                                bool newFolder);

// A folder browser that remembers the folder chosen last, also when a later
// browse is cancelled.
class TFolderBrowser
{
  public:
    explicit TFolderBrowser(const QString &caption = QStringLiteral("Datenpfad wählen...")) : Caption(caption)
    {
    }

    QString Caption;        // text above the folder view
    QString StartFolder;    // folder shown first
    QString SelectedFolder; // chosen last in this run; empty if never
    bool NewFolder = true;  // offer the button for a new folder

    // Shows the browser at StartFolder; true when a folder was chosen (it is
    // then in SelectedFolder).
    bool Execute();
    // The same, starting at startFolder (which becomes StartFolder).
    bool Execute(const QString &startFolder)
    {
        StartFolder = startFolder;
        return Execute();
    }
};

} // namespace platform
