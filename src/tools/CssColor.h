// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ansi/Color.h"

namespace pellimo::tools {

/// A colour as a page shows it: 8 bits per channel, 0xRRGGBB.
struct CssColor {
  std::uint32_t rgb = 0;

  friend bool operator==(const CssColor&, const CssColor&) = default;
};

/// Reads "#rrggbb" or "#rgb" (hex digits in either case); anything else gives nullopt.
std::optional<CssColor> parseCssColor(std::string_view text);
/// Each component times 255, rounded; components outside 0 to 1 are clamped. Alpha is dropped.
CssColor cssColorOf(const ansi::Color& color);
/// Appends "#rrggbb" in lower case.
void appendCssColor(std::string& out, CssColor color);

}  // namespace pellimo::tools
