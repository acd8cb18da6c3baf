// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ansi/Color.h"
#include "ansi/StyledText.h"
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

  /// The look of the text written from now on: bold, colours (null: the page's own) and
  /// underline style. With `colorsFixed`, each colour stays as it is where it is for the
  /// writer's life, so that its conversion may be kept.
  void setLook(bool bold, const ansi::Color* foreground, const ansi::Color* background,
               int underline, bool colorsFixed);
  /// Writes valid UTF-8 text, of which `readable` bytes from its start may be read (see
  /// writeHtmlText).
  void write(std::string_view text, std::size_t readable);
  /// Closes the page and hands over the rest of it.
  void finish();

 private:
  /// Appends to the buffer, handing it over first when it is too full.
  void put(std::string_view bytes);
  void flush();
  struct SpanStyle {
    std::int32_t foreground = -1;  // -1: the page's own colour
    std::int32_t background = -1;
    bool bold = false;
    int underline = 0;  // 0 none, 1 single, 2 double
  };
  /// The colour's part of a look: -1 for the page's own colour `pageDefault`, else its RGB.
  std::int32_t colorPart(const ansi::Color* color, CssColor pageDefault, bool fixed);
  /// Closes the span open, if any, and opens the one of the style, unless it is the page's own
  /// look.
  void changeSpan(std::uint64_t key, const SpanStyle& style);

  /// The page's own colours, which text needs no CSS for.
  CssColor pageForeground_;
  CssColor pageBackground_;
  Output output_;
  /// The page not yet handed over; written through a pointer, as a string's appends cost more
  /// than the rest of writing a tag.
  static const std::size_t kBufferSize;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  /// The look of the span open, as a number (see `keyOf` in the source): comparing looks field
  /// by field mispredicts on escape-dense text.
  std::uint64_t current_;
  /// The look set, as a number, and as a style for its tag.
  std::uint64_t next_;
  SpanStyle nextStyle_;
  /// Fixed colours already converted, by where they are: the looks of most text come from a
  /// colour table, and converting a colour costs several times more than finding it.
  struct ConvertedColor {
    const ansi::Color* at = nullptr;
    CssColor css;
  };
  static constexpr int kConvertedSlotBits = 9;
  std::array<ConvertedColor, 1 << kConvertedSlotBits> converted_{};
};

}  // namespace pellimo::tools
