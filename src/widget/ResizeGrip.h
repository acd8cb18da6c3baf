// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

class QColor;
class QPainter;

namespace pellimo::widget {

/// The square in the bottom-right corner of a view of `size` that shows the resize grip, clear
/// of the rounded corner and the border.
QRect resizeGripRect(const QSize& size);

/// Paints the grip into `rect`: three diagonal strokes in `color`.
void paintResizeGrip(QPainter& painter, const QRect& rect, const QColor& color);

}  // namespace pellimo::widget
