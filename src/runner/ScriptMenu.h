// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>
#include <map>
#include <vector>

#include "runner/LineAttributes.h"

namespace pellimo::runner {

/// What the lines of one frame in the menu format do: the actions of the lines shown, and
/// the menu that the lines after the first "---" make.
struct ScriptMenu {
  struct Item {
    QString title;
    /// 0 for the menu itself, 1 for a submenu of the item above it, and so on.
    int depth = 0;
    bool separator = false;
    /// An item without one is a disabled label.
    LineAction action;

    friend bool operator==(const Item&, const Item&) = default;
  };

  /// The actions of the lines shown, by the unit where each line starts in the frame's text.
  std::map<std::size_t, LineAction> lineActions;
  std::vector<Item> items;

  /// The action of the line that starts at `lineStart`; null for a line without one.
  const LineAction* actionAt(std::size_t lineStart) const {
    const auto found = lineActions.find(lineStart);
    return found == lineActions.end() ? nullptr : &found->second;
  }
  /// The frame's text lost its first `units`: lines keep their actions where they now start.
  void dropPrefix(std::size_t units) {
    std::map<std::size_t, LineAction> kept;
    for (auto& [start, action] : lineActions) {
      if (start >= units) kept.emplace(start - units, std::move(action));
    }
    lineActions = std::move(kept);
  }
};

}  // namespace pellimo::runner
