#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

namespace {

constexpr std::u16string_view kIntroducer = u"\x1b[";

}  // namespace

std::optional<std::vector<EscapeCodeRecord>> VXL_ANSIEscapeHelper::escapeCodesForString(
    std::optional<std::u16string_view> text, std::u16string* cleanString) const {
  if (!text) return std::nullopt;
  const std::u16string_view input = *text;
  std::vector<EscapeCodeRecord> records;
  if (input.size() <= kIntroducer.size()) {
    if (cleanString) cleanString->assign(input);
    return records;
  }

  std::u16string clean;
  clean.reserve(input.size());
  std::vector<std::uint32_t> values;
  std::uint32_t sequence = 0;
  std::size_t searchStart = 0;
  bool cutOff = false;

  while (!cutOff) {
    const std::size_t escape = input.find(kIntroducer, searchStart);
    if (escape == std::u16string_view::npos) break;

    values.clear();
    std::uint32_t current = 0;
    std::size_t unit = escape + kIntroducer.size();
    std::size_t sequenceEnd = input.size();
    cutOff = true;
    for (; unit < input.size(); ++unit) {
      const char16_t c = input[unit];
      if (c >= u'0' && c <= u'9') current = current * 10u + static_cast<std::uint32_t>(c - u'0');
      if (c == u'm') {
        values.push_back(current);
      } else if (c >= 0x40 && c <= 0x7E) {
        values.clear();
      } else if (c == u';') {
        values.push_back(current);
        current = 0;
        continue;
      } else {
        continue;
      }
      sequenceEnd = unit + 1;
      cutOff = false;
      break;
    }

    // Everything before the sequence is clean text; the sequence's codes act right after it.
    clean.append(input.substr(searchStart, escape - searchStart));
    for (std::uint32_t value : values)
      records.push_back({value, clean.size(), sequence});
    ++sequence;
    searchStart = sequenceEnd;
  }
  if (!cutOff) clean.append(input.substr(searchStart));

  if (cleanString) *cleanString = std::move(clean);
  return records;
}

}  // namespace pellimo::ansi
