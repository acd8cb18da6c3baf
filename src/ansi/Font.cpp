#include "ansi/Font.h"

namespace pellimo::ansi {

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
