// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/Utf8Decoder.h"

#include <algorithm>

namespace pellimo::ansi {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void appendCodePoint(std::u16string& out, std::uint32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

}  // namespace

void Utf8Decoder::replace(std::u16string& out) {
  out.push_back(kReplacement);
  ++invalidCount_;
}

void Utf8Decoder::decode(std::string_view bytes, std::u16string& out) {
  // Room for the worst case up front, growing geometrically so that many small pieces
  // appended to one string do not reallocate each time.
  if (out.capacity() < out.size() + bytes.size()) {
    out.reserve(std::max(out.size() + bytes.size(), 2 * out.capacity()));
  }
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (needed_ > 0) {
      if ((byte & 0xC0) != 0x80) {
        // The sequence broke off: its bytes so far are one invalid unit; reread this byte.
        needed_ = 0;
        replace(out);
        continue;
      }
      partial_ = (partial_ << 6) | (byte & 0x3F);
      ++i;
      if (--needed_ == 0) {
        if (partial_ < lowerBound_ || partial_ > 0x10FFFF ||
            (partial_ >= 0xD800 && partial_ <= 0xDFFF)) {
          replace(out);
        } else {
          appendCodePoint(out, partial_);
        }
      }
      continue;
    }
    if (byte < 0x80) {
      // Plain ASCII runs are the common case: copy them without per-byte branching on state.
      std::size_t j = i;
      while (j < n && static_cast<std::uint8_t>(bytes[j]) < 0x80)
        ++j;
      const std::size_t at = out.size();
      out.resize(at + (j - i));
      for (std::size_t k = 0; k < j - i; ++k)
        out[at + k] = static_cast<char16_t>(bytes[i + k]);
      i = j;
      continue;
    }
    ++i;
    if (byte >= 0xC2 && byte <= 0xDF) {
      partial_ = byte & 0x1F, needed_ = 1, lowerBound_ = 0x80;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      partial_ = byte & 0x0F, needed_ = 2, lowerBound_ = 0x800;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      partial_ = byte & 0x07, needed_ = 3, lowerBound_ = 0x10000;
    } else {
      replace(out);
    }
  }
}

void Utf8Decoder::finish(std::u16string& out) {
  if (needed_ > 0) {
    needed_ = 0;
    replace(out);
  }
}

}  // namespace pellimo::ansi
