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

/// What a byte that starts a sequence of two or more says of it; `needed` is 0 for a byte that
/// cannot start one.
struct Lead {
  std::uint32_t bits = 0;        // its code point bits
  int needed = 0;                // the continuation bytes that follow it
  std::uint32_t lowerBound = 0;  // the smallest code point a sequence of its length may encode
};

Lead leadOf(std::uint8_t byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {byte & 0x1Fu, 1, 0x80};
  if (byte >= 0xE0 && byte <= 0xEF) return {byte & 0x0Fu, 2, 0x800};
  if (byte >= 0xF0 && byte <= 0xF4) return {byte & 0x07u, 3, 0x10000};
  return {};
}

bool isContinuation(std::uint8_t byte) {
  return (byte & 0xC0) == 0x80;
}

/// Whether a sequence of a length whose smallest code point is `lowerBound` may encode `cp`:
/// not overlong, not a surrogate, within Unicode.
bool wellFormed(std::uint32_t cp, std::uint32_t lowerBound) {
  return cp >= lowerBound && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

bool allAscii(const char* from) {
  std::uint64_t words[2];
  std::memcpy(words, from, sizeof words);
  return ((words[0] | words[1]) & kHighBits) == 0;
}

}  // namespace

std::size_t Utf8Decoder::validLength(std::string_view bytes) {
  const char* const start = bytes.data();
  const char* from = start;
  const char* const end = from + bytes.size();
  while (from < end) {
    while (end - from >= 16 && allAscii(from))
      from += 16;
    while (from < end && static_cast<std::uint8_t>(*from) < 0x80)
      ++from;
    if (from == end) break;
    const Lead lead = leadOf(static_cast<std::uint8_t>(*from));
    if (lead.needed == 0 || end - from <= lead.needed) break;
    std::uint32_t cp = lead.bits;
    for (int k = 1; k <= lead.needed; ++k) {
      const auto byte = static_cast<std::uint8_t>(from[k]);
      if (!isContinuation(byte)) return static_cast<std::size_t>(from - start);
      cp = (cp << 6) | (byte & 0x3F);
    }
    if (!wellFormed(cp, lead.lowerBound)) break;
    from += lead.needed + 1;
  }
  return static_cast<std::size_t>(from - start);
}

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

std::size_t Utf8Decoder::unchangedLength(std::string_view bytes) const {
  // Well-formed bytes decode to themselves, unless they end a sequence begun before.
  return needed_ == 0 ? validLength(bytes) : 0;
}

char* Utf8Decoder::decode(std::string_view bytes, char* to) {
  return decodeAfter(unchangedLength(bytes), bytes, to);
}

std::string_view Utf8Decoder::decodeOrPass(std::string_view bytes, char* room) {
  const std::size_t unchanged = unchangedLength(bytes);
  if (unchanged == bytes.size()) return bytes;
  return {room, static_cast<std::size_t>(decodeAfter(unchanged, bytes, room) - room)};
}

char* Utf8Decoder::decodeAfter(std::size_t unchanged, std::string_view bytes, char* to) {
  std::memcpy(to, bytes.data(), unchanged);
  return decodeInto(bytes.substr(unchanged), to + unchanged);
}

template <class Unit>
Unit* Utf8Decoder::decodeInto(std::string_view bytes, Unit* to) {
  const char* from = bytes.data();
  const char* const end = from + bytes.size();
  while (from < end) {
    if (needed_ == 0) {
      // Plain ASCII is the common case: sixteen bytes at a time while they all are. The local
      // copy tells the compiler that `to` cannot overlap them, so it widens them together.
      while (end - from >= 16 && allAscii(from)) {
        std::uint8_t chunk[16];
        std::memcpy(chunk, from, sizeof chunk);
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
      if (!isContinuation(byte)) {
        // The sequence broke off: its bytes so far are one invalid unit; reread this byte.
        needed_ = 0;
        to = replace(to);
        continue;
      }
      partial_ = (partial_ << 6) | (byte & 0x3F);
      ++from;
      if (--needed_ == 0) {
        to = wellFormed(partial_, lowerBound_) ? putCodePoint(to, partial_) : replace(to);
      }
      continue;
    }
    ++from;
    const Lead lead = leadOf(byte);
    if (lead.needed == 0) {
      to = replace(to);
    } else {
      partial_ = lead.bits, needed_ = lead.needed, lowerBound_ = lead.lowerBound;
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
