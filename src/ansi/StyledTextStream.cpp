// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/StyledTextStream.h"

namespace pellimo::ansi {

StyledTextStream::StyledTextStream(const VXL_ANSIEscapeHelper& helper,
                                   std::optional<Font> overlayFont,
                                   EscapedTextReader::ClearScreen onClearScreen)
    : reader_(
          helper, std::move(overlayFont),
          [styled = styled_.get()](std::u16string_view text,
                                   const StyledText::Attributes& attributes) {
            styled->append(text, attributes);
          },
          std::move(onClearScreen)) {}

}  // namespace pellimo::ansi
