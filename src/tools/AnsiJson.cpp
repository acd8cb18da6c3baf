// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/AnsiJson.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
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

std::string_view attributeName(Attribute attribute) {
  for (const auto& [candidate, name] : kAttributeNames) {
    if (candidate == attribute) return name;
  }
  return {};
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
