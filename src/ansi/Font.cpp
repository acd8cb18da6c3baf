// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/Font.h"

namespace pellimo::ansi {

Font withDrawableSize(Font font) {
  if (!(font.pointSize >= Font::kSmallestPointSize)) font.pointSize = Font::kSmallestPointSize;
  if (font.pointSize > Font::kLargestPointSize) font.pointSize = Font::kLargestPointSize;
  return font;
}

std::optional<Font> boldFont(const std::optional<Font>& font) {
  if (!font) return std::nullopt;
  Font bold = *font;
  if (bold.weight < Font::kBoldWeight) bold.weight = Font::kBoldWeight;
  return bold;
}

std::optional<Font> nonBoldFont(const std::optional<Font>& font) {
  if (!font) return std::nullopt;
  Font regular = *font;
  if (regular.weight >= Font::kBoldWeight) regular.weight = Font::kRegularWeight;
  return regular;
}

}  // namespace pellimo::ansi
