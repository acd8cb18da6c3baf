// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CssColor.h"

namespace pellimo::tools {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// Four doubles, and their bits, worked on at once with the vector extension GCC and Clang share.
using Channels = double __attribute__((vector_size(32)));
using Bits = std::int64_t __attribute__((vector_size(32)));

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
  // The three channels at once, chosen by masks rather than branches: escape-dense text changes
  // colour at nearly every character, and branches on the components mispredict as often.
  const std::int64_t isGrey = -std::int64_t{color.model == ansi::Color::Model::Grey};
  const Bits grey{isGrey, isGrey, isGrey, isGrey};
  const Channels zero{}, one{1, 1, 1, 1};
  Channels parts = (Channels)((grey & (Bits)Channels{color.c0, color.c0, color.c0}) |
                              (~grey & (Bits)Channels{color.c0, color.c1, color.c2}));
  // The comparison is false for NaN, which becomes 0 with the negatives.
  parts = (Channels)((Bits)(parts > zero) & (Bits)parts);
  const Bits over = (Bits)(parts > one);
  parts = (Channels)((over & (Bits)one) | (~over & (Bits)parts));
  // Adding a half and truncating rounds as lround does for these non-negative values.
  const Bits levels = __builtin_convertvector(
      parts * Channels{255, 255, 255, 255} + Channels{0.5, 0.5, 0.5, 0.5}, Bits);
  return CssColor{static_cast<std::uint32_t>(levels[0] << 16 | levels[1] << 8 | levels[2])};
}

void appendCssColor(std::string& out, CssColor color) {
  static constexpr char kDigits[] = "0123456789abcdef";
  char text[7] = {'#'};
  for (int i = 1, shift = 20; shift >= 0; ++i, shift -= 4)
    text[i] = kDigits[(color.rgb >> shift) & 0xF];
  out.append(text, sizeof text);
}

}  // namespace pellimo::tools
