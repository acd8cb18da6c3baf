// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlTranslator.h"

#include <variant>

namespace pellimo::tools {

using ansi::Attribute;
using ansi::AttributeValue;
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
      tracker_(helper_, false),
      baseBold_(helper_.font()->weight >= Font::kBoldWeight) {}

void HtmlTranslator::append(std::string_view utf8) {
  pieceEnd_ = utf8.data() + utf8.size();
  scanner_.scan(
      utf8,
      [this](std::string_view text) {
        write(text, static_cast<std::size_t>(pieceEnd_ - text.data()));
      },
      [this](std::span<const std::uint32_t> values) {
        tracker_.addSequence(values, 0);
        lookStale_ = true;
      });
}

void HtmlTranslator::finish() {
  scanner_.finish<char>([this](std::string_view text) { write(text, text.size()); },
                        [](std::span<const std::uint32_t>) {});
  writer_.finish();
}

void HtmlTranslator::write(std::string_view text, std::size_t readable) {
  if (lookStale_) {
    const AttributeValue* font = tracker_.current(Attribute::Font);
    const AttributeValue* foreground = tracker_.current(Attribute::Foreground);
    const AttributeValue* background = tracker_.current(Attribute::Background);
    const AttributeValue* underline = tracker_.current(Attribute::Underline);
    // Without a colour run, text has the helper's default colour, which is the page's own.
    writer_.setLook(font ? std::get<Font>(*font).weight >= Font::kBoldWeight : baseBold_,
                    foreground ? &std::get<Color>(*foreground) : nullptr,
                    background ? &std::get<Color>(*background) : nullptr,
                    underline ? std::get<int>(*underline) : int{ansi::kUnderlineNone},
                    tracker_.changesInPlace(foreground) + tracker_.changesInPlace(background) == 0);
    lookStale_ = false;
  }
  writer_.write(text, readable);
}

}  // namespace pellimo::tools
