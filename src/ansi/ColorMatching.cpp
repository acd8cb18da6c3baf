// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/ColorMatching.h"

#include <array>
#include <cmath>
#include <limits>

#include "ansi/SgrCodes.h"

namespace pellimo::ansi {

namespace {

constexpr double kTolerance = 1e-6;
constexpr double kStartingDistance = std::numeric_limits<float>::max();

/// Red, magenta, blue, green, cyan, yellow: who wins a tie in all three distances.
constexpr std::array<std::int32_t, 6> kTieBreakPreference = {31, 35, 34, 32, 36, 33};

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

std::int32_t closestCode(const Color& target, std::span<const CodeColor> candidates,
                         std::int32_t shift) {
  const HSB wanted = getHSBFromColor(target);
  std::int32_t best = kNoCode;
  std::array<double, 3> bestDistances = {kStartingDistance, kStartingDistance, kStartingDistance};

  for (const CodeColor& entry : candidates) {
    const HSB candidate = getHSBFromColor(entry.color);
    const std::array<double, 3> distances = {std::fabs(wanted.hue - candidate.hue),
                                             std::fabs(wanted.saturation - candidate.saturation),
                                             std::fabs(wanted.brightness - candidate.brightness)};
    bool better = false;
    bool decided = false;
    for (std::size_t k = 0; k < distances.size() && !decided; ++k) {
      if (floatsEqual(distances[k], bestDistances[k], kTolerance)) continue;
      better = distances[k] < bestDistances[k];
      decided = true;
    }
    if (!decided) better = tieBreakPrefers(entry.code, best, shift);
    if (better) {
      best = entry.code;
      bestDistances = distances;
    }
  }
  return best;
}

}  // namespace pellimo::ansi
