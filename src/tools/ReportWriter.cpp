// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ReportWriter.h"

#include <algorithm>
#include <bit>
#include <nlohmann/json.hpp>

#include "ansi/Utf16Block.h"

namespace pellimo::tools {

namespace {

using ansi::ByteBlock;
using ansi::splatByte;

/// What each byte of valid UTF-8 adds to the count of UTF-16 units: a continuation byte takes
/// one away, as its character's first byte counted it, and a four-byte character counts two;
/// or kEscaped for a byte that a JSON string must escape.
constexpr std::int8_t kEscaped = 0x7F;
constexpr std::array<std::int8_t, 256> kUnitSteps = [] {
  std::array<std::int8_t, 256> steps{};
  for (int byte = 0; byte < 0x20; ++byte)
    steps[byte] = kEscaped;
  steps['"'] = steps['\\'] = kEscaped;
  for (int byte = 0x80; byte < 0xC0; ++byte)
    steps[byte] = -1;
  for (int byte = 0xF0; byte < 0x100; ++byte)
    steps[byte] = 1;
  return steps;
}();

/// Lanes set where a byte needs escaping. The lanes are unsigned, so bytes of non-ASCII
/// characters compare above the control characters.
ByteBlock escapedLanes(ByteBlock bytes) {
  return (bytes < splatByte(0x20)) | (bytes == splatByte('"')) | (bytes == splatByte('\\'));
}

int setLanes(ByteBlock lanes) {
  std::uint64_t halves[2];
  std::memcpy(halves, &lanes, sizeof halves);
  return (std::popcount(halves[0]) + std::popcount(halves[1])) / 8;
}

/// The steps of kUnitSteps summed over a block with no byte to escape.
int unitSteps(ByteBlock bytes) {
  if (!ansi::anyLane(bytes >= splatByte(static_cast<char>(0x80)))) return 0;
  return setLanes(bytes >= splatByte(static_cast<char>(0xF0))) -
         setLanes((bytes & splatByte(static_cast<char>(0xC0))) ==
                  splatByte(static_cast<char>(0x80)));
}

/// Writes the escape for a byte that needs one and returns its end.
char* writeEscape(char* to, unsigned char byte) {
  static constexpr char kHex[] = "0123456789abcdef";
  char letter = 0;
  switch (byte) {
    case '"':
      letter = '"';
      break;
    case '\\':
      letter = '\\';
      break;
    case '\b':
      letter = 'b';
      break;
    case '\t':
      letter = 't';
      break;
    case '\n':
      letter = 'n';
      break;
    case '\f':
      letter = 'f';
      break;
    case '\r':
      letter = 'r';
      break;
    default: {
      const char escaped[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
      std::memcpy(to, escaped, sizeof escaped);
      return to + sizeof escaped;
    }
  }
  to[0] = '\\';
  to[1] = letter;
  return to + 2;
}

}  // namespace

std::size_t ReportWriter::putEscaped(std::string_view text) {
  constexpr std::size_t kBlock = sizeof(ByteBlock);
  // A block's bytes each escaped at most six bytes long.
  constexpr std::size_t kMostOut = 6 * kBlock;
  std::size_t units = text.size();
  const char* from = text.data();
  const char* const end = from + text.size();
  while (from < end) {
    char* to = room(kMostOut);
    const std::size_t size = std::min(kBlock, static_cast<std::size_t>(end - from));
    if (size == kBlock) {
      ByteBlock bytes;
      std::memcpy(&bytes, from, sizeof bytes);
      if (!ansi::anyLane(escapedLanes(bytes))) {
        std::memcpy(to, from, kBlock);
        used_ += kBlock;
        units += static_cast<std::size_t>(unitSteps(bytes));
        from += kBlock;
        continue;
      }
    }
    // A block that needs escaping, or the few bytes at the end: most stretches of text
    // between sequences are short.
    for (const char* const stop = from + size; from < stop; ++from) {
      const auto byte = static_cast<unsigned char>(*from);
      const std::int8_t step = kUnitSteps[byte];
      if (step == kEscaped) {
        to = writeEscape(to, byte);
      } else {
        *to++ = static_cast<char>(byte);
        units += static_cast<std::size_t>(step);
      }
    }
    commit(to);
  }
  return units;
}

char* ReportWriter::writeLargeInteger(char* to, std::size_t value) {
  if (value < 10000) return writePair(writeBelow100(to, value / 100), value % 100);
  if (value < 100000000) {
    const std::size_t high = value / 10000;
    const std::size_t low = value % 10000;
    to =
        high < 100 ? writeBelow100(to, high) : writePair(writeBelow100(to, high / 100), high % 100);
    return writePair(writePair(to, low / 100), low % 100);
  }
  return std::to_chars(to, to + kMostDigits, value).ptr;
}

void ReportWriter::putDouble(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  if (!doubles_) doubles_ = std::make_unique<Printed[]>(std::size_t{1} << kDoubleSlotBits);
  Printed& slot = doubles_[(bits * 0x9E3779B97F4A7C15u) >> (64 - kDoubleSlotBits)];
  if (slot.size == 0 || slot.bits != bits) {
    const std::string text = nlohmann::ordered_json(value).dump();
    // Forms too long to keep are rare: only a few of the smallest numbers have them.
    if (text.size() > sizeof slot.text) {
      put(text);
      return;
    }
    slot.bits = bits;
    slot.size = static_cast<std::uint8_t>(text.size());
    std::memcpy(slot.text, text.data(), text.size());
  }
  put(std::string_view(slot.text, slot.size));
}

void ReportWriter::putValue(const ansi::Color& color) {
  if (color.model == ansi::Color::Model::Grey) {
    put("{\"model\":\"grey\",\"white\":");
    putDouble(color.whiteComponent());
  } else {
    put("{\"model\":\"rgb\",\"red\":");
    putDouble(color.redComponent());
    put(",\"green\":");
    putDouble(color.greenComponent());
    put(",\"blue\":");
    putDouble(color.blueComponent());
  }
  put(",\"alpha\":");
  putDouble(color.alpha);
  put("}");
}

void ReportWriter::putValue(const ansi::Font& font) {
  put("{\"family\":");
  putString(font.family);
  put(",\"size\":");
  putDouble(font.pointSize);
  put(",\"weight\":");
  putInteger(font.weight);
  put("}");
}

}  // namespace pellimo::tools
