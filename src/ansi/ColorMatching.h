// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "ansi/Color.h"

namespace pellimo::ansi {

HSB makeHSB(double hue, double saturation, double brightness);
HSB getHSBFromColor(const Color& color);
/// True when |a - b| is strictly below the tolerance.
bool floatsEqual(double a, double b, double tolerance);

/// A colour table entry that a colour may be matched to.
struct CodeColor {
  std::int32_t code;
  Color color;
};

/// The candidate nearest the target by hue, then saturation, then brightness (distances within
/// 1e-6 of each other tie); a tie in all three goes to red, magenta, blue, green, cyan, yellow,
/// in that order, with their codes shifted by `shift`. -1 when there are no candidates.
std::int32_t closestCode(const Color& target, std::span<const CodeColor> candidates,
                         std::int32_t shift);

}  // namespace pellimo::ansi
