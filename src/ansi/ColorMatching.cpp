#include <array>
#include <cmath>
#include <limits>

#include "ansi/SgrCodes.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

namespace {

constexpr double kTolerance = 1e-6;
constexpr double kStartingDistance = std::numeric_limits<float>::max();

/// The colour table's foreground codes, in the order the lookups try them.
constexpr std::array<std::int32_t, 16> kForegroundCandidates = {30, 31, 32, 33, 34, 35, 36, 37,
                                                                90, 91, 92, 93, 94, 95, 96, 97};
/// Red, magenta, blue, green, cyan, yellow: who wins a tie in all three distances.
constexpr std::array<std::int32_t, 6> kTieBreakPreference = {31, 35, 34, 32, 36, 33};

bool isForegroundKey(std::int32_t code) {
  return code < 40 || (code >= 90 && code <= 97);
}

/// True when the candidate wins the tie against the current best.
bool tieBreakPrefers(std::int32_t candidate, std::int32_t best, std::int32_t shift) {
  for (std::int32_t preferred : kTieBreakPreference) {
    if (preferred + shift == best) return false;
    if (preferred + shift == candidate) return true;
  }
  return false;
}

}  // namespace

HSB makeHSB(double hue, double saturation, double brightness) {
  return HSB{hue, saturation, brightness};
}

HSB getHSBFromColor(const Color& color) {
  return color.toRGB().hsb();
}

bool floatsEqual(double a, double b, double tolerance) {
  return std::fabs(a - b) < tolerance;
}

std::int32_t VXL_ANSIEscapeHelper::VXL_SGRCodeForColor(const Color& color,
                                                       bool isForegroundColor) const {
  if (ansiColors_) {
    for (const auto& [code, overridden] : *ansiColors_) {
      if (overridden == color && isForegroundKey(code) == isForegroundColor) return code;
    }
  }
  const std::int32_t shift = isForegroundColor ? 0 : kBackgroundShift;
  for (std::int32_t code : kForegroundCandidates) {
    if (standardColorForSGRCode(code) == color) return code + shift;
  }
  return kNoCode;
}

std::int32_t VXL_ANSIEscapeHelper::closestSGRCodeForColor(const std::optional<Color>& color,
                                                          bool isForegroundColor) const {
  if (!color) return kNoCode;
  if (const std::int32_t exact = VXL_SGRCodeForColor(*color, isForegroundColor); exact != kNoCode) {
    return exact;
  }
  const HSB target = getHSBFromColor(*color);
  const std::int32_t shift = isForegroundColor ? 0 : kBackgroundShift;
  std::int32_t best = kNoCode;
  std::array<double, 3> bestDistances = {kStartingDistance, kStartingDistance, kStartingDistance};

  for (std::int32_t foregroundCode : kForegroundCandidates) {
    const std::int32_t code = foregroundCode + shift;
    const HSB candidate = getHSBFromColor(colorForSGRCode(code));
    const std::array<double, 3> distances = {std::fabs(target.hue - candidate.hue),
                                             std::fabs(target.saturation - candidate.saturation),
                                             std::fabs(target.brightness - candidate.brightness)};
    bool better = false;
    bool decided = false;
    for (std::size_t k = 0; k < distances.size() && !decided; ++k) {
      if (floatsEqual(distances[k], bestDistances[k], kTolerance)) continue;
      better = distances[k] < bestDistances[k];
      decided = true;
    }
    if (!decided) better = tieBreakPrefers(code, best, shift);
    if (better) {
      best = code;
      bestDistances = distances;
    }
  }
  return best;
}

}  // namespace pellimo::ansi
