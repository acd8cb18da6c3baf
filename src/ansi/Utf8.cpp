// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/Utf8.h"

#include <cstring>

#include "ansi/Utf16Block.h"

namespace pellimo::ansi {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

std::u16string decodeUtf8(std::string_view bytes, std::size_t* invalidCount) {
  Utf8Decoder decoder;
  std::u16string out;
  decoder.decode(bytes, out);
  decoder.finish(out);
  if (invalidCount) *invalidCount = decoder.invalidCount();
  return out;
}

char* putUtf8(char* to, std::uint32_t cp) {
  if (cp < 0x80) {
    *to++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *to++ = static_cast<char>(0xC0 | (cp >> 6));
    *to++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *to++ = static_cast<char>(0xE0 | (cp >> 12));
    *to++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *to++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *to++ = static_cast<char>(0xF0 | (cp >> 18));
    *to++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *to++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *to++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return to;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(putUtf8(bytes, cp) - bytes));
}

std::string encodeUtf8(std::u16string_view text) {
  // Room for text that is mostly ASCII, grown as other characters need it; a unit gives at
  // most three bytes.
  std::string out(text.size() + 16, '\0');
  char* to = out.data();
  const char16_t* from = text.data();
  const char16_t* const end = from + text.size();
  while (from < end) {
    if (static_cast<std::size_t>(out.data() + out.size() - to) < 8) {
      const std::size_t used = static_cast<std::size_t>(to - out.data());
      out.resize(used + 3 * static_cast<std::size_t>(end - from) + 16);
      to = out.data() + used;
    }
    if (end - from >= 8) {
      Utf16Block units;
      std::memcpy(&units, from, sizeof units);
      if (!anyLane(units >= splat(0x80))) {
        const auto narrow = __builtin_convertvector(units, AsciiBlock);
        std::memcpy(to, &narrow, sizeof narrow);
        to += sizeof narrow, from += 8;
        continue;
      }
    }
    const char16_t unit = *from++;
    if (unit >= 0xD800 && unit <= 0xDBFF && from < end && *from >= 0xDC00 && *from <= 0xDFFF) {
      to = putUtf8(to, 0x10000 + ((unit - 0xD800u) << 10) + (*from++ - 0xDC00u));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      to = putUtf8(to, kReplacement);
    } else {
      to = putUtf8(to, unit);
    }
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
  return out;
}

}  // namespace pellimo::ansi
