#pragma once

#include <QColor>

#include "ansi/Color.h"

namespace pellimo::colorpicker {

/// The drawing edge: a QColor keeps only 16 bits a component, so colours live as `ansi::Color`
/// and are converted here just before painting.
QColor toQColor(const ansi::Color& color);
/// An RGB colour with the QColor's components; 8-bit values come back as exact n / 255.0.
ansi::Color fromQColor(const QColor& color);

}  // namespace pellimo::colorpicker
