// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ansi/Color.h"

namespace pellimo::colorpicker {

/// An opaque RGB colour whose red, green and blue are uniform 32-bit draws, in that order,
/// divided by 4294967295.0.
ansi::Color randomColor();

}  // namespace pellimo::colorpicker
