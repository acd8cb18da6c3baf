// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellimo::ansi {

/// Decodes UTF-8 arriving in pieces into UTF-16, or into valid UTF-8. Each byte that cannot start
/// or continue a well-formed sequence becomes U+FFFD; a sequence cut at the end of a piece waits
/// for the rest.
class Utf8Decoder {
 public:
  /// Appends the decoded text of `bytes` to `out`.
  void decode(std::string_view bytes, std::u16string& out);
  /// Writes the decoded text of `bytes` to `to`, which has room for mostUnitsFor(bytes.size())
  /// units, and returns the end of what it wrote.
  char16_t* decode(std::string_view bytes, char16_t* to);
  /// Writes the decoded text of `bytes` as UTF-8 to `to`, which has room for
  /// mostBytesFor(bytes.size()) bytes, and returns the end of what it wrote: the bytes as they
  /// came, with the same replacements as the decoding to UTF-16 makes.
  char* decode(std::string_view bytes, char* to);
  /// The decoded text of `bytes` as UTF-8: `bytes` themselves when decoding leaves them as they
  /// are, which is the common case and costs no copy; else the text written to `room`, which
  /// has mostBytesFor(bytes.size()) bytes.
  std::string_view decodeOrPass(std::string_view bytes, char* room);
  /// Ends the input: a sequence still waiting for bytes becomes U+FFFD.
  void finish(std::u16string& out);
  /// The same, writing the replacement, if any, to `to` and returning the end of it.
  char16_t* finish(char16_t* to);
  char* finish(char* to);
  /// How many replacement characters invalid input has produced so far.
  std::size_t invalidCount() const { return invalidCount_; }

  /// Each byte gives at most one unit, and a sequence begun in the previous piece one more.
  static constexpr std::size_t mostUnitsFor(std::size_t byteCount) { return byteCount + 1; }
  /// The same in UTF-8, where a replacement takes three bytes.
  static constexpr std::size_t mostBytesFor(std::size_t byteCount) { return 3 * (byteCount + 1); }
  /// How many bytes from the start are complete, well-formed UTF-8.
  static std::size_t validLength(std::string_view bytes);

 private:
  /// How many bytes from the start decoding to UTF-8 leaves as they are.
  std::size_t unchangedLength(std::string_view bytes) const;
  /// Decodes `bytes` to UTF-8, the first `unchanged` of which are known to stay as they are.
  char* decodeAfter(std::size_t unchanged, std::string_view bytes, char* to);
  template <class Unit>
  Unit* decodeInto(std::string_view bytes, Unit* to);
  template <class Unit>
  Unit* replace(Unit* out);

  std::uint32_t partial_ = 0;     // code point bits of the sequence being read
  int needed_ = 0;                // continuation bytes it still needs
  std::uint32_t lowerBound_ = 0;  // smallest code point its length may encode
  std::size_t invalidCount_ = 0;
};

}  // namespace pellimo::ansi
