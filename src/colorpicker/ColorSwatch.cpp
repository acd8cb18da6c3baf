#include "colorpicker/ColorSwatch.h"

#include <QPainter>

#include "qtbridge/QtColor.h"

namespace pellimo::colorpicker {

void paintSwatch(QPainter& painter, const QRect& rect, const ansi::Color& color) {
  if (color.alpha < 1.0) {
    constexpr int kSquare = 4;
    painter.fillRect(rect, Qt::white);
    for (int y = rect.top(); y <= rect.bottom(); y += kSquare) {
      for (int x = rect.left() + ((y - rect.top()) / kSquare % 2) * kSquare; x <= rect.right();
           x += 2 * kSquare) {
        painter.fillRect(QRect(x, y, kSquare, kSquare).intersected(rect), Qt::lightGray);
      }
    }
  }
  painter.fillRect(rect, qtbridge::toQColor(color));
}

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
