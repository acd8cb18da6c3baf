// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlTranslator.h"

namespace pellimo::tools {

using ansi::Color;
using ansi::Font;

namespace {

/// With a font the bold codes make runs; with the page's colour as the default, uncoloured
/// text needs no span.
ansi::VXL_ANSIEscapeHelper pageHelper(const HtmlOptions& options) {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setFont(Font{"monospace", 12, Font::kRegularWeight, false});
  const std::uint32_t rgb = options.foreground.rgb;
  helper.setDefaultStringColor(
      Color::rgb((rgb >> 16) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0));
  return helper;
}

}  // namespace

HtmlTranslator::HtmlTranslator(const HtmlOptions& options, HtmlWriter::Output output)
    : helper_(pageHelper(options)),
      writer_(options, std::move(output)),
      reader_(helper_, [this](std::string_view text, const ansi::EscapedTextReader::Look& look) {
        writer_.write(text, look);
      }) {}

void HtmlTranslator::finish() {
  reader_.finish();
  writer_.finish();
}

}  // namespace pellimo::tools
