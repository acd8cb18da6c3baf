// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ansi/EscapeScanner.h"
#include "ansi/RunTracker.h"
#include "ansi/StyledText.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

/// Reads text with escape sequences as it arrives and hands out its clean text piece by piece,
/// each with the attributes that translating the whole text at once would give it (with
/// `overlayFont`, if given, in place of every font). Each piece is scanned once; nothing is
/// listed, so time and memory stay linear in the text.
class EscapedTextReader {
 public:
  using Sink = std::function<void(std::u16string_view text, const StyledText::Attributes&)>;
  using ClearScreen = std::function<void()>;

  /// `helper` gives the colour table, the fonts and the default colour; it must outlive this.
  /// Its font is read once, here. With `onClearScreen`, a clear-screen (ESC[2J) or a form feed
  /// is reported to it in its place in the text, and a form feed is no longer text.
  EscapedTextReader(const VXL_ANSIEscapeHelper& helper, std::optional<Font> overlayFont, Sink sink,
                    ClearScreen onClearScreen = {});
  void append(std::u16string_view piece);
  /// Ends the text: a trailing lone ESC is text; a cut-off sequence is dropped.
  void finish();

 private:
  /// A piece's attributes as pointers into the reader's and the helper's tables: copying
  /// colours and fonts costs more than the rest of handing out a piece of escape-dense text.
  /// Background and underline are null where absent.
  struct Look {
    const Font* font = nullptr;
    const Color* foreground = nullptr;
    const Color* background = nullptr;
    const int* underline = nullptr;
  };

  void updateLook();
  void handOut(std::u16string_view text);
  /// Clean text that may hold form feeds, which clear the screen for `onClearScreen_`.
  void takeText(std::u16string_view text);
  void addCodes(std::span<const std::uint32_t> values);

  const VXL_ANSIEscapeHelper& helper_;
  /// The font of text that no font run covers, or of all text when an overlay is given.
  Font baseFont_;
  bool overlaid_;
  /// Where `attributes_.font` was copied from: a font is copied only when it changes.
  const Font* handedFont_ = nullptr;
  Sink sink_;
  ClearScreen onClearScreen_;
  /// Whether the piece being scanned holds a form feed that clears the screen.
  bool feedsInPiece_ = false;
  EscapeScanner scanner_;
  RunTracker tracker_;
  Look look_;
  StyledText::Attributes attributes_;
  bool lookStale_ = true;
  /// In UTF-16 units, for the runs' locations.
  std::size_t cleanLength_ = 0;
};

}  // namespace pellimo::ansi
