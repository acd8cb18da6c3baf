// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/ColorSwatchButton.h"

#include <QPainter>

#include "colorpicker/ColorSwatch.h"

namespace pellimo::colorpicker {

ColorSwatchButton::ColorSwatchButton(const ansi::Color& color, QWidget* parent)
    : QAbstractButton(parent), color_(color) {}

void ColorSwatchButton::setColor(const ansi::Color& color) {
  color_ = color;
  update();
}

void ColorSwatchButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  paintSwatch(painter, frame.adjusted(1, 1, 0, 0), color_);
  painter.setPen(palette().color(isDown() ? QPalette::Highlight : QPalette::Mid));
  painter.drawRect(frame);
}

}  // namespace pellimo::colorpicker
