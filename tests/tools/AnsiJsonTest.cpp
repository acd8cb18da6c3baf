// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "tools/AnsiJson.h"
#include "tools/Commands.h"
#include "tools/ToolErrors.h"

namespace pellimo::tools {
namespace {

using ansi::Attribute;

TEST(ParseReport, ListsRecordsAndRunsWithFontGreyAndUnderline) {
  const Json report = Json::parse(parseCommand("\x1b[1;4;90mA\x1b[0mB", true));
  EXPECT_EQ(report, Json::parse(R"({"clean": "AB", "codes": [[1, 0], [4, 0], [90, 0], [0, 1]],
    "runs": [
      {"attribute": "font", "value": {"family": "Test", "size": 12.0, "weight": 9},
       "location": 0, "length": 1},
      {"attribute": "underline", "value": 1, "location": 0, "length": 1},
      {"attribute": "foreground", "value": {"model": "grey", "white": 0.337, "alpha": 1.0},
       "location": 0, "length": 1}]})"));
  EXPECT_EQ(Json::parse(parseCommand("\x1b[1mA", false))["runs"], Json::array());
}

TEST(ParseReport, PrintsAsTheJsonLibraryPrintsTheSameDocument) {
  const std::string inputs[] = {
      "\"q\" \\ \x01\b\f\t\x7f\r\n d\u00e9j\u00e0 \U0001F600 \x1b[4;21;24;2;22;1m",
      "\x1b[91;44ma\x1b[96;21mb\x1b[1;95mc\x1b[38;5;67md\x1b[48;2;1;2;3;38;5;250me\x1b[97;0mf",
  };
  for (const std::string& input : inputs) {
    for (bool withFont : {false, true}) {
      const std::string report = parseCommand(input, withFont);
      EXPECT_EQ(Json::parse(report).dump() + "\n", report);
    }
  }
}

TEST(EncodeInput, RunsSurviveThePrintedJsonExactly) {
  // Bright colours come from HSB arithmetic, so their components have no short decimal form.
  const std::u16string escaped = u"\x1b[91;44ma\x1b[96;21mb\x1b[1;95mc\x1b[38;5;67md";
  const Json report = Json::parse(parseCommand(ansi::encodeUtf8(escaped), true));
  const ansi::StyledText text =
      styledTextFromJson({{"text", report["clean"]}, {"runs", report["runs"]}});

  ansi::VXL_ANSIEscapeHelper helper;
  helper.setFont(ansi::Font{"Test", 12, ansi::Font::kRegularWeight, false});
  std::u16string clean;
  const auto runs = *helper.attributesForString(escaped, &clean);
  ansi::StyledText expected(clean);
  for (const auto& run : runs)
    expected.addAttribute(run.attributeName, run.attributeValue, run.range);
  for (Attribute name :
       {Attribute::Font, Attribute::Foreground, Attribute::Background, Attribute::Underline}) {
    for (std::size_t i = 0; i < clean.size(); ++i) {
      EXPECT_EQ(text.attribute(name, i, nullptr, {0, clean.size()}),
                expected.attribute(name, i, nullptr, {0, clean.size()}))
          << "attribute " << static_cast<int>(name) << " at " << i;
    }
  }
}

TEST(EncodeCommand, GivesTheEncodersExactBytes) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"text": "Hi", "runs": [
          {"attribute": "font", "value": {"family": "M", "size": 12, "weight": 5},
           "location": 0, "length": 2},
          {"attribute": "foreground",
           "value": {"model": "rgb", "red": 1, "green": 0, "blue": 0, "alpha": 1},
           "location": 0, "length": 2}]})",
       "\x1b[22m\x1b[31m\x1b[49m\x1b[24mHi\x1b[0m"},
      // A later run replaces an earlier one; lengths past the end stop at the end.
      {R"({"text": "abc", "runs": [
          {"attribute": "underline", "value": 1, "location": 0, "length": 3},
          {"attribute": "underline", "value": 9, "location": 1,
           "length": 18446744073709551615}]})",
       "\x1b[22m\x1b[39m\x1b[49m\x1b[4ma\x1b[21mbc\x1b[0m"},
      {R"({"text": "", "runs": []})", "\x1b[0m"},
      // The ends of the ranges are in them.
      {R"({"text": "x", "runs": [
          {"attribute": "font", "value": {"family": "M", "size": 12, "weight": 15},
           "location": 0, "length": 1},
          {"attribute": "background", "value": {"model": "grey", "white": 0, "alpha": 0},
           "location": 0, "length": 1}]})",
       "\x1b[1m\x1b[39m\x1b[40m\x1b[24mx\x1b[0m"},
  };
  for (const auto& [json, escaped] : cases) {
    EXPECT_EQ(encodeCommand(ansi::decodeUtf8(json)), escaped) << json;
  }
}

TEST(EncodeCommand, NamesWhatIsWrongWithTheInput) {
  const std::string run = R"({"text": "a", "runs": [{"attribute": "foreground", "location": 0,
      "length": 1, "value": )";
  const std::pair<std::string, std::string> cases[] = {
      {R"({"runs": []})", "input: missing \"text\""},
      {R"({"text": 1, "runs": []})", "text: expected a string"},
      {R"({"text": "a", "runs": {}})", "runs: expected an array"},
      {R"({"text": "a", "runs": [{"attribute": "bold"}]})", "runs[0].attribute: expected"},
      {run + "1}]}", "runs[0].value: expected a JSON object"},
      {run + R"({"model": "cmyk"}}]})", "runs[0].value.model: expected \"grey\" or \"rgb\""},
      {run + R"({"model": "rgb", "red": 1, "green": 1, "alpha": 1}}]})",
       "runs[0].value: missing \"blue\""},
      {R"({"text": "a", "runs": [{"attribute": "underline", "value": 2.5}]})",
       "runs[0].value: expected an integer"},
      {R"({"text": "a", "runs": [{"attribute": "font", "location": 0, "length": 1,
          "value": {"family": "M", "size": 12, "weight": 9999999999}}]})",
       "runs[0].value.weight: expected an integer"},
      // Out of the ranges the encoder's colour arithmetic and the font's weight scale hold.
      {run + R"({"model": "rgb", "red": 1e308, "green": 0, "blue": 0, "alpha": 1}}]})",
       "runs[0].value.red: expected a number from 0 to 1"},
      {run + R"({"model": "rgb", "red": 0, "green": -7, "blue": 0, "alpha": 1}}]})",
       "runs[0].value.green: expected a number from 0 to 1"},
      {run + R"({"model": "grey", "white": 1, "alpha": 1.0000001}}]})",
       "runs[0].value.alpha: expected a number from 0 to 1"},
      {R"({"text": "a", "runs": [{"attribute": "font", "location": 0, "length": 1,
          "value": {"family": "M", "size": 12, "weight": 99}}]})",
       "runs[0].value.weight: expected an integer from 0 to 15"},
      {R"({"text": "a", "runs": [{"attribute": "font", "location": 0, "length": 1,
          "value": {"family": "M", "size": 12, "weight": -1}}]})",
       "runs[0].value.weight: expected an integer from 0 to 15"},
      {R"({"text": "a", "runs": [{"attribute": "underline", "value": 1, "location": -1}]})",
       "runs[0].location: expected a non-negative integer"},
      {R"({"text": "a\ud83d\ude00", "runs": [{"attribute": "underline", "value": 1,
          "location": 0, "length": 2}]})",
       "runs[0]: range splits a character in two"},
  };
  for (const auto& [json, message] : cases) {
    try {
      encodeCommand(ansi::decodeUtf8(json));
      ADD_FAILURE() << "accepted " << json;
    } catch (const InputError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(message, 0), 0u) << error.what();
    }
  }
}

}  // namespace
}  // namespace pellimo::tools
