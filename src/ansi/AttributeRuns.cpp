#include "ansi/RunTracker.h"
#include "ansi/StyledTextStream.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

std::vector<AttributeRun> VXL_ANSIEscapeHelper::attributesForCodes(
    const std::vector<EscapeCodeRecord>& codes, std::size_t cleanLength) const {
  RunTracker tracker(*this, true);
  const std::span<const EscapeCodeRecord> all(codes);
  std::size_t begin = 0;
  for (std::size_t i = 1; i <= all.size(); ++i) {
    if (i == all.size() || all[i].sequence != all[begin].sequence ||
        all[i].location != all[begin].location) {
      tracker.addSequence(all.subspan(begin, i - begin));
      begin = i;
    }
  }
  tracker.finish(cleanLength);
  return std::move(tracker.runs());
}

std::optional<std::vector<AttributeRun>> VXL_ANSIEscapeHelper::attributesForString(
    std::optional<std::u16string_view> text, std::u16string* cleanString) const {
  std::u16string clean;
  auto codes = escapeCodesForString(text, &clean);
  if (!codes) return std::nullopt;
  auto runs = attributesForCodes(*codes, clean.size());
  if (cleanString) *cleanString = std::move(clean);
  return runs;
}

std::optional<StyledText> VXL_ANSIEscapeHelper::attributedStringWithANSIEscapedString(
    std::optional<std::u16string_view> text) const {
  if (!text) return std::nullopt;
  StyledTextStream stream(*this, std::nullopt);
  stream.append(*text);
  stream.finish();
  return std::move(*stream.styledText());
}

}  // namespace pellimo::ansi
