// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include "ansi/Color.h"

class QPainter;

namespace pellimo::colorpicker {

/// Fills `rect` with `color`, over a checkerboard where the colour is not opaque.
void paintSwatch(QPainter& painter, const QRect& rect, const ansi::Color& color);

}  // namespace pellimo::colorpicker
