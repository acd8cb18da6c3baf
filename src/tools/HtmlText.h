// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace pellimo::tools {

/// Appends UTF-16 text as UTF-8 HTML text: '<', '>' and '&' escaped, control characters
/// other than tab and line breaks left out, unpaired surrogates as U+FFFD.
void appendHtmlText(std::string& out, std::u16string_view text);

}  // namespace pellimo::tools
