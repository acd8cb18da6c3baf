// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "ansi/Utf16Block.h"

namespace pellimo::ansi {

/// Finds ANSI escape sequences in text that may arrive in pieces. It reports clean text and the
/// parameters of each SGR sequence in order and gives them no meaning. A sequence or a lone ESC
/// cut at the end of a piece waits for the next one; `finish` settles it. Text comes as UTF-16
/// units or as valid UTF-8 bytes: only ASCII has a role in a sequence, and both forms keep it
/// as it is.
class EscapeScanner {
 public:
  /// Calls `onText(std::basic_string_view<Char>)` for each stretch of clean text,
  /// `onCodes(const std::vector<std::uint32_t>&)` for each sequence ending in m, and
  /// `onClearScreen()` for each ESC[2J. Every other sequence is removed without effect.
  template <class Char, class OnText, class OnCodes, class OnClearScreen>
  void scan(std::basic_string_view<Char> piece, OnText&& onText, OnCodes&& onCodes,
            OnClearScreen&& onClearScreen);
  template <class Char, class OnText, class OnCodes>
  void scan(std::basic_string_view<Char> piece, OnText&& onText, OnCodes&& onCodes) {
    scan(piece, onText, onCodes, [] {});
  }

  /// Ends the input: a lone ESC is text; a cut-off sequence gives the values its semicolons
  /// completed (the one still being read is dropped).
  template <class Char = char16_t, class OnText, class OnCodes>
  void finish(OnText&& onText, OnCodes&& onCodes);

 private:
  enum class State { Text, Escape, Sequence };
  template <class Char>
  static constexpr Char kEscape = 0x1B;

  /// The index of the first ESC from `from` on, or the size of the text.
  static std::size_t findEscape(std::u16string_view text, std::size_t from) {
    while (text.size() - from >= 8) {
      Utf16Block units;
      std::memcpy(&units, text.data() + from, sizeof units);
      if (anyLane(units == splat(kEscape<char16_t>))) break;
      from += 8;
    }
    while (from < text.size() && text[from] != kEscape<char16_t>)
      ++from;
    return from;
  }
  static std::size_t findEscape(std::string_view text, std::size_t from) {
    while (text.size() - from >= 16) {
      ByteBlock bytes;
      std::memcpy(&bytes, text.data() + from, sizeof bytes);
      if (anyLane(bytes == splatByte(kEscape<char>))) break;
      from += 16;
    }
    while (from < text.size() && text[from] != kEscape<char>)
      ++from;
    return from;
  }

  State state_ = State::Text;
  std::vector<std::uint32_t> values_;
  std::uint32_t current_ = 0;
};

template <class Char, class OnText, class OnCodes, class OnClearScreen>
void EscapeScanner::scan(std::basic_string_view<Char> piece, OnText&& onText, OnCodes&& onCodes,
                         OnClearScreen&& onClearScreen) {
  std::size_t i = 0;
  const std::size_t n = piece.size();
  while (i < n) {
    switch (state_) {
      case State::Text: {
        const std::size_t end = findEscape(piece, i);
        if (end > i) onText(piece.substr(i, end - i));
        if (end == n) return;
        i = end + 1;
        state_ = State::Escape;
        break;
      }
      case State::Escape:
        if (piece[i] == u'[') {
          ++i;
          values_.clear();
          current_ = 0;
          state_ = State::Sequence;
        } else {
          // Not an introducer: the ESC is ordinary text, and this unit is read afresh.
          onText(std::basic_string_view<Char>(&kEscape<Char>, 1));
          state_ = State::Text;
          if (piece[i] == kEscape<Char>) {
            ++i;
            state_ = State::Escape;
          }
        }
        break;
      case State::Sequence:
        // The whole sequence in one loop: escape-dense text is mostly sequences.
        while (i < n) {
          const Char c = piece[i++];
          if (c >= u'0' && c <= u'9') {
            current_ = current_ * 10u + static_cast<std::uint32_t>(c - u'0');
          } else if (c == u';') {
            values_.push_back(current_);
            current_ = 0;
          } else if (c == u'm') {
            values_.push_back(current_);
            onCodes(values_);
            state_ = State::Text;
            break;
          } else if (c == u'J' && values_.empty() && current_ == 2) {
            onClearScreen();
            state_ = State::Text;
            break;
          } else if (c >= 0x40 && c <= 0x7E) {
            // Another final byte: the sequence is removed without effect.
            state_ = State::Text;
            break;
          }
        }
        break;
    }
  }
}

template <class Char, class OnText, class OnCodes>
void EscapeScanner::finish(OnText&& onText, OnCodes&& onCodes) {
  if (state_ == State::Escape) onText(std::basic_string_view<Char>(&kEscape<Char>, 1));
  if (state_ == State::Sequence && !values_.empty()) onCodes(values_);
  state_ = State::Text;
}

}  // namespace pellimo::ansi
