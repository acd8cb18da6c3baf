// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/ExtendedColor.h"

#include <array>

#include "ansi/SgrCodes.h"

namespace pellimo::ansi {

namespace {

constexpr std::uint32_t kPaletteSelector = 5;
constexpr std::uint32_t kTrueColorSelector = 2;
constexpr std::uint32_t kMaxComponent = 255;
constexpr std::array<int, 6> kCubeLevels = {0, 95, 135, 175, 215, 255};

double unit(double level) {
  return level / 255.0;
}

Color paletteColor(const VXL_ANSIEscapeHelper& helper, std::uint32_t n, bool foreground) {
  const std::int32_t shift = foreground ? 0 : kBackgroundShift;
  if (n < 8) return helper.colorForSGRCode(kForegroundBlack + shift + static_cast<int>(n));
  if (n < 16)
    return helper.colorForSGRCode(kBrightForegroundBlack + shift + static_cast<int>(n - 8));
  if (n < 232) {
    const std::uint32_t cube = n - 16;
    return Color::rgb(unit(kCubeLevels[cube / 36]), unit(kCubeLevels[(cube / 6) % 6]),
                      unit(kCubeLevels[cube % 6]));
  }
  const double level = unit(8 + 10 * static_cast<double>(n - 232));
  return Color::rgb(level, level, level);
}

}  // namespace

std::optional<ExtendedColor> readExtendedColor(const VXL_ANSIEscapeHelper& helper,
                                               std::span<const std::uint32_t> sequence,
                                               std::size_t index) {
  const bool foreground = sequence[index] == kForegroundExtended;
  // The value `offset` places after the 38/48, if the sequence has one there.
  auto parameter = [&](std::size_t offset) -> std::optional<std::uint32_t> {
    const std::size_t at = index + offset;
    if (at >= sequence.size()) return std::nullopt;
    return sequence[at];
  };

  const auto selector = parameter(1);
  if (selector == kPaletteSelector) {
    const auto n = parameter(2);
    if (!n || *n > kMaxComponent) return std::nullopt;
    return ExtendedColor{paletteColor(helper, *n, foreground), 2};
  }
  if (selector == kTrueColorSelector) {
    const auto r = parameter(2), g = parameter(3), b = parameter(4);
    if (!r || !g || !b || *r > kMaxComponent || *g > kMaxComponent || *b > kMaxComponent) {
      return std::nullopt;
    }
    return ExtendedColor{Color::rgb(unit(*r), unit(*g), unit(*b)), 4};
  }
  return std::nullopt;
}

}  // namespace pellimo::ansi
