// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ansi/StyledText.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::tools {

/// Keys keep the order they are written in, so the output reads like the documentation.
using Json = nlohmann::ordered_json;

/// Receives the report in pieces of some tens of kilobytes as it is written.
using ReportOutput = std::function<void(std::string_view)>;

/// What the scanner and the run step saw: the clean text, the code records and the runs, as
/// one line of compact JSON.
void parseReport(std::u16string_view cleanText, const std::vector<ansi::EscapeCodeRecord>& codes,
                 const std::vector<ansi::AttributeRun>& runs, const ReportOutput& output);

/// Plain text with no attributes, then every run added in order. Throws InputError naming the
/// first part of the document that does not have the expected shape.
ansi::StyledText styledTextFromJson(const Json& document);

}  // namespace pellimo::tools
