#pragma once
// The 48 × 48 pictures of the layout dialog's standards: the page in its
// orientation with its margins and the fields of the standard, drawn from the
// standard's own values so that picture and numbers always agree.

#include "dialogs/rsneu_values.h"

#include <QImage>
#include <vector>

constexpr int kPresetPictureSize = 48;

// One picture, transparent around the page.
QImage PresetPicture(const TRSPreset &preset);
// The pictures of RSPresets(), in table order.
const std::vector<QImage> &PresetPictures();
