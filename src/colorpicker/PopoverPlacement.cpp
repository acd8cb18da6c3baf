// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/PopoverPlacement.h"

#include <algorithm>

namespace pellimo::colorpicker {

namespace {

constexpr int kArrowLength = 11;
constexpr int kArrowHalfWidth = 11;
// The arrow's base reaches into the content, so that the two outlines merge into one.
constexpr int kArrowOverlap = 2;

/// The middle of the rectangle, halves rounded towards its far edges.
QPoint middleOf(const QRect& rect) {
  return QPoint(rect.left() + rect.width() / 2, rect.top() + rect.height() / 2);
}

RectEdge opposite(RectEdge edge) {
  switch (edge) {
    case RectEdge::MinX:
      return RectEdge::MaxX;
    case RectEdge::MaxX:
      return RectEdge::MinX;
    case RectEdge::MinY:
      return RectEdge::MaxY;
    case RectEdge::MaxY:
      return RectEdge::MinY;
  }
  return edge;
}

bool isVertical(RectEdge edge) {
  return edge == RectEdge::MinY || edge == RectEdge::MaxY;
}

/// The frame and content at `edge`, centred on the anchor, before any sliding.
PopoverPlacement atEdge(const QRect& anchor, const QSize& size, RectEdge edge) {
  const int w = size.width();
  const int h = size.height();
  const int length = kArrowLength;
  const QPoint centre = middleOf(anchor);
  PopoverPlacement placement;
  placement.edge = edge;
  switch (edge) {
    case RectEdge::MinY:  // below the anchor, arrow on top
      placement.frame = QRect(centre.x() - w / 2, anchor.bottom() + 1, w, h + length);
      placement.content = QRect(0, length, w, h);
      break;
    case RectEdge::MaxY:  // above the anchor, arrow at the bottom
      placement.frame = QRect(centre.x() - w / 2, anchor.top() - h - length, w, h + length);
      placement.content = QRect(0, 0, w, h);
      break;
    case RectEdge::MaxX:  // right of the anchor, arrow on the left
      placement.frame = QRect(anchor.right() + 1, centre.y() - h / 2, w + length, h);
      placement.content = QRect(length, 0, w, h);
      break;
    case RectEdge::MinX:  // left of the anchor, arrow on the right
      placement.frame = QRect(anchor.left() - w - length, centre.y() - h / 2, w + length, h);
      placement.content = QRect(0, 0, w, h);
      break;
  }
  return placement;
}

bool fitsAcross(const PopoverPlacement& placement, const QRect& screen) {
  const QRect& frame = placement.frame;
  return isVertical(placement.edge)
             ? frame.top() >= screen.top() && frame.bottom() <= screen.bottom()
             : frame.left() >= screen.left() && frame.right() <= screen.right();
}

int slideInto(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length + 1));
}

}  // namespace

PopoverPlacement placePopover(const QRect& anchor, const QSize& contentSize, RectEdge preferredEdge,
                              const QRect& screen) {
  PopoverPlacement placement = atEdge(anchor, contentSize, preferredEdge);
  if (!fitsAcross(placement, screen)) {
    const PopoverPlacement other = atEdge(anchor, contentSize, opposite(preferredEdge));
    if (fitsAcross(other, screen)) placement = other;
  }

  QRect& frame = placement.frame;
  const QPoint centre = middleOf(anchor);
  const int length = kArrowLength;
  const int half = kArrowHalfWidth;
  if (isVertical(placement.edge)) {
    frame.moveLeft(slideInto(frame.left(), frame.width(), screen.left(), screen.right()));
    const int tipX = std::clamp(centre.x() - frame.left(), half, frame.width() - half);
    const bool below = placement.edge == RectEdge::MinY;
    const int tipY = below ? 0 : frame.height();
    const int baseY = below ? length + kArrowOverlap : frame.height() - length - kArrowOverlap;
    placement.arrow << QPoint(tipX, tipY) << QPoint(tipX - half, baseY)
                    << QPoint(tipX + half, baseY);
  } else {
    frame.moveTop(slideInto(frame.top(), frame.height(), screen.top(), screen.bottom()));
    const int tipY = std::clamp(centre.y() - frame.top(), half, frame.height() - half);
    const bool right = placement.edge == RectEdge::MaxX;
    const int tipX = right ? 0 : frame.width();
    const int baseX = right ? length + kArrowOverlap : frame.width() - length - kArrowOverlap;
    placement.arrow << QPoint(tipX, tipY) << QPoint(baseX, tipY - half)
                    << QPoint(baseX, tipY + half);
  }
  return placement;
}

}  // namespace pellimo::colorpicker
