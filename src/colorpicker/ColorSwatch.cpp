// SPDX-License-Identifier: GPL-3.0-or-later
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

}  // namespace pellimo::colorpicker
