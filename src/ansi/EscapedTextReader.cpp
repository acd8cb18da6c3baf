// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/EscapedTextReader.h"

#include "ansi/Utf16Block.h"

namespace pellimo::ansi {

namespace {

constexpr Color kBlack = Color::black();

}  // namespace

EscapedTextReader::EscapedTextReader(const VXL_ANSIEscapeHelper& helper,
                                     std::optional<Font> overlayFont, Sink sink,
                                     ClearScreen onClearScreen)
    : helper_(helper),
      baseFont_(overlayFont ? std::move(*overlayFont) : helper.font().value_or(Font::system())),
      overlaid_(overlayFont.has_value()),
      sink_(std::move(sink)),
      onClearScreen_(std::move(onClearScreen)),
      tracker_(helper, false) {}

void EscapedTextReader::append(std::u16string_view piece) {
  // One look over the whole piece spares one at each stretch of text in it.
  feedsInPiece_ = onClearScreen_ && findUnit(piece, 0, u'\f') < piece.size();
  scanner_.scan(
      piece, [this](std::u16string_view text) { takeText(text); },
      [this](std::span<const std::uint32_t> values) { addCodes(values); },
      [this] {
        if (onClearScreen_) onClearScreen_();
      });
}

void EscapedTextReader::takeText(std::u16string_view text) {
  if (!feedsInPiece_) {
    handOut(text);
    return;
  }
  for (std::size_t feed = text.find(u'\f'); feed != std::u16string_view::npos;
       feed = text.find(u'\f')) {
    if (feed > 0) handOut(text.substr(0, feed));
    onClearScreen_();
    text.remove_prefix(feed + 1);
  }
  if (!text.empty()) handOut(text);
}

void EscapedTextReader::finish() {
  scanner_.finish([this](std::u16string_view text) { handOut(text); },
                  [](std::span<const std::uint32_t>) {});
}

void EscapedTextReader::addCodes(std::span<const std::uint32_t> values) {
  tracker_.addSequence(values, cleanLength_);
  lookStale_ = true;
}

void EscapedTextReader::updateLook() {
  const AttributeValue* font = overlaid_ ? nullptr : tracker_.current(Attribute::Font);
  look_.font = font ? &std::get<Font>(*font) : &baseFont_;
  const AttributeValue* foreground = tracker_.current(Attribute::Foreground);
  const std::optional<Color>& defaultColor = helper_.defaultStringColor();
  look_.foreground =
      foreground ? &std::get<Color>(*foreground) : (defaultColor ? &*defaultColor : &kBlack);
  const AttributeValue* background = tracker_.current(Attribute::Background);
  look_.background = background ? &std::get<Color>(*background) : nullptr;
  const AttributeValue* underline = tracker_.current(Attribute::Underline);
  look_.underline = underline ? &std::get<int>(*underline) : nullptr;
  lookStale_ = false;
}

void EscapedTextReader::handOut(std::u16string_view text) {
  if (lookStale_) {
    updateLook();
    if (look_.font != handedFont_) {
      attributes_.font = *look_.font;
      handedFont_ = look_.font;
    }
    attributes_.foreground = *look_.foreground;
    attributes_.background =
        look_.background ? std::optional<Color>(*look_.background) : std::nullopt;
    attributes_.underline = look_.underline ? std::optional<int>(*look_.underline) : std::nullopt;
  }
  cleanLength_ += text.size();
  sink_(text, attributes_);
}

}  // namespace pellimo::ansi
