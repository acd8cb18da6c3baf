// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace pellimo::colorpicker {

/// Grey levels at the top, middle and bottom of a vertical gradient.
struct GreyStops {
  double top;
  double middle;
  double bottom;
};

/// The gradients of a selected icon tab: its fill and the two lines along each side.
struct TabColors {
  GreyStops fill;
  GreyStops outerEdge;
  GreyStops innerEdge;
};

/// The selected tab is lighter in the key window than in any other.
const TabColors& tabColors(bool keyWindow);

/// The line under the whole bar.
QColor bottomRuleColor();

void fillGradient(QPainter& painter, const QRectF& rect, const GreyStops& stops);

}  // namespace pellimo::colorpicker
