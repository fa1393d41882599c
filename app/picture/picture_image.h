#pragma once
// Between the working picture's bottom-up grid and top-down QImage.

#include <QImage>

#include "working_picture.h"

namespace orv {

// Format_RGB32, line 0 at the top: for the preview and the picture surface.
QImage ToQImage(const WorkingPicture& picture);

// The top-left (image.width() / 8 * 8) x (image.height() / 8 * 8) pixels of
// image as a working picture with the default palette. Alpha is dropped by
// compositing over white, the picture surface's background: a fully
// transparent pixel becomes white.
WorkingPicture WholeTilesFromImage(const QImage& image);

} // namespace orv
