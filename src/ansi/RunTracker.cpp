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
constexpr int kEndless = -1;
constexpr std::size_t kOpenEnd = std::numeric_limits<std::size_t>::max();

int familyOf(std::int32_t code) {
  if (code == kBold || code == kNormalIntensity) return 0;
  if (code == kUnderline || code == kDoubleUnderline) return 1;
  if (isForegroundColorCode(code)) return 2;
  if (isBackgroundColorCode(code)) return 3;
  return kEndless;
}

const AttributeValue kSingle{int{kUnderlineSingle}};
const AttributeValue kDouble{int{kUnderlineDouble}};
const AttributeValue kNone{int{kUnderlineNone}};

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

}  // namespace

RunTracker::RunTracker(const VXL_ANSIEscapeHelper& helper, bool collectRuns)
    : helper_(helper), collectRuns_(collectRuns) {
  for (std::int32_t code = 0; code < kTabledCodes; ++code)
    effects_[code] = computeEffect(code);
  if (auto bold = boldFont(helper.font())) boldFace_ = *bold;
  if (auto regular = nonBoldFont(helper.font())) regularFace_ = *regular;
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
  effect.family = static_cast<std::int8_t>(familyOf(code));
  return effect;
}

template <class Code>
void RunTracker::addSequence(std::span<const Code> codes, std::size_t location) {
  for (std::size_t i = 0; i < codes.size(); ++i) {
    auto code = static_cast<std::int32_t>(valueOf(codes[i]));
    std::optional<Color> extended;
    if (code == kForegroundExtended || code == kBackgroundExtended) {
      // The selection's parameters: at most four follow the 38 or 48.
      std::array<std::uint32_t, 5> parameters;
      const std::size_t count = std::min(codes.size() - i, parameters.size());
      for (std::size_t k = 0; k < count; ++k)
        parameters[k] = valueOf(codes[i + k]);
      if (auto selection = readExtendedColor(
              helper_, std::span<const std::uint32_t>(parameters.data(), count), 0)) {
        // A valid selection opens and ends runs as any colour of its ground does; the
        // parameters it consumed mean nothing of their own.
        code = code == kForegroundExtended ? kForegroundBlack : kBackgroundBlack;
        extended = selection->color;
        i += selection->consumed;
      }
    }

    const CodeEffect effect = effectOf(code);
    for (unsigned ends = effect.ends; ends != 0; ends &= ends - 1) {
      const auto f = static_cast<std::size_t>(std::countr_zero(ends));
      if (!familyRuns_[f]) continue;
      if (collectRuns_) {
        AttributeRun& run = runs_[familyRuns_[f]->runIndex];
        run.range.length = location - run.range.location;
      }
      if (listener_) listener_->runEnded(kFamilyAttributes[f], location);
      familyRuns_[f].reset();
      // What the family's run covered, an endless run of the attribute may still cover.
      current_[static_cast<std::size_t>(kFamilyAttributes[f])] = endlessValues_[f];
    }
    open(code, effect.family, extended, location);
  }
}

void RunTracker::open(std::int32_t code, int family, const std::optional<Color>& extended,
                      std::size_t location) {
  const AttributeValue* value = nullptr;
  Attribute name = Attribute::Font;
  switch (code) {
    case kBold:
      value = boldFace_ ? &*boldFace_ : nullptr;
      break;
    case kFaint:
    case kNormalIntensity:
      value = regularFace_ ? &*regularFace_ : nullptr;
      break;
    case kUnderline:
      name = Attribute::Underline, value = &kSingle;
      break;
    case kDoubleUnderline:
      name = Attribute::Underline, value = &kDouble;
      break;
    case kUnderlineOff:
      name = Attribute::Underline, value = &kNone;
      break;
    default:
      if (family == 2 || family == 3) {
        name = family == 2 ? Attribute::Foreground : Attribute::Background;
        if (extended) {
          AttributeValue& slot = extendedColors_[family - 2];
          slot = *extended;
          value = &slot;
        } else {
          value = &colorOf(code);
        }
      }
  }
  if (!value) return;
  const Open run{value, runs_.size()};
  current_[static_cast<std::size_t>(name)] = value;
  if (collectRuns_) runs_.push_back({name, *value, {location, kOpenEnd}});
  if (listener_) listener_->runOpened(name, *value, location, family != kEndless);
  if (family != kEndless) {
    familyRuns_[family] = run;
  } else {
    endlessValues_[name == Attribute::Font ? 0 : 1] = value;
  }
}

const AttributeValue& RunTracker::colorOf(std::int32_t code) {
  std::optional<AttributeValue>& color = colors_[code];
  if (!color) color = helper_.colorForSGRCode(code);
  return *color;
}

void RunTracker::finish(std::size_t cleanLength) {
  for (AttributeRun& run : runs_) {
    if (run.range.length == kOpenEnd) run.range.length = cleanLength - run.range.location;
  }
}

template void RunTracker::addSequence(std::span<const std::uint32_t>, std::size_t);
template void RunTracker::addSequence(std::span<const EscapeCodeRecord>, std::size_t);

}  // namespace pellimo::ansi
