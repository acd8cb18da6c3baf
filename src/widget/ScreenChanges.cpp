// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/ScreenChanges.h"

namespace pellimo::widget {

std::optional<QRect> ScreenChanges::placedAfterChange(const QRect& frame,
                                                      const ScreenAreas& screens) {
  const QRect wanted = home_.value_or(frame);
  const QRect placed = placedFrame(wanted, wanted, screens);
  if (placed == wanted) {
    home_.reset();
  } else if (!home_) {
    home_ = frame;
  }
  if (placed == frame) return std::nullopt;
  forced_ = placed;
  return placed;
}

void ScreenChanges::userPlaced() {
  home_.reset();
  forced_.reset();
}

}  // namespace pellimo::widget
