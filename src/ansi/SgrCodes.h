// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "ansi/Color.h"

namespace pellimo::ansi {

/// SGR codes the translator gives a meaning to. -1 means no code.
enum SgrCode : std::int32_t {
  kNoCode = -1,
  kReset = 0,
  kBold = 1,
  kFaint = 2,
  kItalic = 3,
  kUnderline = 4,
  kDoubleUnderline = 21,
  kNormalIntensity = 22,
  kUnderlineOff = 24,
  kForegroundBlack = 30,
  kForegroundWhite = 37,
  kForegroundExtended = 38,
  kDefaultForeground = 39,
  kBackgroundBlack = 40,
  kBackgroundWhite = 47,
  kBackgroundExtended = 48,
  kDefaultBackground = 49,
  kBrightForegroundBlack = 90,
  kBrightForegroundWhite = 97,
  kBrightBackgroundBlack = 100,
  kBrightBackgroundWhite = 107,
};

/// Background codes are foreground codes shifted by this much.
inline constexpr std::int32_t kBackgroundShift = 10;

/// The colour table's foreground codes, in the order colour lookups try them.
inline constexpr std::array<std::int32_t, 16> kStandardForegroundCodes = {
    30, 31, 32, 33, 34, 35, 36, 37, 90, 91, 92, 93, 94, 95, 96, 97};

constexpr bool isForegroundColorCode(std::int32_t code) {
  return (code >= kForegroundBlack && code <= kForegroundWhite) ||
         (code >= kBrightForegroundBlack && code <= kBrightForegroundWhite);
}
constexpr bool isBackgroundColorCode(std::int32_t code) {
  return (code >= kBackgroundBlack && code <= kBackgroundWhite) ||
         (code >= kBrightBackgroundBlack && code <= kBrightBackgroundWhite);
}

/// The fixed colour of a code, foreground or background; black for codes the table lacks.
Color standardColorForSGRCode(std::int32_t code);

}  // namespace pellimo::ansi
