#include "ansi/VXL_ANSIEscapeHelper.h"

#include "ansi/SgrCodes.h"

namespace pellimo::ansi {

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

}  // namespace pellimo::ansi
