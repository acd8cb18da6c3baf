// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ansi/EscapedTextReader.h"
#include "tools/CssColor.h"
#include "tools/HtmlOptions.h"

namespace pellimo::tools {

/// Writes a standalone UTF-8 HTML page showing text in a monospace <pre>: foreground and
/// background colours, bold (font weight 9 or more), single and double underline. A <span>
/// opens only where what the page shows changes; colours equal to the page's defaults need
/// none. Control characters other than tab and line breaks are left out, as HTML text may not
/// hold them.
class HtmlWriter {
 public:
  /// The page goes to `output` in pieces of some tens of kilobytes as it is written.
  using Output = std::function<void(std::string_view)>;

  HtmlWriter(const HtmlOptions& options, Output output);

  /// Writes valid UTF-8 text in the given look.
  void write(std::string_view text, const ansi::EscapedTextReader::Look& look);
  /// Closes the page and hands over the rest of it.
  void finish();

 private:
  struct SpanStyle {
    std::int32_t foreground = -1;  // -1: the page's own colour
    std::int32_t background = -1;
    bool bold = false;
    int underline = ansi::kUnderlineNone;
  };

  /// Appends to the buffer, handing it over first when it is too full.
  void put(std::string_view bytes);
  void flush();

  const HtmlOptions& options_;
  Output output_;
  /// The page not yet handed over; written through a pointer, as a string's appends cost more
  /// than the rest of writing a tag.
  static const std::size_t kBufferSize;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  /// The look of the span open, as a number (see `keyOf` in the source): comparing looks field
  /// by field mispredicts on escape-dense text.
  std::uint64_t current_;
  /// Text without a background stands on the page's, which needs no CSS.
  ansi::Color pageBackground_;
  /// Opening tags already written, by look: escape-dense text opens a tag at nearly every
  /// character. Room for some thousands, as its colours and styles make nearly two thousand
  /// looks; on the heap, as that is too much for a stack.
  struct OpenTag {
    std::uint64_t key = ~std::uint64_t{0};
    std::uint8_t size = 0;
    char text[87] = {};
  };
  static constexpr int kOpenTagSlotBits = 12;
  std::unique_ptr<OpenTag[]> openTags_ = std::make_unique<OpenTag[]>(1 << kOpenTagSlotBits);
};

}  // namespace pellimo::tools
