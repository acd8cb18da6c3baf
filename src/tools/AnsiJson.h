// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "ansi/StyledText.h"

namespace pellimo::tools {

/// Keys keep the order they are written in, so the output reads like the documentation.
using Json = nlohmann::ordered_json;

/// The name of an attribute in the documents the tool reads and writes.
std::string_view attributeName(ansi::Attribute attribute);

/// Plain text with no attributes, then every run added in order. Throws InputError naming the
/// first part of the document that does not have the expected shape.
ansi::StyledText styledTextFromJson(const Json& document);

}  // namespace pellimo::tools
