// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorPlacement.h"

#include <QtGlobal>
#include <optional>

#include "widget/FramePlacement.h"

namespace pellimo::editor {

namespace {

// Keeps the two windows' edges apart, so neither looks like part of the other.
constexpr int kGap = 8;

/// A frame of `size` in `area` as near the widget's top-left corner as it goes, when the area
/// holds at least `minimum`.
std::optional<QRect> frameIn(const QRect& area, const QRect& widget, const QSize& size,
                             const QSize& minimum) {
  if (area.width() < minimum.width() || area.height() < minimum.height()) return std::nullopt;
  return widget::keptIn(QRect(widget.topLeft(), size.boundedTo(area.size())), area);
}

}  // namespace

QRect editorFrame(const QRectF& stored, const QRect& widget, const QSize& size,
                  const QSize& minimum, const QRect& screen) {
  // Compared as reals first: a corrupt stored frame may hold numbers no pixel can.
  if (!stored.isEmpty() && QRectF(screen).contains(stored)) return stored.toRect();
  const QSize wanted = size.expandedTo(minimum).boundedTo(screen.size());
  QRect right = screen;
  right.setLeft(widget.right() + 1 + kGap);
  QRect left = screen;
  left.setRight(widget.left() - 1 - kGap);
  QRect below = screen;
  below.setTop(widget.bottom() + 1 + kGap);
  QRect above = screen;
  above.setBottom(widget.top() - 1 - kGap);
  for (const QRect& side : {right, left}) {
    if (const auto frame = frameIn(side, widget, wanted, wanted)) return *frame;
  }
  for (const QRect& side : {right, left, below, above}) {
    if (const auto frame = frameIn(side, widget, wanted, minimum)) return *frame;
  }
  QRect frame(QPoint(), wanted);
  if (right.width() >= left.width()) {
    frame.moveLeft(right.left());
  } else {
    frame.moveRight(left.right());
  }
  frame.moveTop(widget.top());
  return widget::keptIn(frame, screen);
}

}  // namespace pellimo::editor
