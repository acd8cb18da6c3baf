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

using UnitBlock = std::uint16_t __attribute__((vector_size(32)));
using ansi::ByteBlock;
using ansi::splatByte;

bool allAscii(const UnitBlock& units) {
  std::uint64_t words[4];
  std::memcpy(words, &units, sizeof words);
  return ((words[0] | words[1] | words[2] | words[3]) & 0xFF80FF80FF80FF80u) == 0;
}

/// The lanes of bytes that need escaping or leaving out; bytes above ASCII belong to characters
/// that are copied as they are.
ByteBlock specialBytes(const ByteBlock& bytes) {
  return ((bytes < splatByte(0x20)) & (bytes != splatByte('\t')) & (bytes != splatByte('\n')) &
          (bytes != splatByte('\r'))) |
         (bytes == splatByte(0x7F)) | (bytes == splatByte('<')) | (bytes == splatByte('>')) |
         (bytes == splatByte('&'));
}

}  // namespace

char* writeHtmlText(char* to, std::u16string_view text) {
  const char16_t* from = text.data();
  const char16_t* const end = from + text.size();
  while (from < end) {
    if (end - from >= 16) {
      // Sixteen units of ASCII that need no escaping are the common case. Narrowed to bytes
      // first, they are checked in one register rather than two.
      UnitBlock units;
      std::memcpy(&units, from, sizeof units);
      if (allAscii(units)) {
        const auto bytes = __builtin_convertvector(units, ByteBlock);
        const ByteBlock special =
            (((bytes - splatByte(0x20)) >= splatByte(0x5F)) & (bytes != splatByte('\t')) &
             (bytes != splatByte('\n')) & (bytes != splatByte('\r'))) |
            (bytes == splatByte('<')) | (bytes == splatByte('>')) | (bytes == splatByte('&'));
        if (!ansi::anyLane(special)) {
          std::memcpy(to, &bytes, sizeof bytes);
          to += sizeof bytes;
          from += 16;
          continue;
        }
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

char* writeHtmlText(char* to, std::string_view text) {
  const char* from = text.data();
  const char* const end = from + text.size();
  auto putByte = [&to](std::uint8_t byte) {
    if (byte >= 0x80 || kAsciiKeep[byte]) {
      *to++ = static_cast<char>(byte);
    } else if (byte == '<') {
      std::memcpy(to, "&lt;", 4), to += 4;
    } else if (byte == '>') {
      std::memcpy(to, "&gt;", 4), to += 4;
    } else if (byte == '&') {
      std::memcpy(to, "&amp;", 5), to += 5;
    }
  };
  while (end - from >= 16) {
    // Blocks that need no escaping are the common case; two at a time share one test.
    if (end - from >= 32) {
      ByteBlock blocks[2];
      std::memcpy(blocks, from, sizeof blocks);
      if (!ansi::anyLane(specialBytes(blocks[0]) | specialBytes(blocks[1]))) {
        std::memcpy(to, blocks, sizeof blocks);
        to += sizeof blocks, from += sizeof blocks;
        continue;
      }
    }
    ByteBlock bytes;
    std::memcpy(&bytes, from, sizeof bytes);
    if (ansi::anyLane(specialBytes(bytes))) {
      putByte(static_cast<std::uint8_t>(*from++));
    } else {
      std::memcpy(to, &bytes, sizeof bytes);
      to += sizeof bytes, from += sizeof bytes;
    }
  }
  // Short pieces, between escape sequences, are the common case in escape-dense text.
  while (from < end)
    putByte(static_cast<std::uint8_t>(*from++));
  return to;
}

void appendHtmlText(std::string& out, std::u16string_view text) {
  const std::size_t at = out.size();
  out.resize(at + kMostHtmlBytesPerUnit * text.size());
  out.resize(static_cast<std::size_t>(writeHtmlText(out.data() + at, text) - out.data()));
}

}  // namespace pellimo::tools
