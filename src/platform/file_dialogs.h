#pragma once
// The common open and save dialogs. Tests install their own answers the way
// they answer message boxes.

#include <QString>

#include <functional>

class QWidget;

namespace platform
{

struct FileDialogRequest {
    enum Kind { Open, Save } kind = Open;
    QString title;
    QString startFolder;   // empty: the current folder
    QString fileName;      // proposed file name (may hold a folder and wildcards)
    QString filter;        // "Beschreibung (*.ext)|*.ext" as the program states it
    QString defaultSuffix; // without dot
};

using FileDialogHandler = std::function<QString(QWidget *parent, const FileDialogRequest &request)>;

// Shows the dialog; the chosen path, or empty when cancelled. The save dialog
// asks before overwriting and only accepts existing folders.
QString ExecuteFileDialog(QWidget *parent, const FileDialogRequest &request);

// Installs other dialogs and returns the previous handler; an empty handler
// restores the standard dialogs.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

// "Text (*.a)|*.a|Alle (*.*)|*.*" → "Text (*.a);;Alle (*.*)"; a text without
// patterns in parentheses gets them: "Bilder|*.a;*.b" → "Bilder (*.a *.b)".
QString QtFilter(const QString &filter);

} // namespace platform
