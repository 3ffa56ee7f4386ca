#pragma once
// The system clipboard: text in the program's Windows-1252 code page, and
// pictures. Bitmaps travel as images; metafiles travel with their bytes
// (EMF or placeable WMF) under their MIME types, with a rendered image beside
// them for programs that know no metafiles.

#include <QColor>
#include <QStringList>

#include <memory>
#include <string>

class TPicture;

namespace platform
{

// MIME types under which metafiles are put on and taken from the clipboard.
QStringList EmfMimeTypes(); // image/x-emf, image/emf
QStringList WmfMimeTypes(); // image/x-wmf, image/wmf

bool ClipboardHasText();
// The clipboard text in Windows-1252 with CR LF line breaks; characters
// outside the code page become "?".
std::string ClipboardText();
// Puts Windows-1252 text (lines separated by CR LF) on the clipboard.
void SetClipboardText(const std::string &ansiText);

// MIME types of encoded pictures read from the clipboard through the
// program's own readers (PNG, GIF, TIFF, WebP, SVG, BMP, JPEG).
QStringList EncodedImageMimeTypes();

// An image of any kind, decoded by Qt or offered as encoded picture.
bool ClipboardHasBitmap();
bool ClipboardHasMetafile();

// A copy of the clipboard's picture: a metafile when one is there, else the
// image as a new 24-bit bitmap with its transparent areas laid onto
// background; an SVG drawing is drawn svgWidth pixels wide (0: its own
// size). nullptr when the clipboard holds no picture that can be read; then
// *error, if given, tells why when there was a picture.
std::unique_ptr<TPicture> ClipboardPicture(const QColor &background = QColor(Qt::white), int svgWidth = 0,
                                           QString *error = nullptr);

// Puts a copy of the picture on the clipboard.
void SetClipboardPicture(const TPicture &picture);

} // namespace platform
