// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/Utf8.h"

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
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((unit - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      appendUtf8(out, kReplacement);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace pellimo::ansi
