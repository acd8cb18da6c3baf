// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CssColor.h"

#include <algorithm>

namespace pellimo::tools {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::uint32_t channel(double component) {
  // The negated test also sends NaN to 0.
  if (!(component > 0)) return 0;
  // Adding a half and truncating rounds as lround does for these non-negative values.
  return static_cast<std::uint32_t>(std::min(component, 1.0) * 255 + 0.5);
}

}  // namespace

std::optional<CssColor> parseCssColor(std::string_view text) {
  if (text.size() != 4 && text.size() != 7) return std::nullopt;
  if (text.front() != '#') return std::nullopt;
  std::uint32_t rgb = 0;
  for (char c : text.substr(1)) {
    const int digit = hexDigit(c);
    if (digit < 0) return std::nullopt;
    // A short form digit stands for itself twice: #f80 is #ff8800.
    rgb = text.size() == 4 ? (rgb << 8) | static_cast<std::uint32_t>(digit * 17)
                           : (rgb << 4) | static_cast<std::uint32_t>(digit);
  }
  return CssColor{rgb};
}

CssColor cssColorOf(const ansi::Color& color) {
  return CssColor{channel(color.redComponent()) << 16 | channel(color.greenComponent()) << 8 |
                  channel(color.blueComponent())};
}

void appendCssColor(std::string& out, CssColor color) {
  static constexpr char kDigits[] = "0123456789abcdef";
  char text[7] = {'#'};
  for (int i = 1, shift = 20; shift >= 0; ++i, shift -= 4)
    text[i] = kDigits[(color.rgb >> shift) & 0xF];
  out.append(text, sizeof text);
}

}  // namespace pellimo::tools
