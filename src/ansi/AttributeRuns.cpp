#include <array>

#include "ansi/ExtendedColor.h"
#include "ansi/SgrCodes.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

namespace {

/// Codes whose runs the same later codes end, one representative each. Finding every run's end
/// in one backward pass keeps the run step linear in the number of codes.
constexpr std::array<std::int32_t, 4> kEndFamilies = {kBold, kUnderline, kForegroundBlack,
                                                      kBackgroundBlack};
constexpr int kNoFamily = -1;

int endFamilyOf(std::int32_t code) {
  if (code == kBold || code == kNormalIntensity) return 0;
  if (code == kUnderline || code == kDoubleUnderline) return 1;
  if (isForegroundColorCode(code)) return 2;
  if (isBackgroundColorCode(code)) return 3;
  return kNoFamily;
}

/// What one record means once extended colour selections are read: the code it acts as for
/// opening and ending runs, the colour it sets if it is an extended selection, or nothing at
/// all if it is a parameter of one.
struct Meaning {
  std::int32_t code = kNoCode;
  std::optional<Color> extendedColor;
  bool consumed = false;
};

std::vector<Meaning> meaningsOf(const VXL_ANSIEscapeHelper& helper,
                                const std::vector<EscapeCodeRecord>& records) {
  std::vector<Meaning> meanings(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto code = static_cast<std::int32_t>(records[i].code);
    if (code == kForegroundExtended || code == kBackgroundExtended) {
      if (auto extended = readExtendedColor(helper, records, i)) {
        // A valid selection opens and ends runs as any colour of its ground does.
        meanings[i] = {code == kForegroundExtended ? kForegroundBlack : kBackgroundBlack,
                       extended->color, false};
        for (std::size_t k = 1; k <= extended->consumed; ++k)
          meanings[i + k].consumed = true;
        i += extended->consumed;
        continue;
      }
    }
    meanings[i].code = code;
  }
  return meanings;
}

struct Opened {
  Attribute name;
  std::optional<AttributeValue> value;
};

Opened attributeFor(const VXL_ANSIEscapeHelper& helper, const Meaning& meaning) {
  const std::int32_t code = meaning.code;
  auto fontValue = [](const std::optional<Font>& font) -> std::optional<AttributeValue> {
    if (!font) return std::nullopt;
    return AttributeValue{*font};
  };
  switch (code) {
    case kBold:
      return {Attribute::Font, fontValue(boldFont(helper.font()))};
    case kFaint:
    case kNormalIntensity:
      return {Attribute::Font, fontValue(nonBoldFont(helper.font()))};
    case kUnderline:
      return {Attribute::Underline, AttributeValue{int{kUnderlineSingle}}};
    case kDoubleUnderline:
      return {Attribute::Underline, AttributeValue{int{kUnderlineDouble}}};
    case kUnderlineOff:
      return {Attribute::Underline, AttributeValue{int{kUnderlineNone}}};
    default:
      break;
  }
  if (isForegroundColorCode(code) || isBackgroundColorCode(code)) {
    const Color color = meaning.extendedColor.value_or(helper.colorForSGRCode(code));
    return {isForegroundColorCode(code) ? Attribute::Foreground : Attribute::Background,
            AttributeValue{color}};
  }
  return {Attribute::Font, std::nullopt};
}

}  // namespace

std::vector<AttributeRun> VXL_ANSIEscapeHelper::attributesForCodes(
    const std::vector<EscapeCodeRecord>& codes, std::size_t cleanLength) const {
  const std::vector<Meaning> meanings = meaningsOf(*this, codes);

  // Backward pass: for every record, where the first later record that ends it stands.
  std::array<std::size_t, kEndFamilies.size()> nextEnd;
  nextEnd.fill(cleanLength);
  std::vector<std::size_t> ends(codes.size(), cleanLength);
  for (std::size_t i = codes.size(); i-- > 0;) {
    if (meanings[i].consumed) continue;
    const int family = endFamilyOf(meanings[i].code);
    if (family != kNoFamily) ends[i] = nextEnd[family];
    for (std::size_t f = 0; f < kEndFamilies.size(); ++f) {
      if (VXL_SGRCodeEndsFormattingIntroducedByCode(meanings[i].code, kEndFamilies[f])) {
        nextEnd[f] = codes[i].location;
      }
    }
  }

  std::vector<AttributeRun> runs;
  runs.reserve(codes.size());
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (meanings[i].consumed) continue;
    const Opened opened = attributeFor(*this, meanings[i]);
    if (!opened.value) continue;
    const std::size_t location = codes[i].location;
    runs.push_back({opened.name, *opened.value, {location, ends[i] - location}});
  }
  return runs;
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
