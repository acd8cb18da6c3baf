// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "tools/HtmlOptions.h"

namespace pellimo::tools {

/// The whole page for text with ANSI escape sequences.
std::string renderHtml(std::u16string_view escapedText, const HtmlOptions& options);

}  // namespace pellimo::tools
