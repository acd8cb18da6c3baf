// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "ansi/EscapedTextReader.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "tools/HtmlOptions.h"
#include "tools/HtmlWriter.h"

namespace pellimo::tools {

/// Turns text with ANSI escape sequences, arriving in pieces, into the page.
class HtmlTranslator {
 public:
  HtmlTranslator(const HtmlOptions& options, HtmlWriter::Output output);

  /// Takes valid UTF-8, as Utf8Decoder writes it.
  void append(std::string_view utf8) { reader_.append(utf8); }
  void finish();

 private:
  ansi::VXL_ANSIEscapeHelper helper_;
  HtmlWriter writer_;
  ansi::EscapedTextReader reader_;
};

}  // namespace pellimo::tools
