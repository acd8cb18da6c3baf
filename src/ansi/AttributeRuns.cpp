#include "ansi/RunTracker.h"
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

StyledText VXL_ANSIEscapeHelper::styledTextWithRuns(std::u16string cleanString,
                                                    const std::vector<AttributeRun>& runs) const {
  StyledText styled(std::move(cleanString));
  const Range whole{0, styled.length()};
  styled.addAttribute(Attribute::Font, font_.value_or(Font::system()), whole);
  styled.addAttribute(Attribute::Foreground, defaultStringColor_.value_or(Color::black()), whole);
  for (const AttributeRun& run : runs) {
    styled.addAttribute(run.attributeName, run.attributeValue, run.range);
  }
  return styled;
}

std::optional<StyledText> VXL_ANSIEscapeHelper::attributedStringWithANSIEscapedString(
    std::optional<std::u16string_view> text) const {
  std::u16string clean;
  auto runs = attributesForString(text, &clean);
  if (!runs) return std::nullopt;
  return styledTextWithRuns(std::move(clean), *runs);
}

}  // namespace pellimo::ansi
