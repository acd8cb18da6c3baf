// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "ansi/Color.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

/// The value after a 38 or 48 that selects a palette colour (`38;5;n`) or an RGB one
/// (`38;2;r;g;b`); the selection's numbers go up to kMaxSelected.
inline constexpr std::uint32_t kPaletteSelector = 5;
inline constexpr std::uint32_t kTrueColorSelector = 2;
inline constexpr std::uint32_t kMaxSelected = 255;
/// Palette colours from this number on are the same for either ground and need no helper.
inline constexpr std::uint32_t kFirstFixedPaletteColor = 16;

/// The SGR code whose colour palette colour `n` below kFirstFixedPaletteColor is.
std::int32_t paletteCode(std::uint32_t n, bool foreground);
/// Palette colour `n`, kFirstFixedPaletteColor to kMaxSelected: the colour cube, then greys.
Color fixedPaletteColor(std::uint32_t n);
/// The colour of `38;2;r;g;b`, components up to kMaxSelected.
Color trueColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue);

}  // namespace pellimo::ansi
