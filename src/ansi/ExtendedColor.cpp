// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/ExtendedColor.h"

#include <array>

#include "ansi/SgrCodes.h"

namespace pellimo::ansi {

namespace {

constexpr std::array<int, 6> kCubeLevels = {0, 95, 135, 175, 215, 255};
constexpr std::uint32_t kFirstGrey = 232;

double unit(double level) {
  return level / 255.0;
}

}  // namespace

std::int32_t paletteCode(std::uint32_t n, bool foreground) {
  const std::int32_t shift = foreground ? 0 : kBackgroundShift;
  if (n < 8) return kForegroundBlack + shift + static_cast<std::int32_t>(n);
  return kBrightForegroundBlack + shift + static_cast<std::int32_t>(n - 8);
}

Color fixedPaletteColor(std::uint32_t n) {
  if (n < kFirstGrey) {
    const std::uint32_t cube = n - kFirstFixedPaletteColor;
    return Color::rgb(unit(kCubeLevels[cube / 36]), unit(kCubeLevels[(cube / 6) % 6]),
                      unit(kCubeLevels[cube % 6]));
  }
  const double level = unit(8 + 10 * static_cast<double>(n - kFirstGrey));
  return Color::rgb(level, level, level);
}

Color trueColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return Color::rgb(unit(red), unit(green), unit(blue));
}

}  // namespace pellimo::ansi
