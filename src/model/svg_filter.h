#pragma once
// SVG drawings may only use what they hold themselves. QSvgRenderer opens any
// file an <image> names (absolute or relative to the working folder, devices
// such as /dev/stdin too), so a drawing from a mail attachment could put the
// user's files into a label or stop the program. Before a drawing is
// rendered its references are filtered.

#include <QByteArray>

// The drawing with every reference removed that does not point into the
// drawing itself ("#id") or hold a raster picture in a data: URI (PNG, JPEG,
// GIF, BMP, WebP; an SVG inside would be rendered unfiltered). Comments,
// processing instructions and the document type go too, with its entities
// expanded. Empty when the bytes are no well-formed XML.
QByteArray SvgWithOwnReferencesOnly(const QByteArray &svg);
