// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/ResizeGrip.h"

#include <QColor>
#include <QPainter>

namespace pellimo::widget {

namespace {

constexpr int kGripSize = 12;
constexpr int kGripInset = 3;

}  // namespace

QRect resizeGripRect(const QSize& size) {
  return QRect(size.width() - kGripInset - kGripSize, size.height() - kGripInset - kGripSize,
               kGripSize, kGripSize);
}

void paintResizeGrip(QPainter& painter, const QRect& rect, const QColor& color) {
  painter.save();
  painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap));
  const QRectF area(rect);
  for (double from : {0.0, 4.0, 8.0}) {
    painter.drawLine(QPointF(area.left() + from, area.bottom()),
                     QPointF(area.right(), area.top() + from));
  }
  painter.restore();
}

}  // namespace pellimo::widget
