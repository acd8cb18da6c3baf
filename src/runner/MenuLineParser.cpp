// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/MenuLineParser.h"

#include <optional>

namespace pellimo::runner {

namespace {

bool isSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r';
}

bool isKeyUnit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'-';
}

/// A quoted value from just after its opening quote; null when the quote never closes.
std::optional<std::u16string> readQuoted(std::u16string_view part, std::size_t& i, char16_t quote) {
  std::u16string value;
  while (i < part.size()) {
    const char16_t c = part[i++];
    if (c == quote) return value;
    // Only a quote or a backslash is escaped; any other backslash is kept as typed, as paths
    // and regular expressions in commands expect.
    if (c == u'\\' && i < part.size() && (part[i] == quote || part[i] == u'\\')) {
      value += part[i++];
    } else {
      value += c;
    }
  }
  return std::nullopt;
}

/// `key=value …` to the end of `part`; null when any of it is not an attribute.
std::optional<std::vector<std::pair<std::u16string, std::u16string>>> readAttributes(
    std::u16string_view part) {
  std::vector<std::pair<std::u16string, std::u16string>> attributes;
  std::size_t i = 0;
  for (;;) {
    while (i < part.size() && isSpace(part[i]))
      ++i;
    if (i == part.size()) return attributes;
    const std::size_t keyStart = i;
    while (i < part.size() && isKeyUnit(part[i]))
      ++i;
    if (i == keyStart || i == part.size() || part[i] != u'=') return std::nullopt;
    std::u16string key(part.substr(keyStart, i - keyStart));
    ++i;
    std::u16string value;
    if (i < part.size() && (part[i] == u'"' || part[i] == u'\'')) {
      const char16_t quote = part[i++];
      auto quoted = readQuoted(part, i, quote);
      if (!quoted) return std::nullopt;
      // A closing quote ends the value only where the attribute ends: `a="b"c` is no value.
      if (i < part.size() && !isSpace(part[i])) return std::nullopt;
      value = std::move(*quoted);
    } else {
      const std::size_t valueStart = i;
      while (i < part.size() && !isSpace(part[i]))
        ++i;
      value = part.substr(valueStart, i - valueStart);
    }
    attributes.emplace_back(std::move(key), std::move(value));
  }
}

}  // namespace

MenuLine parseMenuLine(std::u16string_view line) {
  for (std::size_t bar = line.find(u'|'); bar != std::u16string_view::npos;
       bar = line.find(u'|', bar + 1)) {
    auto attributes = readAttributes(line.substr(bar + 1));
    if (!attributes) continue;
    std::size_t textEnd = bar;
    while (textEnd > 0 && isSpace(line[textEnd - 1]))
      --textEnd;
    return {std::u16string(line.substr(0, textEnd)), std::move(*attributes)};
  }
  return {std::u16string(line), {}};
}

}  // namespace pellimo::runner
