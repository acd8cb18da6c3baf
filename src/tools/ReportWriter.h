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
    constexpr std::size_t kDigits = 24;
    char* to = room(kDigits);
    used_ = static_cast<std::size_t>(std::to_chars(to, to + kDigits, value).ptr - buffer_.get());
  }

  /// The inside of a JSON string: UTF-8 text escaped as nlohmann escapes it. A string may be
  /// written in several pieces between its quotes.
  void putEscaped(std::string_view text);
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
  struct Printed {
    std::uint64_t bits = 0;
    bool valid = false;
    std::string text;
  };
  static constexpr int kDoubleSlotBits = 10;
  static constexpr std::size_t kBufferSize = 1 << 16;

  /// Room for `size` more bytes past the used part, at most kBufferSize; a string's appends
  /// cost more than the short pieces of a report.
  char* room(std::size_t size) {
    if (used_ + size > kBufferSize) flush();
    return buffer_.get() + used_;
  }

  ReportOutput output_;
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::size_t used_ = 0;
  std::array<Printed, 1 << kDoubleSlotBits> doubles_;
};

}  // namespace pellimo::tools
