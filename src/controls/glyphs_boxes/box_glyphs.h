#pragma once
// The drawn pictures of the check boxes, the combo box button and the hint
// window, kept as SVG sources and rendered crisp at the size and pixel
// ratio they are shown at.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace box_glyphs
{

// Renders ":/box_glyphs/<name>.svg" at its own size (logical pixels) times
// dpr. A null pixmap for an unknown name. Rendered pictures are cached.
QPixmap Glyph(const QString &name, qreal dpr = 1.0);

// Rendered at another logical size.
QPixmap GlyphSized(const QString &name, QSize size, qreal dpr = 1.0);

// The same picture used as a mask: every drawn pixel takes colour.
QPixmap TintedGlyph(const QString &name, const QColor &colour, qreal dpr = 1.0);

// The hint background picture of the main window.
QImage HintBackground();

} // namespace box_glyphs
