// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ansi/Utf8Decoder.h"

namespace pellimo::ansi {

/// Decodes complete UTF-8 text; `invalidCount` (if given) receives the number of replacements.
std::u16string decodeUtf8(std::string_view bytes, std::size_t* invalidCount = nullptr);
/// Encodes UTF-16 as UTF-8; unpaired surrogates become U+FFFD.
std::string encodeUtf8(std::u16string_view text);
/// Appends one code point's UTF-8 form.
void appendUtf8(std::string& out, std::uint32_t codePoint);
/// Writes one code point's UTF-8 form (at most four bytes) and returns the end of it.
char* putUtf8(char* to, std::uint32_t codePoint);

}  // namespace pellimo::ansi
