// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <optional>

#include "widget/FramePlacement.h"

namespace pellimo::widget {

/// Keeps the widget on a monitor that exists while monitors come and go. A widget whose monitor
/// is unplugged moves onto a remaining one, and back when that monitor returns, unless the user
/// placed it meanwhile. The moves it makes are the system's, not the user's: they are neither
/// stored nor reported.
class ScreenChanges {
 public:
  /// Where the window at `frame` goes now that the monitors are `screens`, or nothing when it
  /// stays where it is.
  std::optional<QRect> placedAfterChange(const QRect& frame, const ScreenAreas& screens);

  /// Whether the window at `frame` is where a monitor change put it.
  bool isForced(const QRect& frame) const { return forced_ == frame; }

  /// The user moved or resized the window: a returning monitor no longer takes it back.
  void userPlaced();

 private:
  std::optional<QRect> home_;
  std::optional<QRect> forced_;
};

}  // namespace pellimo::widget
