// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Commands.h"

#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "tools/AnsiJson.h"
#include "tools/HtmlPage.h"
#include "tools/ParseReporter.h"
#include "tools/ToolErrors.h"

namespace pellimo::tools {

namespace {

/// nlohmann's messages start with an "[json.exception...]" tag that means nothing to a user.
std::string withoutTag(std::string_view message) {
  const auto tagEnd = message.find("] ");
  return std::string(tagEnd == std::string_view::npos ? message : message.substr(tagEnd + 2));
}

}  // namespace

std::string parseCommand(std::string_view input, bool withFont) {
  ansi::Utf8Decoder decoder;
  std::string text(ansi::Utf8Decoder::mostBytesFor(input.size()), '\0');
  text.resize(
      static_cast<std::size_t>(decoder.finish(decoder.decode(input, text.data())) - text.data()));
  std::string report;
  ParseReporter reporter(withFont, [&report](std::string_view piece) { report.append(piece); });
  reporter.append(text);
  reporter.finish();
  return report;
}

std::string encodeCommand(std::u16string_view json) {
  Json document;
  try {
    document = Json::parse(ansi::encodeUtf8(json));
  } catch (const Json::parse_error& error) {
    throw InputError("invalid JSON: " + withoutTag(error.what()));
  }
  const ansi::VXL_ANSIEscapeHelper helper;
  return ansi::encodeUtf8(
      helper.ansiEscapedStringWithAttributedString(styledTextFromJson(document)));
}

std::string htmlCommand(std::u16string input, const HtmlOptions& options) {
  return renderHtml(input, options);
}

std::string runCommand(const Invocation& invocation, std::u16string input) {
  switch (invocation.command) {
    case Command::Parse:
      return parseCommand(ansi::encodeUtf8(input), invocation.withFont);
    case Command::Encode:
      return encodeCommand(input);
    case Command::Html:
      return htmlCommand(std::move(input), invocation.html);
    case Command::Help:
    case Command::Version:
      break;
  }
  return {};
}

}  // namespace pellimo::tools
