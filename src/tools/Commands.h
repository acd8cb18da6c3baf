// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "tools/AnsiJson.h"
#include "tools/CommandLine.h"

namespace pellimo::tools {

/// The JSON report of the scanner and the run step, one line, for UTF-8 input; invalid byte
/// sequences are read as U+FFFD.
std::string parseCommand(std::string_view input, bool withFont);
/// The escaped text for a JSON document of text and runs; throws InputError for bad JSON.
std::string encodeCommand(std::u16string_view json);
/// The HTML page for escaped text.
std::string htmlCommand(std::u16string input, const HtmlOptions& options);

/// Runs the command the invocation names over the decoded standard input and returns what goes
/// to standard output. Help and version need no input and are the caller's.
std::string runCommand(const Invocation& invocation, std::u16string input);

}  // namespace pellimo::tools
