// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellimo::ansi {

/// Decodes UTF-8 arriving in pieces into UTF-16. Each byte that cannot start or continue a
/// well-formed sequence becomes U+FFFD; a sequence cut at the end of a piece waits for the rest.
class Utf8Decoder {
 public:
  /// Appends the decoded text of `bytes` to `out`.
  void decode(std::string_view bytes, std::u16string& out);
  /// Writes the decoded text of `bytes` to `to`, which has room for mostUnitsFor(bytes.size())
  /// units, and returns the end of what it wrote.
  char16_t* decode(std::string_view bytes, char16_t* to);
  /// Each byte gives at most one unit, and a sequence begun in the previous piece one more.
  static constexpr std::size_t mostUnitsFor(std::size_t byteCount) { return byteCount + 1; }
  /// Ends the input: a sequence still waiting for bytes becomes U+FFFD.
  void finish(std::u16string& out);
  /// How many replacement characters invalid input has produced so far.
  std::size_t invalidCount() const { return invalidCount_; }

 private:
  char16_t* replace(char16_t* out);

  std::uint32_t partial_ = 0;     // code point bits of the sequence being read
  int needed_ = 0;                // continuation bytes it still needs
  std::uint32_t lowerBound_ = 0;  // smallest code point its length may encode
  std::size_t invalidCount_ = 0;
};

}  // namespace pellimo::ansi
