// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ansi/AnsiEncoder.h"
#include "ansi/Color.h"
#include "ansi/ColorMatching.h"
#include "ansi/Font.h"
#include "ansi/StyledText.h"

namespace pellimo::ansi {

/// One SGR parameter found in the text: its number and the clean-text position where it takes
/// effect. `sequence` numbers the escape sequence it came from, so the run step can read the
/// parameters of one `38;5;n` or `38;2;r;g;b` selection together.
struct EscapeCodeRecord {
  std::uint32_t code = 0;
  std::size_t location = 0;
  std::uint32_t sequence = 0;

  friend bool operator==(const EscapeCodeRecord&, const EscapeCodeRecord&) = default;
};

/// One attribute to apply over a stretch of the clean text.
struct AttributeRun {
  Attribute attributeName;
  AttributeValue attributeValue;
  Range range;

  friend bool operator==(const AttributeRun&, const AttributeRun&) = default;
};

/// Translates text with ANSI SGR escape sequences into styled text and back.
class VXL_ANSIEscapeHelper {
 public:
  using ColorTable = std::map<std::int32_t, Color>;

  VXL_ANSIEscapeHelper();

  const std::optional<Color>& defaultStringColor() const { return defaultStringColor_; }
  void setDefaultStringColor(std::optional<Color> color) { defaultStringColor_ = color; }
  const std::optional<Font>& font() const { return font_; }
  void setFont(std::optional<Font> font) { font_ = std::move(font); }
  /// Shared, not copied: changes made through any holder of the table are seen here.
  const std::shared_ptr<ColorTable>& ansiColors() const { return ansiColors_; }
  void setAnsiColors(std::shared_ptr<ColorTable> table) { ansiColors_ = std::move(table); }

  /// The override for the code if there is one, else the colour table's colour (black for
  /// codes the table lacks).
  Color colorForSGRCode(std::int32_t code) const;
  /// True when `code`, coming later, ends the formatting that `introducedByCode` began.
  static bool VXL_SGRCodeEndsFormattingIntroducedByCode(std::int32_t code,
                                                        std::int32_t introducedByCode);

  /// Scans for escape sequences: the code records, and the text without the sequences stored in
  /// `cleanString` when given. Null input gives null and stores nothing.
  std::optional<std::vector<EscapeCodeRecord>> escapeCodesForString(
      std::optional<std::u16string_view> text, std::u16string* cleanString) const;
  /// The attribute runs the text's codes open, in the order of the records that opened them.
  std::optional<std::vector<AttributeRun>> attributesForString(
      std::optional<std::u16string_view> text, std::u16string* cleanString) const;
  /// The clean text in the base font and colour with every run applied in order. Built in one
  /// streaming pass, which gives the same text as applying the listed runs without listing them.
  std::optional<StyledText> attributedStringWithANSIEscapedString(
      std::optional<std::u16string_view> text) const;
  /// The runs for records already scanned from a clean text of the given length.
  std::vector<AttributeRun> attributesForCodes(const std::vector<EscapeCodeRecord>& codes,
                                               std::size_t cleanLength) const;

  /// Plain text with an SGR sequence at the start of every stretch of the four attributes,
  /// ending with a reset; null styled text gives the reset alone.
  std::u16string ansiEscapedStringWithAttributedString(
      const std::optional<StyledText>& attributedString) const;
  static std::u16string ansiEscapedStringWithCodesAndLocations(
      const std::vector<CodeInsertion>& codes, std::u16string_view cleanString);

  /// The code whose colour equals the given one exactly, or -1.
  std::int32_t VXL_SGRCodeForColor(const Color& color, bool isForegroundColor) const;
  /// The exact code, else the nearest by hue, then saturation, then brightness; -1 for null.
  std::int32_t closestSGRCodeForColor(const std::optional<Color>& color,
                                      bool isForegroundColor) const;

 private:
  std::optional<Color> defaultStringColor_;
  std::optional<Font> font_;
  std::shared_ptr<ColorTable> ansiColors_;
};

}  // namespace pellimo::ansi
