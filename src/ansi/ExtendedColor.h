// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "ansi/Color.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

/// A `38;5;n` / `38;2;r;g;b` (or `48`) selection read from the records of one sequence.
struct ExtendedColor {
  Color color;
  std::size_t consumed;  // parameters after the 38 or 48 that belong to the selection
};

/// Reads the selection whose 38 or 48 stands at `index` of one sequence's codes; nullopt when
/// the parameters that follow it in the sequence do not form a valid one.
std::optional<ExtendedColor> readExtendedColor(const VXL_ANSIEscapeHelper& helper,
                                               std::span<const std::uint32_t> sequence,
                                               std::size_t index);

}  // namespace pellimo::ansi
