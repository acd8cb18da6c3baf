// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ReportWriter.h"

#include <nlohmann/json.hpp>

#include "ansi/Utf16Block.h"

namespace pellimo::tools {

namespace {

bool needsEscape(char byte) {
  return static_cast<unsigned char>(byte) < 0x20 || byte == '"' || byte == '\\';
}

/// The end of the longest prefix of [from, end) that needs no escaping.
const char* plainEnd(const char* from, const char* end) {
  using ansi::ByteBlock;
  while (end - from >= 16) {
    ByteBlock bytes;
    std::memcpy(&bytes, from, sizeof bytes);
    // Unsigned lanes: bytes of non-ASCII characters compare above the control characters.
    if (ansi::anyLane((bytes < ansi::splatByte(0x20)) | (bytes == ansi::splatByte('"')) |
                      (bytes == ansi::splatByte('\\')))) {
      break;
    }
    from += 16;
  }
  while (from < end && !needsEscape(*from))
    ++from;
  return from;
}

}  // namespace

void ReportWriter::putEscaped(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  const char* from = text.data();
  const char* const end = from + text.size();
  for (;;) {
    const char* const plain = plainEnd(from, end);
    put(std::string_view(from, static_cast<std::size_t>(plain - from)));
    if (plain == end) return;
    const auto byte = static_cast<unsigned char>(*plain);
    from = plain + 1;
    switch (byte) {
      case '"':
        put("\\\"");
        break;
      case '\\':
        put("\\\\");
        break;
      case '\b':
        put("\\b");
        break;
      case '\t':
        put("\\t");
        break;
      case '\n':
        put("\\n");
        break;
      case '\f':
        put("\\f");
        break;
      case '\r':
        put("\\r");
        break;
      default: {
        const char escaped[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
        put(std::string_view(escaped, sizeof escaped));
      }
    }
  }
}

void ReportWriter::putDouble(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  Printed& slot = doubles_[(bits * 0x9E3779B97F4A7C15u) >> (64 - kDoubleSlotBits)];
  if (!slot.valid || slot.bits != bits) {
    slot = {bits, true, nlohmann::ordered_json(value).dump()};
  }
  put(slot.text);
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
