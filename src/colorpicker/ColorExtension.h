#pragma once

#include <QColor>

#include "ansi/Color.h"

namespace pellimo::colorpicker {

/// The colour as an RGB drawing colour with its red, green, blue and alpha; greys are spread
/// over the three components first.
QColor copyCGColor(const ansi::Color& color);

/// An opaque RGB colour whose red, green and blue are uniform 32-bit draws, in that order,
/// divided by 4294967295.0.
ansi::Color randomColor();

}  // namespace pellimo::colorpicker
