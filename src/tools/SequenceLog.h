// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tools/GrowingBuffer.h"

namespace pellimo::tools {

/// The SGR sequences of a text in the order found: each one's codes and the clean-text position
/// where it takes effect. Kept as variable-length numbers (seven bits a byte), with each
/// position as the step from the one before: most codes and steps fit in a byte, so a text
/// dense with sequences takes a few bytes per sequence.
class SequenceLog {
 public:
  void add(std::span<const std::uint32_t> codes, std::size_t location) {
    std::uint8_t* to = bytes_.room(2 * kMostBytes + codes.size() * kMostBytes);
    to = putNumber(to, location - lastLocation_);
    lastLocation_ = location;
    to = putNumber(to, codes.size());
    for (std::uint32_t code : codes)
      to = putNumber(to, code);
    bytes_.commit(to);
  }

  /// Calls `onSequence(std::span<const std::uint32_t> codes, std::size_t location)` for each
  /// sequence in order.
  template <class OnSequence>
  void forEach(OnSequence&& onSequence) const {
    std::vector<std::uint32_t> codes;
    const std::uint8_t* from = bytes_.data();
    const std::uint8_t* const end = from + bytes_.size();
    std::size_t location = 0;
    while (from < end) {
      location += takeNumber(from);
      const std::size_t count = takeNumber(from);
      // Grown, never shrunk: values are written over, not set anew each time.
      if (codes.size() < count) codes.resize(count);
      for (std::size_t i = 0; i < count; ++i)
        codes[i] = static_cast<std::uint32_t>(takeNumber(from));
      onSequence(std::span<const std::uint32_t>(codes.data(), count), location);
    }
  }

 private:
  static constexpr std::size_t kMostBytes = 10;  // of a 64-bit number

  static std::uint8_t* putNumber(std::uint8_t* to, std::uint64_t value) {
    if (value < 0x80) {
      *to = static_cast<std::uint8_t>(value);
      return to + 1;
    }
    while (value >= 0x80) {
      *to++ = static_cast<std::uint8_t>(value | 0x80);
      value >>= 7;
    }
    *to++ = static_cast<std::uint8_t>(value);
    return to;
  }
  static std::uint64_t takeNumber(const std::uint8_t*& from) {
    if (*from < 0x80) return *from++;
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
      const std::uint8_t byte = *from++;
      value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
      if (byte < 0x80) return value;
    }
  }

  GrowingBuffer<std::uint8_t> bytes_;
  std::size_t lastLocation_ = 0;
};

}  // namespace pellimo::tools
