// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace pellimo::ansi {

/// A font as the translator and the settings store describe it. Weight uses the 0 to 15 scale
/// of the font manager: 5 is regular, 9 is bold.
struct Font {
  static constexpr int kLightestWeight = 0;
  static constexpr int kRegularWeight = 5;
  static constexpr int kBoldWeight = 9;
  static constexpr int kHeaviestWeight = 15;
  /// Outside these sizes text draws as empty boxes, or not at all.
  static constexpr double kSmallestPointSize = 4;
  static constexpr double kLargestPointSize = 288;

  std::string family;
  double pointSize = 12;
  int weight = kRegularWeight;
  bool italic = false;

  /// The desktop's default font: an empty family is resolved by the drawing layer.
  static Font system() { return Font{"", 13, kRegularWeight, false}; }

  friend bool operator==(const Font&, const Font&) = default;
};

/// The font at its size brought within kSmallestPointSize to kLargestPointSize; a size that is
/// not a number becomes the smallest.
Font withDrawableSize(Font font);
/// The bold face of a font; converting no font gives no font.
std::optional<Font> boldFont(const std::optional<Font>& font);
/// The non-bold face of a font; converting no font gives no font.
std::optional<Font> nonBoldFont(const std::optional<Font>& font);

}  // namespace pellimo::ansi
