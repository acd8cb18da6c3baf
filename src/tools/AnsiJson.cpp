// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/AnsiJson.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <string_view>
#include <type_traits>
#include <utility>

#include "ansi/Utf8.h"
#include "tools/ToolErrors.h"

namespace pellimo::tools {

using ansi::Attribute;
using ansi::AttributeValue;
using ansi::Color;
using ansi::Font;

namespace {

constexpr std::array<std::pair<Attribute, std::string_view>, 4> kAttributeNames = {{
    {Attribute::Font, "font"},
    {Attribute::Foreground, "foreground"},
    {Attribute::Background, "background"},
    {Attribute::Underline, "underline"},
}};

std::string_view nameOf(Attribute attribute) {
  for (const auto& [candidate, name] : kAttributeNames) {
    if (candidate == attribute) return name;
  }
  return {};
}

// Readers of the encode input; `path` names the value in messages, e.g. runs[2].value.
[[noreturn]] void fail(const std::string& path, std::string_view problem) {
  throw InputError((path.empty() ? std::string("input") : path) + ": " + std::string(problem));
}

void expectObject(const Json& value, const std::string& path) {
  if (!value.is_object()) fail(path, "expected a JSON object");
}

const Json& member(const Json& object, std::string_view key, const std::string& path) {
  const auto found = object.find(key);
  if (found == object.end()) fail(path, "missing \"" + std::string(key) + "\"");
  return *found;
}

std::string memberPath(const std::string& path, std::string_view key) {
  return path.empty() ? std::string(key) : path + "." + std::string(key);
}

double numberAt(const Json& object, std::string_view key, const std::string& path) {
  const Json& value = member(object, key, path);
  if (!value.is_number()) fail(memberPath(path, key), "expected a number");
  return value.get<double>();
}

/// A colour component or alpha: the encoder's colour arithmetic holds only for 0 to 1.
double unitAt(const Json& object, std::string_view key, const std::string& path) {
  const double number = numberAt(object, key, path);
  if (!(number >= 0.0 && number <= 1.0))
    fail(memberPath(path, key), "expected a number from 0 to 1");
  return number;
}

int integerAt(const Json& object, std::string_view key, const std::string& path) {
  const Json& value = member(object, key, path);
  if (value.is_number_unsigned() && value.get<std::uint64_t>() <= std::numeric_limits<int>::max()) {
    return static_cast<int>(value.get<std::uint64_t>());
  }
  if (value.is_number_integer() && !value.is_number_unsigned() &&
      value.get<std::int64_t>() >= std::numeric_limits<int>::min()) {
    return static_cast<int>(value.get<std::int64_t>());
  }
  fail(memberPath(path, key), "expected an integer in the range of int");
}

std::size_t positionAt(const Json& object, std::string_view key, const std::string& path) {
  const Json& value = member(object, key, path);
  if (!value.is_number_unsigned()) fail(memberPath(path, key), "expected a non-negative integer");
  return value.get<std::size_t>();
}

const std::string& stringAt(const Json& object, std::string_view key, const std::string& path) {
  const Json& value = member(object, key, path);
  if (!value.is_string()) fail(memberPath(path, key), "expected a string");
  return value.get_ref<const std::string&>();
}

Color colorFromJson(const Json& value, const std::string& path) {
  expectObject(value, path);
  const std::string& model = stringAt(value, "model", path);
  if (model == "grey") {
    return Color::grey(unitAt(value, "white", path), unitAt(value, "alpha", path));
  }
  if (model == "rgb") {
    return Color::rgb(unitAt(value, "red", path), unitAt(value, "green", path),
                      unitAt(value, "blue", path), unitAt(value, "alpha", path));
  }
  fail(memberPath(path, "model"), "expected \"grey\" or \"rgb\"");
}

Font fontFromJson(const Json& value, const std::string& path) {
  expectObject(value, path);
  Font font;
  font.family = stringAt(value, "family", path);
  font.pointSize = numberAt(value, "size", path);
  font.weight = integerAt(value, "weight", path);
  if (font.weight < Font::kLightestWeight || font.weight > Font::kHeaviestWeight) {
    fail(memberPath(path, "weight"), "expected an integer from " +
                                         std::to_string(Font::kLightestWeight) + " to " +
                                         std::to_string(Font::kHeaviestWeight));
  }
  return font;
}

Attribute attributeFromJson(const Json& run, const std::string& path) {
  const std::string& name = stringAt(run, "attribute", path);
  for (const auto& [attribute, candidate] : kAttributeNames) {
    if (candidate == name) return attribute;
  }
  fail(memberPath(path, "attribute"),
       "expected \"font\", \"foreground\", \"background\" or \"underline\"");
}

AttributeValue valueFromJson(Attribute attribute, const Json& run, const std::string& path) {
  const std::string valuePath = memberPath(path, "value");
  switch (attribute) {
    case Attribute::Font:
      return fontFromJson(member(run, "value", path), valuePath);
    case Attribute::Foreground:
    case Attribute::Background:
      return colorFromJson(member(run, "value", path), valuePath);
    case Attribute::Underline:
      return integerAt(run, "value", path);
  }
  fail(valuePath, "unknown attribute");
}

bool splitsSurrogatePair(std::u16string_view text, std::size_t boundary) {
  return boundary > 0 && boundary < text.size() && text[boundary - 1] >= 0xD800 &&
         text[boundary - 1] <= 0xDBFF && text[boundary] >= 0xDC00 && text[boundary] <= 0xDFFF;
}

}  // namespace

namespace {

/// Writes the parse report as nlohmann's compact `dump` prints the same document, without
/// building it: a large text's report holds millions of values.
class ReportWriter {
 public:
  explicit ReportWriter(const ReportOutput& output) : output_(output) {}

  /// Hands over what is written so far.
  void flush() {
    output_(std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

  void put(std::string_view text) {
    if (text.size() > kBufferSize) {
      flush();
      output_(text);
      return;
    }
    std::memcpy(room(text.size()), text.data(), text.size());
    used_ += text.size();
  }
  /// Literals, whose size is known where they are written.
  template <std::size_t N>
  void put(const char (&text)[N]) {
    std::memcpy(room(N - 1), text, N - 1);
    used_ += N - 1;
  }

  template <class Integer>
  void putInteger(Integer value) {
    constexpr std::size_t kDigits = 24;
    char* to = room(kDigits);
    used_ = static_cast<std::size_t>(std::to_chars(to, to + kDigits, value).ptr - buffer_.get());
  }

  /// A JSON string of UTF-8 text, escaped as nlohmann escapes it.
  void putString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    put("\"");
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte >= 0x20 && byte != '"' && byte != '\\') continue;
      put(text.substr(from, i - from));
      from = i + 1;
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
    put(text.substr(from));
    put("\"");
  }

  /// nlohmann's own form of the number, kept per value: a text's colours share few components.
  void putDouble(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Printed& slot = doubles_[(bits * 0x9E3779B97F4A7C15u) >> (64 - kDoubleSlotBits)];
    if (!slot.valid || slot.bits != bits) {
      slot = {bits, true, Json(value).dump()};
    }
    put(slot.text);
  }

  void putValue(const Color& color) {
    if (color.model == Color::Model::Grey) {
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

  void putValue(const Font& font) {
    put("{\"family\":");
    putString(font.family);
    put(",\"size\":");
    putDouble(font.pointSize);
    put(",\"weight\":");
    putInteger(font.weight);
    put("}");
  }

  void putValue(int value) { putInteger(value); }

 private:
  struct Printed {
    std::uint64_t bits = 0;
    bool valid = false;
    std::string text;
  };
  static constexpr int kDoubleSlotBits = 10;

  /// Room for `size` more bytes past the used part, at most kBufferSize; a string's appends
  /// cost more than the short pieces of a report.
  char* room(std::size_t size) {
    if (used_ + size > kBufferSize) flush();
    return buffer_.get() + used_;
  }

  static constexpr std::size_t kBufferSize = 1 << 16;
  const ReportOutput& output_;
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::size_t used_ = 0;
  std::array<Printed, 1 << kDoubleSlotBits> doubles_;
};

}  // namespace

void parseReport(std::u16string_view cleanText, const std::vector<ansi::EscapeCodeRecord>& codes,
                 const std::vector<ansi::AttributeRun>& runs, const ReportOutput& output) {
  ReportWriter report(output);
  report.put("{\"clean\":");
  report.putString(ansi::encodeUtf8(cleanText));
  report.put(",\"codes\":[");
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) report.put(",");
    report.put("[");
    report.putInteger(codes[i].code);
    report.put(",");
    report.putInteger(codes[i].location);
    report.put("]");
  }
  report.put("],\"runs\":[");
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const ansi::AttributeRun& run = runs[i];
    if (i > 0) report.put(",");
    report.put("{\"attribute\":\"");
    report.put(nameOf(run.attributeName));
    report.put("\",\"value\":");
    std::visit([&report](const auto& value) { report.putValue(value); }, run.attributeValue);
    report.put(",\"location\":");
    report.putInteger(run.range.location);
    report.put(",\"length\":");
    report.putInteger(run.range.length);
    report.put("}");
  }
  report.put("]}\n");
  report.flush();
}

ansi::StyledText styledTextFromJson(const Json& document) {
  const std::string top;
  expectObject(document, top);
  ansi::StyledText styled(ansi::decodeUtf8(stringAt(document, "text", top)));
  const Json& runs = member(document, "runs", top);
  if (!runs.is_array()) fail("runs", "expected an array");
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const std::string path = "runs[" + std::to_string(i) + "]";
    const Json& run = runs[i];
    expectObject(run, path);
    const Attribute attribute = attributeFromJson(run, path);
    const AttributeValue value = valueFromJson(attribute, run, path);
    const std::size_t location = positionAt(run, "location", path);
    // Saturate so that a huge length still means "to the end" instead of wrapping around.
    const std::size_t length = std::min(positionAt(run, "length", path),
                                        std::numeric_limits<std::size_t>::max() - location);
    if (splitsSurrogatePair(styled.string(), location) ||
        splitsSurrogatePair(styled.string(), location + length)) {
      // The encoder would put a sequence between the halves and the character would be lost.
      fail(path, "range splits a character in two (positions count UTF-16 code units)");
    }
    styled.addAttribute(attribute, value, {location, length});
  }
  return styled;
}

}  // namespace pellimo::tools
