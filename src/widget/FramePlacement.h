// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QRectF>

class QScreen;

namespace pellimo::widget {

/// The smallest frame a restored widget gets: a 1×1 frame would make it impossible to find.
inline constexpr QSize kMinimumFrameSize{64, 32};

/// A monitor as placement sees it: its whole area and the part windows may cover.
struct ScreenArea {
  QRect geometry;
  QRect available;
};

/// The monitors, the primary one first.
using ScreenAreas = QList<ScreenArea>;

/// The monitors the application sees now.
ScreenAreas currentScreens();

/// The screen sharing the largest area with `frame`, or null when it lies off every screen.
const QScreen* screenUnder(const QRect& frame);

/// `frame` moved as little as it takes to lie wholly in `area`; one larger than the area keeps
/// its top-left corner at the area's.
QRect keptIn(QRect frame, const QRect& area);

/// Where a stored frame puts the window: on the screen it overlaps most, no larger than that
/// screen and no smaller than `kMinimumFrameSize`, wholly on it. A frame without area keeps the
/// window's current size (a corrupt value must not make the widget vanish); one wholly off every
/// screen (a monitor unplugged) goes to the primary screen's corner. Numbers too large for any
/// screen are cut before they become pixels, so they never wrap around.
QRect placedFrame(const QRectF& stored, const QRect& current, const ScreenAreas& screens);
QRect placedFrame(const QRectF& stored, const QRect& current);

}  // namespace pellimo::widget
