// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlText.h"

#include <array>
#include <cstdint>

#include "ansi/Utf8.h"

namespace pellimo::tools {

namespace {

/// 1 copies the ASCII unit as it is, 0 drops it; '<', '>' and '&' are handled apart.
constexpr std::array<std::uint8_t, 128> kAsciiKeep = [] {
  std::array<std::uint8_t, 128> keep{};
  for (int c = 0x20; c < 0x7F; ++c)
    keep[c] = 1;
  keep['\t'] = keep['\n'] = keep['\r'] = 1;
  keep['<'] = keep['>'] = keep['&'] = 0;
  return keep;
}();

}  // namespace

void appendHtmlText(std::string& out, std::u16string_view text) {
  const std::size_t to = text.size();
  std::size_t i = 0;
  while (i < to) {
    // Copy a stretch of ASCII that needs no escaping in one go.
    std::size_t end = i;
    while (end < to && text[end] < 0x80 && kAsciiKeep[text[end]])
      ++end;
    if (end > i) {
      const std::size_t at = out.size();
      out.resize(at + (end - i));
      for (std::size_t k = 0; k < end - i; ++k)
        out[at + k] = static_cast<char>(text[i + k]);
      i = end;
      continue;
    }
    const char16_t unit = text[i++];
    if (unit < 0x80) {
      if (kAsciiKeep[unit]) {
        out.push_back(static_cast<char>(unit));
      } else if (unit == u'<') {
        out.append("&lt;");
      } else if (unit == u'>') {
        out.append("&gt;");
      } else if (unit == u'&') {
        out.append("&amp;");
      }
    } else if (unit >= 0xD800 && unit <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 &&
               text[i] <= 0xDFFF) {
      ansi::appendUtf8(out, 0x10000 + ((unit - 0xD800u) << 10) + (text[i++] - 0xDC00u));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      ansi::appendUtf8(out, 0xFFFD);
    } else {
      ansi::appendUtf8(out, unit);
    }
  }
}

}  // namespace pellimo::tools
