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
/// that are copied as they are. `| 4` meets tab and carriage return in one comparison, `| 2` '<'
/// and '>': plain text is mostly this test.
ByteBlock specialBytes(const ByteBlock& bytes) {
  const auto lineSpace = ((bytes | splatByte(4)) == splatByte('\r')) | (bytes == splatByte('\n'));
  return ((bytes < splatByte(0x20)) & ~lineSpace) | ((bytes | splatByte(2)) == splatByte('>')) |
         (bytes == splatByte('&')) | (bytes == splatByte(0x7F));
}

/// What a byte of UTF-8 becomes: itself, an entity or nothing. Written whole and then counted,
/// so that a byte costs no branch.
struct ByteHtml {
  char text[7] = {};
  std::uint8_t size = 0;
};
constexpr std::array<ByteHtml, 256> kByteHtml = [] {
  std::array<ByteHtml, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    if (byte >= 0x80 || kAsciiKeep[byte]) table[byte] = {{static_cast<char>(byte)}, 1};
  }
  table['<'] = {{'&', 'l', 't', ';'}, 4};
  table['>'] = {{'&', 'g', 't', ';'}, 4};
  table['&'] = {{'&', 'a', 'm', 'p', ';'}, 5};
  return table;
}();

constexpr ByteBlock kLaneNumbers = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr std::size_t kShortestBlockWord = 6;

char* putBytes(char* to, const char* from, const char* end) {
  for (; from < end; ++from) {
    const ByteHtml& html = kByteHtml[static_cast<std::uint8_t>(*from)];
    std::memcpy(to, &html, sizeof html);
    to += html.size;
  }
  return to;
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

char* writeHtmlText(char* to, std::string_view text, std::size_t readable) {
  const char* from = text.data();
  const char* const end = from + text.size();
  // Words between escape sequences, such as file names: one block, its lanes past the word
  // left out of the test and written over by what follows. Shorter text, such as one
  // character between two sequences, costs less byte by byte.
  if (text.size() >= kShortestBlockWord && text.size() < sizeof(ByteBlock) &&
      readable >= sizeof(ByteBlock)) {
    ByteBlock block;
    std::memcpy(&block, from, sizeof block);
    const auto wordLanes = kLaneNumbers < splatByte(static_cast<char>(text.size()));
    if (ansi::anyLane(specialBytes(block) & wordLanes)) return putBytes(to, from, end);
    std::memcpy(to, &block, sizeof block);
    return to + text.size();
  }
  for (; end - from >= 32; from += 32) {
    // Blocks that need no escaping are the common case; two at a time share one test.
    ByteBlock blocks[2];
    std::memcpy(blocks, from, sizeof blocks);
    if (ansi::anyLane(specialBytes(blocks[0]) | specialBytes(blocks[1]))) {
      to = putBytes(to, from, from + 32);
    } else {
      std::memcpy(to, blocks, sizeof blocks);
      to += sizeof blocks;
    }
  }
  if (end - from >= 16) {
    ByteBlock block;
    std::memcpy(&block, from, sizeof block);
    if (ansi::anyLane(specialBytes(block))) {
      to = putBytes(to, from, from + 16);
    } else {
      std::memcpy(to, &block, sizeof block);
      to += sizeof block;
    }
    from += 16;
  }
  // Short pieces, between escape sequences, are the common case in escape-dense text.
  return putBytes(to, from, end);
}

void appendHtmlText(std::string& out, std::u16string_view text) {
  const std::size_t at = out.size();
  out.resize(at + kMostHtmlBytesPerUnit * text.size());
  out.resize(static_cast<std::size_t>(writeHtmlText(out.data() + at, text) - out.data()));
}

}  // namespace pellimo::tools
