// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/ColorWheel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "ansi/Color.h"
#include "qtbridge/QtColor.h"

namespace pellimo::colorpicker {

namespace {

QImage renderDisc(int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  const double radius = side / 2.0;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const double dx = x + 0.5 - radius;
      const double dy = radius - (y + 0.5);
      const double distance = std::hypot(dx, dy);
      // Pixels on the rim are covered in part, which smooths the edge.
      const double coverage = std::clamp(radius - distance + 0.5, 0.0, 1.0);
      if (coverage == 0.0) continue;
      double hue = std::atan2(dy, dx) / (2 * std::numbers::pi);
      if (hue < 0) hue += 1.0;
      const double saturation = std::min(1.0, distance / radius);
      const auto color = ansi::Color::fromHSB(hue, saturation, 1.0, coverage);
      image.setPixelColor(x, y, qtbridge::toQColor(color));
    }
  }
  return image;
}

}  // namespace

ColorWheel::ColorWheel(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ColorWheel::setMarker(double hue, double saturation) {
  hue_ = hue;
  saturation_ = saturation;
  update();
}

QRectF ColorWheel::discRect() const {
  const double side = std::max(1, std::min(width(), height()) - 8);
  return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

void ColorWheel::paintEvent(QPaintEvent*) {
  const QRectF disc = discRect();
  const int side = static_cast<int>(disc.width());
  if (disc_.width() != side) disc_ = renderDisc(side);

  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawImage(disc.topLeft(), disc_);

  const double angle = hue_ * 2 * std::numbers::pi;
  const double reach = saturation_ * disc.width() / 2;
  const QPointF marker(disc.center().x() + reach * std::cos(angle),
                       disc.center().y() - reach * std::sin(angle));
  painter.setPen(QPen(Qt::black, 1.5));
  painter.drawEllipse(marker, 4, 4);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawEllipse(marker, 5.5, 5.5);
}

void ColorWheel::mousePressEvent(QMouseEvent* event) {
  pickAt(event->position());
}

void ColorWheel::mouseMoveEvent(QMouseEvent* event) {
  pickAt(event->position());
}

void ColorWheel::pickAt(const QPointF& position) {
  const QRectF disc = discRect();
  const double dx = position.x() - disc.center().x();
  const double dy = disc.center().y() - position.y();
  double hue = std::atan2(dy, dx) / (2 * std::numbers::pi);
  if (hue < 0) hue += 1.0;
  const double saturation = std::min(1.0, std::hypot(dx, dy) / (disc.width() / 2));
  setMarker(hue, saturation);
  emit hueSaturationPicked(hue, saturation);
}

}  // namespace pellimo::colorpicker
