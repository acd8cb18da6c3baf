// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/TabGradients.h"

#include <QLinearGradient>
#include <QPainter>

namespace pellimo::colorpicker {

namespace {

constexpr TabColors kKeyWindowColors{{0.99, 0.8, 0.99}, {0.9, 0.6, 0.8}, {0.99, 0.7, 0.99}};
constexpr TabColors kOtherWindowColors{{0.99, 0.79, 0.99}, {0.83, 0.43, 0.71}, {0.99, 0.71, 0.99}};
constexpr double kBottomRuleGrey = 0.7;

QColor grey(double level) {
  const auto value = static_cast<float>(level);
  return QColor::fromRgbF(value, value, value);
}

}  // namespace

const TabColors& tabColors(bool keyWindow) {
  return keyWindow ? kKeyWindowColors : kOtherWindowColors;
}

QColor bottomRuleColor() {
  return grey(kBottomRuleGrey);
}

void fillGradient(QPainter& painter, const QRectF& rect, const GreyStops& stops) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0.0, grey(stops.top));
  gradient.setColorAt(0.5, grey(stops.middle));
  gradient.setColorAt(1.0, grey(stops.bottom));
  painter.fillRect(rect, gradient);
}

}  // namespace pellimo::colorpicker
