// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "ansi/EscapedTextReader.h"
#include "ansi/StyledText.h"

namespace pellimo::ansi {

/// Builds styled text from text with escape sequences that arrives in pieces. When finished,
/// the styled text equals the translation of all the text at once (with `overlayFont`, if
/// given, laid over the whole of it).
class StyledTextStream {
 public:
  /// `helper` must outlive the stream. `onClearScreen`, when given, hears of each clear-screen
  /// in the text at the point where it comes (see `EscapedTextReader`). Room for
  /// `reservedUnits` is set aside at once: a growing text is copied whole at each doubling,
  /// which held up an event loop taking streamed output for over 10 ms.
  StyledTextStream(const VXL_ANSIEscapeHelper& helper, std::optional<Font> overlayFont,
                   EscapedTextReader::ClearScreen onClearScreen = {},
                   std::size_t reservedUnits = 0);

  void append(std::u16string_view piece) { reader_.append(piece); }
  void finish() { reader_.finish(); }

  /// The styled text so far; it keeps growing in place as pieces arrive.
  const std::shared_ptr<StyledText>& styledText() const { return styled_; }

 private:
  std::shared_ptr<StyledText> styled_;
  EscapedTextReader reader_;
};

}  // namespace pellimo::ansi
