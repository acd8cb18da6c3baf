// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace pellimo::editor {

/// The least contrast ratio of text against its ground that WCAG's level AA asks of body text.
inline constexpr double kReadableContrast = 4.5;

/// WCAG's relative luminance of an sRGB colour, from 0 for black to 1 for white; alpha is ignored.
double relativeLuminance(const QColor& colour);

/// WCAG's contrast ratio of two colours, from 1 (alike) to 21 (black and white), either order.
double contrastRatio(const QColor& one, const QColor& other);

}  // namespace pellimo::editor
