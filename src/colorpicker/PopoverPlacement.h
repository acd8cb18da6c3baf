// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPolygon>
#include <QRect>
#include <QtGlobal>

namespace pellimo::colorpicker {

/// An edge of a rectangle, numbered as the popover's users number them: y grows upwards in that
/// numbering, so `MinY` is the edge at the bottom of the screen and `MaxY` the one at the top.
enum class RectEdge : quint64 { MinX = 0, MinY = 1, MaxX = 2, MaxY = 3 };

/// Where a popover window goes: its frame on screen, its content inside it, and the arrow
/// whose tip touches the middle of the anchor's edge.
struct PopoverPlacement {
  QRect frame;
  QRect content;   // window coordinates
  QPolygon arrow;  // window coordinates
  RectEdge edge = RectEdge::MinY;
};

/// Places a popover of `contentSize` off `preferredEdge` of `anchor`, or off the opposite edge
/// when only that one leaves room on `screen`, then slides it along the edge onto the screen.
PopoverPlacement placePopover(const QRect& anchor, const QSize& contentSize, RectEdge preferredEdge,
                              const QRect& screen);

}  // namespace pellimo::colorpicker
