// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlText.h"

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

char* writeHtmlText(char* to, std::u16string_view text) {
  const char16_t* from = text.data();
  const char16_t* const end = from + text.size();
  while (from < end) {
    if (end - from >= 16) {
      // Sixteen units of ASCII that need no escaping are the common case.
      ansi::Utf16Block chunk[2];
      std::memcpy(chunk, from, sizeof chunk);
      using ansi::splat;
      ansi::Utf16Mask special{};
      for (const ansi::Utf16Block& units : chunk) {
        special |= ((units - splat(0x20)) >= splat(0x5F)) & (units != splat(u'\t')) &
                   (units != splat(u'\n')) & (units != splat(u'\r'));
        special |= (units == splat(u'<')) | (units == splat(u'>')) | (units == splat(u'&'));
      }
      if (!ansi::anyLane(special)) {
        for (const ansi::Utf16Block& units : chunk) {
          const auto narrow = __builtin_convertvector(units, ansi::AsciiBlock);
          std::memcpy(to, &narrow, sizeof narrow);
          to += sizeof narrow;
        }
        from += 16;
        continue;
      }
    }
    // Short stretches: copy the units that need no escaping one by one.
    while (from < end && *from < 0x80 && kAsciiKeep[*from])
      *to++ = static_cast<char>(*from++);
    if (from == end) break;
    const char16_t unit = *from++;
    if (unit < 0x80) {
      if (unit == u'<') {
        std::memcpy(to, "&lt;", 4), to += 4;
      } else if (unit == u'>') {
        std::memcpy(to, "&gt;", 4), to += 4;
      } else if (unit == u'&') {
        std::memcpy(to, "&amp;", 5), to += 5;
      }
    } else if (unit >= 0xD800 && unit <= 0xDBFF && from < end && *from >= 0xDC00 &&
               *from <= 0xDFFF) {
      to = ansi::putUtf8(to, 0x10000 + ((unit - 0xD800u) << 10) + (*from++ - 0xDC00u));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      to = ansi::putUtf8(to, 0xFFFD);
    } else {
      to = ansi::putUtf8(to, unit);
    }
  }
  return to;
}

void appendHtmlText(std::string& out, std::u16string_view text) {
  const std::size_t at = out.size();
  out.resize(at + kMostHtmlBytesPerUnit * text.size());
  out.resize(static_cast<std::size_t>(writeHtmlText(out.data() + at, text) - out.data()));
}

}  // namespace pellimo::tools
