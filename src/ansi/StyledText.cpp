// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/StyledText.h"

namespace pellimo::ansi {

namespace {

template <class T>
std::optional<AttributeValue> read(const AttributeLayer<T>& layer, std::size_t index,
                                   Range* effectiveRange, Range within) {
  auto span = layer.at(index, within);
  if (effectiveRange) *effectiveRange = span.range;
  if (!span.value) return std::nullopt;
  return AttributeValue{*span.value};
}

}  // namespace

StyledText::StyledText(std::u16string text)
    : text_(std::move(text)),
      fonts_(text_.size()),
      foregrounds_(text_.size()),
      backgrounds_(text_.size()),
      underlines_(text_.size()) {}

void StyledText::append(std::u16string_view text, const Attributes& attributes) {
  text_.append(text);
  fonts_.append(text.size(), attributes.font);
  foregrounds_.append(text.size(), attributes.foreground);
  backgrounds_.append(text.size(), attributes.background);
  underlines_.append(text.size(), attributes.underline);
}

void StyledText::removePrefix(std::size_t count) {
  count = std::min(count, text_.size());
  text_.erase(0, count);
  fonts_.removePrefix(count);
  foregrounds_.removePrefix(count);
  backgrounds_.removePrefix(count);
  underlines_.removePrefix(count);
}

void StyledText::addAttribute(Attribute name, const AttributeValue& value, Range range) {
  switch (name) {
    case Attribute::Font:
      if (auto* font = std::get_if<Font>(&value)) fonts_.set(range, *font);
      break;
    case Attribute::Foreground:
      if (auto* color = std::get_if<Color>(&value)) foregrounds_.set(range, *color);
      break;
    case Attribute::Background:
      if (auto* color = std::get_if<Color>(&value)) backgrounds_.set(range, *color);
      break;
    case Attribute::Underline:
      if (auto* style = std::get_if<int>(&value)) underlines_.set(range, *style);
      break;
  }
}

void StyledText::removeAttribute(Attribute name, Range range) {
  switch (name) {
    case Attribute::Font:
      fonts_.set(range, std::nullopt);
      break;
    case Attribute::Foreground:
      foregrounds_.set(range, std::nullopt);
      break;
    case Attribute::Background:
      backgrounds_.set(range, std::nullopt);
      break;
    case Attribute::Underline:
      underlines_.set(range, std::nullopt);
      break;
  }
}

std::optional<AttributeValue> StyledText::attribute(Attribute name, std::size_t index,
                                                    Range* effectiveRange, Range within) const {
  switch (name) {
    case Attribute::Font:
      return read(fonts_, index, effectiveRange, within);
    case Attribute::Foreground:
      return read(foregrounds_, index, effectiveRange, within);
    case Attribute::Background:
      return read(backgrounds_, index, effectiveRange, within);
    case Attribute::Underline:
      return read(underlines_, index, effectiveRange, within);
  }
  return std::nullopt;
}

}  // namespace pellimo::ansi
