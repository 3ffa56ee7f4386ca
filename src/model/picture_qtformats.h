#pragma once
// Picture files beyond bitmaps, JPEG photos and metafiles: PNG, GIF, TIFF,
// WebP (through Qt's image readers) and SVG (drawn by QSvgRenderer). A field
// keeps them as uncompressed 24-bit bitmaps reduced to 300 dpi of its width,
// like a JPEG photo, so that label files stay readable everywhere; areas
// that are transparent take the field's background colour.

#include "model/picture.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <memory>

// The largest picture these readers decode, in pixels (the decoded image
// takes four bytes per pixel).
constexpr std::int64_t kMaxDecodedPixels = 50'000'000;

enum class TOtherImageFormat { None, Png, Gif, Tiff, WebP, Svg };

// Recognises the formats by their content.
TOtherImageFormat DetectOtherImageFormat(const TBytes &bytes);
TOtherImageFormat DetectOtherImageFormat(const QByteArray &bytes);

// Decodes a PNG, GIF (first frame), TIFF (first page), WebP or SVG file.
// Raster files keep their size; SVG drawings are drawn renderWidth pixels
// wide with their own aspect, or at their own size when renderWidth is 0.
// Transparent areas are laid onto background. The size is checked before
// anything is decoded. False with a German message in *error.
bool DecodeOtherImage(const QByteArray &bytes, int renderWidth, const QColor &background, QImage *out,
                      QString *error);

// An image laid onto a background colour: every pixel opaque.
QImage FlattenOnto(const QImage &image, const QColor &background);

// The size a raster picture of w × h pixels gets in a field of the given
// width: the width at 300 dpi, never enlarged.
QSize Reduced300DpiSize(int w, int h, double fieldWidthMm);
// The field width in pixels at 300 dpi.
int Field300DpiWidth(double fieldWidthMm);

// An image as a field takes it: transparency laid onto background, reduced to
// 300 dpi of the field width, a new 24-bit bitmap.
std::unique_ptr<TPicture> FieldPictureFromImage(const QImage &image, double fieldWidthMm,
                                                const QColor &background);

// A picture file as a field takes it: every raster format becomes a reduced
// 24-bit bitmap, metafiles stay as they are. nullptr with a German message in
// *error when the file cannot be read.
std::unique_ptr<TPicture> LoadFieldPicture(const QString &path, double fieldWidthMm, const QColor &background,
                                           QString *error);

// JPEG files with other than 8 bits per colour channel cannot be decoded; the
// message says so instead of calling the file damaged. True when refused.
bool RefuseJpegPrecision(const TBytes &bytes, QString *error);
