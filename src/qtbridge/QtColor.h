// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include "ansi/Color.h"

namespace pellimo::qtbridge {

/// Colours cross into Qt only at the drawing edge: a QColor keeps 16 bits a component, which
/// cannot hold the exact doubles that colour equality needs. Components outside 0 to 1 are
/// clamped; greys are spread over red, green and blue.
QColor toQColor(const ansi::Color& color);
/// An RGB colour with the QColor's 16-bit components; 8-bit values come back as exact n / 255.0.
ansi::Color fromQColor(const QColor& color);

}  // namespace pellimo::qtbridge
