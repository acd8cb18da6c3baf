// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "ansi/AttributeLayer.h"
#include "ansi/Color.h"
#include "ansi/Font.h"
#include "ansi/Range.h"

namespace pellimo::ansi {

/// The four attributes the translator reads and writes.
enum class Attribute { Font, Foreground, Background, Underline };

/// Underline styles, as the platform numbers them.
enum UnderlineStyle : int { kUnderlineNone = 0, kUnderlineSingle = 1, kUnderlineDouble = 9 };

using AttributeValue = std::variant<Font, Color, int>;

/// UTF-16 text with font, foreground, background and underline attributes over ranges. Adding
/// an attribute over a range replaces that attribute there and leaves the others alone.
class StyledText {
 public:
  StyledText() = default;
  explicit StyledText(std::u16string text);

  const std::u16string& string() const { return text_; }
  std::size_t length() const { return text_.size(); }

  /// The values of the four attributes over a stretch of text; nullopt where one is absent.
  struct Attributes {
    std::optional<Font> font;
    std::optional<Color> foreground;
    std::optional<Color> background;
    std::optional<int> underline;

    friend bool operator==(const Attributes&, const Attributes&) = default;
  };

  /// Appends text carrying the given attributes.
  void append(std::u16string_view text, const Attributes& attributes);
  /// Drops the first `count` units with their attributes.
  void removePrefix(std::size_t count);

  void addAttribute(Attribute name, const AttributeValue& value, Range range);
  void removeAttribute(Attribute name, Range range);
  /// The attribute's value at an index (nullopt where it is absent), with its longest effective
  /// range inside `within` stored in `effectiveRange` when that is given.
  std::optional<AttributeValue> attribute(Attribute name, std::size_t index, Range* effectiveRange,
                                          Range within) const;

  const AttributeLayer<Font>& fonts() const { return fonts_; }
  const AttributeLayer<Color>& foregrounds() const { return foregrounds_; }
  const AttributeLayer<Color>& backgrounds() const { return backgrounds_; }
  const AttributeLayer<int>& underlines() const { return underlines_; }

 private:
  std::u16string text_;
  AttributeLayer<Font> fonts_;
  AttributeLayer<Color> foregrounds_;
  AttributeLayer<Color> backgrounds_;
  AttributeLayer<int> underlines_;
};

}  // namespace pellimo::ansi
