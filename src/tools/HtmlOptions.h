// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "tools/CssColor.h"

namespace pellimo::tools {

/// The page around the text; the defaults give a dark terminal look.
struct HtmlOptions {
  std::string title = "pellimo-ansi";
  CssColor foreground{0xd0d0d0};
  CssColor background{0x1e1e1e};
};

}  // namespace pellimo::tools
