// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/Utf8Decoder.h"

#include <algorithm>
#include <cstring>

#include "ansi/Utf8.h"

namespace pellimo::ansi {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

char16_t* putCodePoint(char16_t* out, std::uint32_t cp) {
  if (cp < 0x10000) {
    *out++ = static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
  return out;
}

char* putCodePoint(char* out, std::uint32_t cp) {
  return putUtf8(out, cp);
}

}  // namespace

void Utf8Decoder::decode(std::string_view bytes, std::u16string& out) {
  // Room for the worst case up front, growing geometrically so that many small pieces
  // appended to one string do not reallocate each time.
  const std::size_t start = out.size();
  const std::size_t worst = start + mostUnitsFor(bytes.size());
  if (out.capacity() < worst) out.reserve(std::max(worst, 2 * out.capacity()));
  out.resize(worst);
  char16_t* const to = decode(bytes, out.data() + start);
  out.resize(static_cast<std::size_t>(to - out.data()));
}

char16_t* Utf8Decoder::decode(std::string_view bytes, char16_t* to) {
  return decodeInto(bytes, to);
}

char* Utf8Decoder::decode(std::string_view bytes, char* to) {
  return decodeInto(bytes, to);
}

template <class Unit>
Unit* Utf8Decoder::decodeInto(std::string_view bytes, Unit* to) {
  const char* from = bytes.data();
  const char* const end = from + bytes.size();
  while (from < end) {
    if (needed_ == 0) {
      // Plain ASCII is the common case: sixteen bytes at a time while they all are. The local
      // copy tells the compiler that `to` cannot overlap them, so it widens them together.
      while (end - from >= 16) {
        std::uint8_t chunk[16];
        std::memcpy(chunk, from, sizeof chunk);
        std::uint64_t words[2];
        std::memcpy(words, chunk, sizeof words);
        if ((words[0] | words[1]) & kHighBits) break;
        for (int k = 0; k < 16; ++k)
          to[k] = static_cast<Unit>(chunk[k]);
        to += 16, from += 16;
      }
      while (from < end && static_cast<std::uint8_t>(*from) < 0x80)
        *to++ = static_cast<Unit>(*from++);
      if (from == end) break;
    }
    const auto byte = static_cast<std::uint8_t>(*from);
    if (needed_ > 0) {
      if ((byte & 0xC0) != 0x80) {
        // The sequence broke off: its bytes so far are one invalid unit; reread this byte.
        needed_ = 0;
        to = replace(to);
        continue;
      }
      partial_ = (partial_ << 6) | (byte & 0x3F);
      ++from;
      if (--needed_ == 0) {
        if (partial_ < lowerBound_ || partial_ > 0x10FFFF ||
            (partial_ >= 0xD800 && partial_ <= 0xDFFF)) {
          to = replace(to);
        } else {
          to = putCodePoint(to, partial_);
        }
      }
      continue;
    }
    ++from;
    if (byte >= 0xC2 && byte <= 0xDF) {
      partial_ = byte & 0x1F, needed_ = 1, lowerBound_ = 0x80;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      partial_ = byte & 0x0F, needed_ = 2, lowerBound_ = 0x800;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      partial_ = byte & 0x07, needed_ = 3, lowerBound_ = 0x10000;
    } else {
      to = replace(to);
    }
  }
  return to;
}

template <class Unit>
Unit* Utf8Decoder::replace(Unit* out) {
  ++invalidCount_;
  return putCodePoint(out, kReplacement);
}

void Utf8Decoder::finish(std::u16string& out) {
  char16_t unit;
  if (finish(&unit) != &unit) out.push_back(unit);
}

char16_t* Utf8Decoder::finish(char16_t* to) {
  if (needed_ == 0) return to;
  needed_ = 0;
  return replace(to);
}

char* Utf8Decoder::finish(char* to) {
  if (needed_ == 0) return to;
  needed_ = 0;
  return replace(to);
}

}  // namespace pellimo::ansi
