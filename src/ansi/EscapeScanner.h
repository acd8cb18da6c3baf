// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
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
  /// `onCodes(std::span<const std::uint32_t>)` for each sequence ending in m, and
  /// `onClearScreen()` for each ESC[2J. Every other sequence is removed without effect.
  template <class Char, class OnText, class OnCodes, class OnClearScreen>
  void scan(std::basic_string_view<Char> piece, OnText&& onText, OnCodes&& onCodes,
            OnClearScreen&& onClearScreen);
  template <class Char, class OnText, class OnCodes>
  void scan(std::basic_string_view<Char> piece, OnText&& onText, OnCodes&& onCodes) {
    scan(piece, onText, onCodes, [] {});
  }

  /// Ends the input: a lone ESC is text; a cut-off sequence gives the values its semicolons
  /// completed (the one still being read is dropped). An input no longer than the introducer is
  /// never scanned, so one that is the introducer alone stays text.
  template <class Char = char16_t, class OnText, class OnCodes>
  void finish(OnText&& onText, OnCodes&& onCodes);

 private:
  enum class State { Text, Escape, Sequence };
  template <class Char>
  static constexpr Char kEscape = 0x1B;
  /// The longest parameters a sequence read whole may have; longer ones are read through the
  /// states.
  static constexpr std::size_t kQuickBytes = 32;

  /// The index of the first ESC from `from` on, or the size of the text.
  static std::size_t findEscape(std::u16string_view text, std::size_t from) {
    return findUnit(text, from, kEscape<char16_t>);
  }
  static std::size_t findEscape(std::string_view text, std::size_t from) {
    // Eight bytes a word, the first ESC among them found without a loop over them: escape-dense
    // text has a few bytes between sequences, and a loop's end would mispredict.
    auto escapeIn = [&text](std::size_t at) -> std::size_t {
      std::uint64_t word;
      std::memcpy(&word, text.data() + at, sizeof word);
      if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
      const std::uint64_t x = word ^ 0x1B1B1B1B1B1B1B1Bu;
      // The high bit of each zero byte of x, and none below the lowest one.
      const std::uint64_t zeros = (x - 0x0101010101010101u) & ~x & 0x8080808080808080u;
      return static_cast<std::size_t>(std::countr_zero(zeros) / 8);
    };
    // Text between sequences is mostly shorter than a word.
    if (text.size() - from >= 8) {
      if (const std::size_t at = escapeIn(from); at < 8) return from + at;
      from += 8;
    }
    // Long stretches of text skip 32 bytes a test.
    while (text.size() - from >= 32) {
      ByteBlock blocks[2];
      std::memcpy(blocks, text.data() + from, sizeof blocks);
      if (anyLane((blocks[0] == splatByte(kEscape<char>)) |
                  (blocks[1] == splatByte(kEscape<char>)))) {
        break;
      }
      from += 32;
    }
    while (text.size() - from >= 8) {
      if (const std::size_t at = escapeIn(from); at < 8) return from + at;
      from += 8;
    }
    while (from < text.size() && text[from] != kEscape<char>)
      ++from;
    return from;
  }

  /// Reads the sequence whose parameters start at `i` in one go, the common case; returns
  /// where the text goes on. A sequence cut by the end of the piece, or with longer parameters
  /// or other bytes among them, is left to the states, in which it is then.
  template <class Char, class OnCodes, class OnClearScreen>
  std::size_t readSequence(std::basic_string_view<Char> piece, std::size_t i, OnCodes& onCodes,
                           OnClearScreen& onClearScreen);

  State state_ = State::Text;
  /// Units read, up to 3: enough to tell an input that is the introducer alone.
  std::uint8_t received_ = 0;
  std::vector<std::uint32_t> values_;
  std::uint32_t current_ = 0;
};

template <class Char, class OnCodes, class OnClearScreen>
std::size_t EscapeScanner::readSequence(std::basic_string_view<Char> piece, std::size_t i,
                                        OnCodes& onCodes, OnClearScreen& onClearScreen) {
  // Each byte read adds at most one value.
  std::uint32_t values[kQuickBytes + 1];
  std::size_t count = 0;
  std::uint32_t current = 0;
  const std::size_t n = piece.size();
  const std::size_t limit = std::min(n, i + kQuickBytes);
  // Digits and semicolons without a branch on which: their order in a sequence is the text's.
  for (; i < limit; ++i) {
    const auto c = static_cast<std::uint32_t>(piece[i]);
    const std::uint32_t digit = c - '0';
    const bool semicolon = c == ';';
    if (!((digit < 10) | semicolon)) break;
    values[count] = current;
    count += semicolon;
    current = semicolon ? 0 : current * 10u + digit;
  }
  if (i < limit) {
    const Char c = piece[i];
    if (c == u'm') {
      values[count++] = current;
      onCodes(std::span<const std::uint32_t>(values, count));
      return i + 1;
    }
    if (c == u'J' && count == 0 && current == 2) {
      onClearScreen();
      return i + 1;
    }
    if (c >= 0x40 && c <= 0x7E) return i + 1;
  }
  values_.assign(values, values + count);
  current_ = current;
  state_ = State::Sequence;
  return i;
}

template <class Char, class OnText, class OnCodes, class OnClearScreen>
void EscapeScanner::scan(std::basic_string_view<Char> piece, OnText&& onText, OnCodes&& onCodes,
                         OnClearScreen&& onClearScreen) {
  std::size_t i = 0;
  const std::size_t n = piece.size();
  received_ = static_cast<std::uint8_t>(std::min<std::size_t>(received_ + n, 3));
  while (i < n) {
    switch (state_) {
      case State::Text: {
        const std::size_t end = findEscape(piece, i);
        if (end > i) onText(piece.substr(i, end - i));
        if (end == n) return;
        i = end + 1;
        if (i < n && piece[i] == u'[') {
          i = readSequence(piece, i + 1, onCodes, onClearScreen);
        } else {
          state_ = State::Escape;
        }
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
        // A sequence the quick reading left, one byte at a time.
        while (i < n) {
          const Char c = piece[i++];
          if (c >= u'0' && c <= u'9') {
            current_ = current_ * 10u + static_cast<std::uint32_t>(c - u'0');
          } else if (c == u';') {
            values_.push_back(current_);
            current_ = 0;
          } else if (c == u'm') {
            values_.push_back(current_);
            onCodes(std::span<const std::uint32_t>(values_));
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
  // Two units that leave a sequence open can only be ESC and '['.
  if (state_ == State::Sequence && received_ == 2) {
    static constexpr Char kIntroducer[] = {kEscape<Char>, Char('[')};
    onText(std::basic_string_view<Char>(kIntroducer, 2));
    state_ = State::Text;
    return;
  }
  if (state_ == State::Escape) onText(std::basic_string_view<Char>(&kEscape<Char>, 1));
  if (state_ == State::Sequence && !values_.empty())
    onCodes(std::span<const std::uint32_t>(values_));
  state_ = State::Text;
}

}  // namespace pellimo::ansi
