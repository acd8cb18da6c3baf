#include "ansi/EscapeScanner.h"

#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

std::optional<std::vector<EscapeCodeRecord>> VXL_ANSIEscapeHelper::escapeCodesForString(
    std::optional<std::u16string_view> text, std::u16string* cleanString) const {
  if (!text) return std::nullopt;
  const std::u16string_view input = *text;
  std::vector<EscapeCodeRecord> records;
  // Texts no longer than the introducer are never scanned: "\x1b[" alone stays as it is.
  if (input.size() <= 2) {
    if (cleanString) cleanString->assign(input);
    return records;
  }

  std::u16string clean;
  clean.reserve(input.size());
  std::uint32_t sequence = 0;
  auto onText = [&](std::u16string_view piece) { clean.append(piece); };
  auto onCodes = [&](const std::vector<std::uint32_t>& values) {
    for (std::uint32_t value : values)
      records.push_back({value, clean.size(), sequence});
    ++sequence;
  };
  EscapeScanner scanner;
  scanner.scan(input, onText, onCodes);
  scanner.finish(onText, onCodes);

  if (cleanString) *cleanString = std::move(clean);
  return records;
}

}  // namespace pellimo::ansi
