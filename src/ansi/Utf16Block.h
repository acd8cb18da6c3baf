// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace pellimo::ansi {

/// Eight UTF-16 units compared at once, with the vector extension GCC and Clang share: the
/// scans for escapes and for text that needs escaping look at every unit of the output.
using Utf16Block = std::uint16_t __attribute__((vector_size(16)));
/// The same eight units narrowed to bytes, when all are ASCII.
using AsciiBlock = std::uint8_t __attribute__((vector_size(8)));
/// What comparing two blocks gives: all bits set in each lane where the comparison holds.
using Utf16Mask = std::int16_t __attribute__((vector_size(16)));

/// A block with every lane `unit`; comparing with a block, not a scalar, reads the same to GCC
/// and Clang.
constexpr Utf16Block splat(char16_t unit) {
  const auto value = static_cast<std::uint16_t>(unit);
  return Utf16Block{value, value, value, value, value, value, value, value};
}

/// Sixteen bytes of UTF-8 compared at once, as the blocks above compare units.
using ByteBlock = std::uint8_t __attribute__((vector_size(16)));

constexpr ByteBlock splatByte(char byte) {
  const auto value = static_cast<std::uint8_t>(byte);
  return ByteBlock{value, value, value, value, value, value, value, value,
                   value, value, value, value, value, value, value, value};
}

/// True when any lane of a comparison's result is set.
template <class Mask>
bool anyLane(const Mask& mask) {
  static_assert(sizeof(Mask) == 16);
  std::uint64_t halves[2];
  std::memcpy(halves, &mask, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

/// The index of the first `unit` from `from` on, or the size of the text; eight units a test,
/// as the scans for escapes, line ends and form feeds look at every unit they are given.
inline std::size_t findUnit(std::u16string_view text, std::size_t from, char16_t unit) {
  while (text.size() - from >= 8) {
    Utf16Block units;
    std::memcpy(&units, text.data() + from, sizeof units);
    if (anyLane(units == splat(unit))) break;
    from += 8;
  }
  while (from < text.size() && text[from] != unit)
    ++from;
  return from;
}

}  // namespace pellimo::ansi
