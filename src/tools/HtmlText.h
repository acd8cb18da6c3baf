// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pellimo::tools {

/// Appends UTF-16 text as UTF-8 HTML text: '<', '>' and '&' escaped, control characters
/// other than tab and line breaks left out, unpaired surrogates as U+FFFD.
void appendHtmlText(std::string& out, std::u16string_view text);

/// The most bytes that one unit of text becomes ("&amp;").
inline constexpr std::size_t kMostHtmlBytesPerUnit = 5;
/// Writes the text as `appendHtmlText` does to `to`, which has room for kMostHtmlBytesPerUnit
/// bytes per unit, and returns the end of what it wrote.
char* writeHtmlText(char* to, std::u16string_view text);
/// Room past the end of what the UTF-8 writer writes that it may fill with bytes of no meaning.
inline constexpr std::size_t kHtmlTextOverrun = 16;
/// The same for valid UTF-8, with kMostHtmlBytesPerUnit bytes of room per byte and
/// kHtmlTextOverrun more. `readable` bytes from the text's start may be read, however few of
/// them are the text's own: a short word with room to read past it is copied in one move.
char* writeHtmlText(char* to, std::string_view text, std::size_t readable);

}  // namespace pellimo::tools
