// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "ansi/Utf16Block.h"
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
  // Gathered here and appended in large pieces: text often comes a few units at a time.
  char buffer[1024];
  std::size_t used = 0;
  const char16_t* from = text.data();
  const char16_t* const end = from + text.size();
  while (from < end) {
    if (used > sizeof buffer - 32) {
      out.append(buffer, used);
      used = 0;
    }
    if (end - from >= 16) {
      // Sixteen units of ASCII that need no escaping are the common case. The local copy tells
      // the compiler that `buffer` cannot overlap them, so it checks and narrows them together.
      ansi::Utf16Block chunk[2];
      std::memcpy(chunk, from, sizeof chunk);
      ansi::Utf16Block special{};
      for (const ansi::Utf16Block& units : chunk) {
        special |=
            ((units - 0x20) >= 0x5F) & (units != u'\t') & (units != u'\n') & (units != u'\r');
        special |= (units == u'<') | (units == u'>') | (units == u'&');
      }
      if (!ansi::anyLane(special)) {
        for (int k = 0; k < 2; ++k) {
          const auto narrow = __builtin_convertvector(chunk[k], ansi::AsciiBlock);
          std::memcpy(buffer + used + 8 * k, &narrow, sizeof narrow);
        }
        used += 16, from += 16;
        continue;
      }
    }
    // Short stretches: copy units that need no escaping while there is room for them.
    const char16_t* const stop = from + std::min<std::size_t>(end - from, sizeof buffer - 8 - used);
    while (from < stop && *from < 0x80 && kAsciiKeep[*from])
      buffer[used++] = static_cast<char>(*from++);
    if (from == stop) continue;
    const char16_t unit = *from++;
    if (unit < 0x80) {
      if (unit == u'<') {
        std::memcpy(buffer + used, "&lt;", 4), used += 4;
      } else if (unit == u'>') {
        std::memcpy(buffer + used, "&gt;", 4), used += 4;
      } else if (unit == u'&') {
        std::memcpy(buffer + used, "&amp;", 5), used += 5;
      }
      continue;
    }
    out.append(buffer, used);
    used = 0;
    if (unit >= 0xD800 && unit <= 0xDBFF && from < end && *from >= 0xDC00 && *from <= 0xDFFF) {
      ansi::appendUtf8(out, 0x10000 + ((unit - 0xD800u) << 10) + (*from++ - 0xDC00u));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      ansi::appendUtf8(out, 0xFFFD);
    } else {
      ansi::appendUtf8(out, unit);
    }
  }
  out.append(buffer, used);
}

}  // namespace pellimo::tools
