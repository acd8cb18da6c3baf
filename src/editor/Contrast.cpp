// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Contrast.h"

#include <algorithm>
#include <cmath>

namespace pellimo::editor {

namespace {

double linear(double component) {
  return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& one, const QColor& other) {
  const double first = relativeLuminance(one);
  const double second = relativeLuminance(other);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

}  // namespace pellimo::editor
