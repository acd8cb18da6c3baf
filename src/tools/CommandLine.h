// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "tools/HtmlOptions.h"

namespace pellimo::tools {

enum class Command { Help, Version, Parse, Encode, Html };

/// What the command line asks for.
struct Invocation {
  Command command = Command::Help;
  bool withFont = false;  // parse --font
  HtmlOptions html;
};

/// Reads the arguments that follow the program name; throws UsageError for anything it does not
/// know. --help anywhere wins, so that "pellimo-ansi html --help" helps.
Invocation parseCommandLine(const std::vector<std::string_view>& args);

/// The text --help prints.
std::string_view usageText();

}  // namespace pellimo::tools
