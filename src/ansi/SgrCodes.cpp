// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/SgrCodes.h"

namespace pellimo::ansi {

namespace {

constexpr double kSaturation = 0.4;
constexpr double kBrightBlackWhite = 0.337;

Color brightColor(double hue) {
  return Color::fromHSB(hue, kSaturation, 1.0);
}

}  // namespace

Color standardColorForSGRCode(std::int32_t code) {
  const std::int32_t foreground = isBackgroundColorCode(code) ? code - kBackgroundShift : code;
  switch (foreground) {
    case 30:
      return Color::black();
    case 31:
      return Color::red();
    case 32:
      return Color::green();
    case 33:
      return Color::yellow();
    case 34:
      return Color::blue();
    case 35:
      return Color::magenta();
    case 36:
      return Color::cyan();
    case 37:
      return Color::white();
    case 90:
      return Color::grey(kBrightBlackWhite);
    case 91:
      return brightColor(360.0 / 360.0);
    case 92:
      return brightColor(120.0 / 360.0);
    case 93:
      return brightColor(60.0 / 360.0);
    case 94:
      return brightColor(240.0 / 360.0);
    case 95:
      return brightColor(300.0 / 360.0);
    case 96:
      return brightColor(180.0 / 360.0);
    case 97:
      return Color::white();
    default:
      return Color::black();
  }
}

}  // namespace pellimo::ansi
