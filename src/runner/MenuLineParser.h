// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pellimo::runner {

/// One output line in the format of menu-bar script tools: `text | key=value key2="a b"`. The
/// parser only splits the line; `LineAttributes` gives the attributes their meaning.
struct MenuLine {
  /// The text before the bar, escape sequences and all; the whole line when it has no
  /// attributes or they cannot be read.
  std::u16string text;
  /// The attributes in the order they came, quotes and escapes resolved.
  std::vector<std::pair<std::u16string, std::u16string>> attributes;

  friend bool operator==(const MenuLine&, const MenuLine&) = default;
};

/// Splits a line at the first `|` that is followed by nothing but well-formed attributes, so
/// that a bar in the text, or in a quoted value, stays where it is. A line whose every bar is
/// followed by something else is all text.
MenuLine parseMenuLine(std::u16string_view line);

}  // namespace pellimo::runner
