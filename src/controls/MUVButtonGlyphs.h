#pragma once
// The program's own glyph set for buttons: flat pictures drawn on a 24 x 24
// grid (src/controls/glyphs/*.svg), rendered at the size a layout needs on
// a transparent background.

#include <QImage>
#include <QString>
#include <QStringList>

// The glyph named name ("ok", "cancel", "help", "new", "open", "save",
// "print", "change", "undo", "zoom_in", "zoom_out", "zoom_all",
// "columns_left", "columns_right", "rows_up", "rows_down", "copy_column",
// "edit", "move", "copy", "paste", "delete", "picture", "font", "color",
// "clear", "printer_setup", "info", "folder", "calculator",
// "paragraph_left", "paragraph_center", "paragraph_right") at size x size
// pixels; a null image for an unknown name.
QImage MUVGlyph(const QString &name, int size = 24);
// Every name of the set, sorted.
QStringList MUVGlyphNames();
