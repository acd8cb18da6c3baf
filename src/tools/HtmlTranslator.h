// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ansi/EscapeScanner.h"
#include "ansi/RunTracker.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "tools/HtmlOptions.h"
#include "tools/HtmlWriter.h"

namespace pellimo::tools {

/// Turns text with ANSI escape sequences, arriving in pieces, into the page. Each piece is
/// scanned once, straight from UTF-8, and text reaches the writer in the look the whole text's
/// translation gives it.
class HtmlTranslator {
 public:
  HtmlTranslator(const HtmlOptions& options, HtmlWriter::Output output);

  /// Takes valid UTF-8, as Utf8Decoder writes it.
  void append(std::string_view utf8);
  /// Ends the text: a trailing lone ESC is text; a cut-off sequence is dropped.
  void finish();

 private:
  /// `readable`: how many bytes from the text's start the piece it came in holds.
  void write(std::string_view text, std::size_t readable);

  ansi::VXL_ANSIEscapeHelper helper_;
  HtmlWriter writer_;
  ansi::EscapeScanner scanner_;
  ansi::RunTracker tracker_;
  /// The weight of text that no font run covers.
  bool baseBold_;
  /// Codes came since the writer was last told the look.
  bool lookStale_ = true;
  /// The end of the piece being scanned: its text may be read up to there.
  const char* pieceEnd_ = nullptr;
};

}  // namespace pellimo::tools
