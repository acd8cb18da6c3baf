#pragma once

#include <QRect>

namespace pellimo::widget {

/// Where a stored frame puts the window: as stored, except that a frame without area keeps the
/// window's current size (a corrupt value must not make the widget vanish) and one wholly off
/// every screen (a monitor unplugged) is moved onto the primary screen.
QRect placedFrame(const QRect& stored, const QRect& current);

}  // namespace pellimo::widget
