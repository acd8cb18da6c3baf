// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ansi/Color.h"
#include "ansi/Font.h"

namespace pellimo::tools {

/// Receives a report in pieces of some tens of kilobytes as it is written.
using ReportOutput = std::function<void(std::string_view)>;

/// Writes JSON as nlohmann's compact `dump` prints the same document, without building it: a
/// large text's report holds millions of values. What is written goes to the output in pieces.
class ReportWriter {
 public:
  explicit ReportWriter(ReportOutput output) : output_(std::move(output)) {}

  /// Hands over what is written so far.
  void flush() {
    output_(std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

  void put(std::string_view text) {
    if (text.size() > kBufferSize) {
      flush();
      output_(text);
      return;
    }
    std::memcpy(room(text.size()), text.data(), text.size());
    used_ += text.size();
  }
  /// Literals, whose size is known where they are written.
  template <std::size_t N>
  void put(const char (&text)[N]) {
    std::memcpy(room(N - 1), text, N - 1);
    used_ += N - 1;
  }

  template <class Integer>
  void putInteger(Integer value) {
    char* to = room(kMostDigits);
    used_ =
        static_cast<std::size_t>(std::to_chars(to, to + kMostDigits, value).ptr - buffer_.get());
  }

  /// Room for `size` bytes (at most some kilobytes) to write straight into, for many short
  /// pieces at once; `commit` then takes the end of what was written.
  char* reserve(std::size_t size) { return room(size); }
  void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  static constexpr std::size_t kMostDigits = 24;
  /// Writes the digits of `value` (at most kMostDigits) and returns their end; quickest for
  /// numbers below 100, which most codes and many lengths are.
  static char* writeInteger(char* to, std::size_t value) {
    return value < 100 ? writeBelow100(to, value) : writeLargeInteger(to, value);
  }

  /// The inside of a JSON string: valid UTF-8 escaped as nlohmann escapes it. A string may be
  /// written in several pieces between its quotes. Returns the text's length in UTF-16 units,
  /// which positions in a JSON text count.
  std::size_t putEscaped(std::string_view text);
  /// A whole JSON string.
  void putString(std::string_view text) {
    put("\"");
    putEscaped(text);
    put("\"");
  }

  /// nlohmann's own form of the number, kept per value: a text's colours share few components.
  void putDouble(double value);

  void putValue(const ansi::Color& color);
  void putValue(const ansi::Font& font);
  void putValue(int value) { putInteger(value); }

 private:
  /// A number's printed form, kept in place: a text's colours share few components, but
  /// random true colours use each of the 256 levels, so the slots are many and small.
  struct Printed {
    std::uint64_t bits = 0;
    std::uint8_t size = 0;  // none kept while 0
    char text[23];
  };
  static constexpr int kDoubleSlotBits = 12;
  static constexpr std::size_t kBufferSize = 1 << 16;

  /// Room for `size` more bytes past the used part, at most kBufferSize; a string's appends
  /// cost more than the short pieces of a report.
  char* room(std::size_t size) {
    if (used_ + size > kBufferSize) flush();
    return buffer_.get() + used_;
  }

  static char* writePair(char* to, std::size_t value) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    std::memcpy(to, kPairs + 2 * value, 2);
    return to + 2;
  }
  static char* writeLargeInteger(char* to, std::size_t value);
  static char* writeBelow100(char* to, std::size_t value) {
    if (value >= 10) return writePair(to, value);
    *to = static_cast<char>('0' + value);
    return to + 1;
  }

  ReportOutput output_;
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::size_t used_ = 0;
  /// Made at the first number: many writers print none.
  std::unique_ptr<Printed[]> doubles_;
};

}  // namespace pellimo::tools
