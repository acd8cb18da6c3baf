// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ansi/Font.h"

namespace pellimo::ansi {

/// A code to insert into clean text; a record lacking either field is skipped.
struct CodeInsertion {
  std::optional<std::int32_t> code;
  std::optional<std::size_t> location;
};

/// The clean text with an SGR sequence for each insertion, in location order (records at one
/// location keep their order), ending with a reset. Locations past the end are skipped.
std::u16string insertSgrSequences(const std::vector<CodeInsertion>& codes,
                                  std::u16string_view cleanString);

/// Bold for a bold font, else normal intensity (also for no font).
std::int32_t sgrCodeForFont(const std::optional<Font>& font);
/// Single or double underline, else underline off.
std::int32_t sgrCodeForUnderline(const std::optional<int>& style);

}  // namespace pellimo::ansi
