// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/StyledTextStream.h"

namespace pellimo::ansi {

namespace {

/// An empty text with room for `units`, which it keeps.
std::shared_ptr<StyledText> emptyText(std::size_t units) {
  std::u16string room;
  room.reserve(units);
  return std::make_shared<StyledText>(std::move(room));
}

}  // namespace

StyledTextStream::StyledTextStream(const VXL_ANSIEscapeHelper& helper,
                                   std::optional<Font> overlayFont,
                                   EscapedTextReader::ClearScreen onClearScreen,
                                   std::size_t reservedUnits)
    : styled_(emptyText(reservedUnits)),
      reader_(
          helper, std::move(overlayFont),
          [styled = styled_.get()](std::u16string_view text,
                                   const StyledText::Attributes& attributes) {
            styled->append(text, attributes);
          },
          std::move(onClearScreen)) {}

}  // namespace pellimo::ansi
