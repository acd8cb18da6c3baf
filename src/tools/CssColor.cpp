// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CssColor.h"

#include <cstddef>

namespace pellimo::tools {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// Two components, worked on at once with the vector extension GCC and Clang share. Masks
/// rather than comparisons and branches: escape-dense text changes colour at nearly every
/// character, and branches on the components would mispredict as often.
using Pair = double __attribute__((vector_size(16)));
using PairBits = std::int64_t __attribute__((vector_size(16)));

/// Each component times 255, rounded, after clamping to 0 to 1.
PairBits levels(Pair parts) {
  const Pair zero{}, one{1, 1};
  // The comparison is false for NaN, which becomes 0 with the negatives.
  parts = (Pair)((parts > zero) & (PairBits)parts);
  const PairBits over = parts > one;
  parts = (Pair)((over & (PairBits)one) | (~over & (PairBits)parts));
  // Adding a half and truncating rounds as lround does for these non-negative values.
  return __builtin_convertvector(parts * Pair{255, 255} + Pair{0.5, 0.5}, PairBits);
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
  // A grey's white level stands for all three channels; picked by index rather than by branch.
  const double parts[] = {color.c0, color.c1, color.c2};
  const std::size_t rgb = color.model == ansi::Color::Model::RGB;
  const PairBits redGreen = levels(Pair{parts[0], parts[rgb]});
  const PairBits blue = levels(Pair{parts[2 * rgb], 0});
  return CssColor{static_cast<std::uint32_t>(redGreen[0] << 16 | redGreen[1] << 8 | blue[0])};
}

void appendCssColor(std::string& out, CssColor color) {
  static constexpr char kDigits[] = "0123456789abcdef";
  char text[7] = {'#'};
  for (int i = 1, shift = 20; shift >= 0; ++i, shift -= 4)
    text[i] = kDigits[(color.rgb >> shift) & 0xF];
  out.append(text, sizeof text);
}

}  // namespace pellimo::tools
