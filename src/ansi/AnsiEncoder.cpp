// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/AnsiEncoder.h"

#include <algorithm>

#include "ansi/SgrCodes.h"
#include "ansi/StyledText.h"

namespace pellimo::ansi {

namespace {

void appendDecimal(std::u16string& out, std::int32_t value) {
  if (value < 0) out.push_back(u'-');
  // Widen first so that the most negative value has a magnitude.
  std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
  char16_t digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  while (count > 0)
    out.push_back(digits[--count]);
}

void appendSequence(std::u16string& out, std::int32_t code) {
  out.append(u"\x1b[");
  appendDecimal(out, code);
  out.push_back(u'm');
}

}  // namespace

std::u16string insertSgrSequences(const std::vector<CodeInsertion>& codes,
                                  std::u16string_view cleanString) {
  std::vector<CodeInsertion> sorted = codes;
  // Records without a location sort first and are skipped below.
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return a.location.value_or(0) < b.location.value_or(0);
  });

  std::u16string out;
  out.reserve(cleanString.size() + 6 * sorted.size() + 4);
  std::size_t copied = 0;
  for (const CodeInsertion& record : sorted) {
    if (!record.code || !record.location || *record.location > cleanString.size()) continue;
    const std::size_t location = *record.location;
    if (copied < location) out.append(cleanString.substr(copied, location - copied));
    appendSequence(out, *record.code);
    copied = location;
  }
  if (copied < cleanString.size()) out.append(cleanString.substr(copied));
  appendSequence(out, kReset);
  return out;
}

std::int32_t sgrCodeForFont(const std::optional<Font>& font) {
  if (!font) return kNormalIntensity;
  return font->weight >= Font::kBoldWeight ? kBold : kNormalIntensity;
}

std::int32_t sgrCodeForUnderline(const std::optional<int>& style) {
  if (style == kUnderlineSingle) return kUnderline;
  if (style == kUnderlineDouble) return kDoubleUnderline;
  return kUnderlineOff;
}

}  // namespace pellimo::ansi
