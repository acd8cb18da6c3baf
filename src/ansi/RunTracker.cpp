// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/RunTracker.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "ansi/ExtendedColor.h"
#include "ansi/SgrCodes.h"

namespace pellimo::ansi {

namespace {

/// One opening code per family: a later code ends a family's run exactly when it ends the
/// run of this code.
constexpr std::array<std::int32_t, 4> kFamilyOpeners = {kBold, kUnderline, kForegroundBlack,
                                                        kBackgroundBlack};
constexpr std::array<Attribute, 4> kFamilyAttributes = {
    Attribute::Font, Attribute::Underline, Attribute::Foreground, Attribute::Background};
constexpr std::size_t kOpenEnd = std::numeric_limits<std::size_t>::max();

int familyOf(std::int32_t code) {
  if (code == kBold || code == kNormalIntensity) return 0;
  if (code == kUnderline || code == kDoubleUnderline) return 1;
  if (isForegroundColorCode(code)) return 2;
  if (isBackgroundColorCode(code)) return 3;
  return -1;
}

const AttributeValue kSingle{int{kUnderlineSingle}};
const AttributeValue kDouble{int{kUnderlineDouble}};
const AttributeValue kNone{int{kUnderlineNone}};
/// Stands for the colour of a code not yet met, so that meeting a code costs one comparison.
const AttributeValue kUnmetColor{Color{}};

std::uint32_t valueOf(std::uint32_t code) {
  return code;
}
std::uint32_t valueOf(const EscapeCodeRecord& record) {
  return record.code;
}

bool endsFamily(std::int32_t code, std::size_t family) {
  return VXL_ANSIEscapeHelper::VXL_SGRCodeEndsFormattingIntroducedByCode(code,
                                                                         kFamilyOpeners[family]);
}

std::uint8_t indexOf(Attribute name) {
  return static_cast<std::uint8_t>(name);
}

}  // namespace

RunTracker::RunTracker(const VXL_ANSIEscapeHelper& helper, bool collectRuns)
    : helper_(helper), collectRuns_(collectRuns) {
  if (auto bold = boldFont(helper.font())) boldFace_ = *bold;
  if (auto regular = nonBoldFont(helper.font())) regularFace_ = *regular;
  for (std::int32_t code = 0; code < kTabledCodes; ++code)
    effects_[code] = computeEffect(code);
  // The codes whose values are known now; without a font, the intensity codes open nothing.
  auto opens = [this](std::int32_t code, Attribute name, const AttributeValue* value) {
    if (!value) return;
    values_[code] = value;
    effects_[code].attribute = indexOf(name);
    if (effects_[code].family == kNowhere) {
      effects_[code].endless = name == Attribute::Font ? 0 : 1;
    }
  };
  opens(kBold, Attribute::Font, boldFace_ ? &*boldFace_ : nullptr);
  opens(kFaint, Attribute::Font, regularFace_ ? &*regularFace_ : nullptr);
  opens(kNormalIntensity, Attribute::Font, regularFace_ ? &*regularFace_ : nullptr);
  opens(kUnderline, Attribute::Underline, &kSingle);
  opens(kDoubleUnderline, Attribute::Underline, &kDouble);
  opens(kUnderlineOff, Attribute::Underline, &kNone);
  for (std::int32_t code = 0; code < kTabledCodes; ++code) {
    CodeEffect& effect = effects_[code];
    if (effect.family == 2 || effect.family == 3) {
      effect.attribute = indexOf(kFamilyAttributes[effect.family]);
      values_[code] = &kUnmetColor;
    } else if (effect.attribute == kNowhere) {
      effect.family = kNowhere;
    }
  }
}

RunTracker::RunTracker(const VXL_ANSIEscapeHelper& helper, RunListener& listener)
    : RunTracker(helper, false) {
  listener_ = &listener;
}

RunTracker::CodeEffect RunTracker::computeEffect(std::int32_t code) {
  CodeEffect effect;
  for (std::size_t f = 0; f < kFamilies; ++f) {
    if (endsFamily(code, f)) effect.ends |= static_cast<std::uint8_t>(1u << f);
  }
  const int family = familyOf(code);
  if (family >= 0) effect.family = static_cast<std::uint8_t>(family);
  return effect;
}

template <class Code>
void RunTracker::addSequence(std::span<const Code> codes, std::size_t location) {
  // Decided once per sequence rather than per code.
  if (listener_) {
    addCodes<Keeping::Told>(codes, location);
  } else if (collectRuns_) {
    addCodes<Keeping::Listed>(codes, location);
  } else {
    addCodes<Keeping::Nothing>(codes, location);
  }
}

template <RunTracker::Keeping kKeeping, class Code>
void RunTracker::addCodes(std::span<const Code> codes, std::size_t location) {
  for (std::size_t i = 0; i < codes.size(); ++i) {
    auto code = static_cast<std::int32_t>(valueOf(codes[i]));
    const AttributeValue* extended = nullptr;
    if (code == kForegroundExtended || code == kBackgroundExtended) {
      // A valid selection opens and ends runs as any colour of its ground does; the
      // parameters it consumes mean nothing of their own. An invalid one leaves the 38 or 48
      // as it is.
      const bool foreground = code == kForegroundExtended;
      const std::size_t following = codes.size() - i - 1;
      auto parameter = [&](std::size_t offset) { return valueOf(codes[i + offset]); };
      const std::uint32_t selector = following >= 1 ? parameter(1) : 0;
      if (selector == kPaletteSelector && following >= 2 && parameter(2) <= kMaxSelected) {
        extended = paletteValue(parameter(2), foreground);
        i += 2;
      } else if (selector == kTrueColorSelector && following >= 4 && parameter(2) <= kMaxSelected &&
                 parameter(3) <= kMaxSelected && parameter(4) <= kMaxSelected) {
        AttributeValue& slot = extendedColors_[foreground ? 0 : 1];
        slot = trueColor(parameter(2), parameter(3), parameter(4));
        extended = &slot;
        i += 4;
      }
      if (extended) code = foreground ? kForegroundBlack : kBackgroundBlack;
    }
    // Codes past the table end nothing and open nothing.
    if (static_cast<std::uint32_t>(code) >= kTabledCodes) continue;

    const CodeEffect effect = effects_[code];
    if constexpr (kKeeping == Keeping::Listed) {
      for (unsigned ends = effect.ends & openFamilies_; ends != 0; ends &= ends - 1) {
        AttributeRun& run = runs_[familyRuns_[std::countr_zero(ends)]];
        run.range.length = location - run.range.location;
      }
    }
    if constexpr (kKeeping == Keeping::Told) {
      for (unsigned ends = effect.ends & openFamilies_; ends != 0; ends &= ends - 1)
        listener_->runEnded(kFamilyAttributes[std::countr_zero(ends)], location);
    }
    const AttributeValue* value = extended ? extended : values_[code];
    if (value == &kUnmetColor) [[unlikely]]
      value = colorOf(code);
    openFamilies_ = (openFamilies_ & ~effect.ends) | ((1u << effect.family) & 0xFu);
    latestValues_[effect.family][1] = value;
    latestValues_[effect.endless][0] = value;
    if constexpr (kKeeping == Keeping::Listed) {
      if (effect.attribute != kNowhere) {
        if (effect.family != kNowhere) familyRuns_[effect.family] = runs_.size();
        runs_.push_back({static_cast<Attribute>(effect.attribute), *value, {location, kOpenEnd}});
      }
    }
    if constexpr (kKeeping == Keeping::Told) {
      if (effect.attribute != kNowhere) {
        listener_->runOpened(static_cast<Attribute>(effect.attribute), *value, location,
                             effect.family != kNowhere);
      }
    }
  }
}

const AttributeValue* RunTracker::colorOf(std::int32_t code) {
  std::optional<AttributeValue>& color = colors_[code];
  color = helper_.colorForSGRCode(code);
  values_[code] = &*color;
  return values_[code];
}

const AttributeValue* RunTracker::paletteValue(std::uint32_t n, bool foreground) {
  if (n < kFirstFixedPaletteColor) {
    const std::int32_t code = paletteCode(n, foreground);
    const AttributeValue* value = values_[code];
    return value == &kUnmetColor ? colorOf(code) : value;
  }
  if (!fixedPalette_) fixedPalette_ = std::make_unique<decltype(fixedPalette_)::element_type>();
  std::optional<AttributeValue>& color = (*fixedPalette_)[n - kFirstFixedPaletteColor];
  if (!color) color = fixedPaletteColor(n);
  return &*color;
}

void RunTracker::finish(std::size_t cleanLength) {
  for (AttributeRun& run : runs_) {
    if (run.range.length == kOpenEnd) run.range.length = cleanLength - run.range.location;
  }
}

template void RunTracker::addSequence(std::span<const std::uint32_t>, std::size_t);
template void RunTracker::addSequence(std::span<const EscapeCodeRecord>, std::size_t);

}  // namespace pellimo::ansi
