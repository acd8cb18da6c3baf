// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/VXL_ANSIEscapeHelper.h"

#include <array>

#include "ansi/EscapeScanner.h"
#include "ansi/RunTracker.h"
#include "ansi/SgrCodes.h"
#include "ansi/StyledTextStream.h"

namespace pellimo::ansi {

namespace {

bool isForegroundKey(std::int32_t code) {
  return code < 40 || (code >= 90 && code <= 97);
}

}  // namespace

VXL_ANSIEscapeHelper::VXL_ANSIEscapeHelper() : ansiColors_(std::make_shared<ColorTable>()) {}

Color VXL_ANSIEscapeHelper::colorForSGRCode(std::int32_t code) const {
  if (ansiColors_) {
    if (auto found = ansiColors_->find(code); found != ansiColors_->end()) return found->second;
  }
  return standardColorForSGRCode(code);
}

bool VXL_ANSIEscapeHelper::VXL_SGRCodeEndsFormattingIntroducedByCode(
    std::int32_t code, std::int32_t introducedByCode) {
  const std::int32_t s = introducedByCode;
  const std::int32_t e = code;
  if (s == kBold || s == kNormalIntensity) {
    return e == kReset || e == kBold || e == kFaint || e == kNormalIntensity;
  }
  if (s == kUnderline || s == kDoubleUnderline) {
    return e == kReset || e == kUnderline || e == kDoubleUnderline || e == kUnderlineOff;
  }
  if (isForegroundColorCode(s)) {
    return e == kReset || e == kDefaultForeground || isForegroundColorCode(e);
  }
  if (isBackgroundColorCode(s)) {
    return e == kReset || e == kDefaultBackground || isBackgroundColorCode(e);
  }
  return false;
}

std::optional<std::vector<EscapeCodeRecord>> VXL_ANSIEscapeHelper::escapeCodesForString(
    std::optional<std::u16string_view> text, std::u16string* cleanString) const {
  if (!text) return std::nullopt;
  const std::u16string_view input = *text;
  std::vector<EscapeCodeRecord> records;
  std::u16string clean;
  clean.reserve(input.size());
  std::uint32_t sequence = 0;
  auto onText = [&](std::u16string_view piece) { clean.append(piece); };
  auto onCodes = [&](std::span<const std::uint32_t> values) {
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

std::vector<AttributeRun> VXL_ANSIEscapeHelper::attributesForCodes(
    const std::vector<EscapeCodeRecord>& codes, std::size_t cleanLength) const {
  RunTracker tracker(*this, true);
  const std::span<const EscapeCodeRecord> all(codes);
  std::size_t begin = 0;
  for (std::size_t i = 1; i <= all.size(); ++i) {
    if (i == all.size() || all[i].sequence != all[begin].sequence ||
        all[i].location != all[begin].location) {
      tracker.addSequence(all.subspan(begin, i - begin), all[begin].location);
      begin = i;
    }
  }
  tracker.finish(cleanLength);
  return std::move(tracker.runs());
}

std::u16string VXL_ANSIEscapeHelper::ansiEscapedStringWithAttributedString(
    const std::optional<StyledText>& attributedString) const {
  if (!attributedString) return insertSgrSequences({}, u"");
  const StyledText& styled = *attributedString;
  const Range whole{0, styled.length()};
  std::vector<CodeInsertion> codes;
  auto record = [&](std::int32_t code, std::size_t location) {
    if (code != kNoCode) codes.push_back({code, location});
  };

  styled.fonts().forEach(
      whole, [&](const auto& span) { record(sgrCodeForFont(span.value), span.range.location); });
  styled.foregrounds().forEach(whole, [&](const auto& span) {
    record(span.value ? closestSGRCodeForColor(span.value, true) : kDefaultForeground,
           span.range.location);
  });
  styled.backgrounds().forEach(whole, [&](const auto& span) {
    record(span.value ? closestSGRCodeForColor(span.value, false) : kDefaultBackground,
           span.range.location);
  });
  styled.underlines().forEach(whole, [&](const auto& span) {
    record(sgrCodeForUnderline(span.value), span.range.location);
  });
  return insertSgrSequences(codes, styled.string());
}

std::u16string VXL_ANSIEscapeHelper::ansiEscapedStringWithCodesAndLocations(
    const std::vector<CodeInsertion>& codes, std::u16string_view cleanString) {
  return insertSgrSequences(codes, cleanString);
}

std::int32_t VXL_ANSIEscapeHelper::VXL_SGRCodeForColor(const Color& color,
                                                       bool isForegroundColor) const {
  if (ansiColors_) {
    for (const auto& [code, overridden] : *ansiColors_) {
      if (overridden == color && isForegroundKey(code) == isForegroundColor) return code;
    }
  }
  const std::int32_t shift = isForegroundColor ? 0 : kBackgroundShift;
  for (std::int32_t code : kStandardForegroundCodes) {
    if (standardColorForSGRCode(code) == color) return code + shift;
  }
  return kNoCode;
}

std::int32_t VXL_ANSIEscapeHelper::closestSGRCodeForColor(const std::optional<Color>& color,
                                                          bool isForegroundColor) const {
  if (!color) return kNoCode;
  if (const std::int32_t exact = VXL_SGRCodeForColor(*color, isForegroundColor); exact != kNoCode) {
    return exact;
  }
  const std::int32_t shift = isForegroundColor ? 0 : kBackgroundShift;
  std::array<CodeColor, kStandardForegroundCodes.size()> candidates{};
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const std::int32_t code = kStandardForegroundCodes[i] + shift;
    candidates[i] = {code, colorForSGRCode(code)};
  }
  return closestCode(*color, candidates, shift);
}

}  // namespace pellimo::ansi
