// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "tools/AnsiJson.h"
#include "tools/Commands.h"
#include "tools/ParseReporter.h"

namespace pellimo::tools {
namespace {

std::string reportOf(const std::vector<std::string_view>& pieces, bool withFont) {
  std::string report;
  ParseReporter reporter(withFont, [&report](std::string_view piece) { report.append(piece); });
  for (std::string_view piece : pieces)
    reporter.append(piece);
  reporter.finish();
  return report;
}

/// A run as the report prints it, built from the helper's own list.
Json jsonOf(const ansi::AttributeRun& run) {
  Json value;
  if (const auto* color = std::get_if<ansi::Color>(&run.attributeValue)) {
    value = color->model == ansi::Color::Model::Grey
                ? Json{{"model", "grey"}, {"white", color->c0}, {"alpha", color->alpha}}
                : Json{{"model", "rgb"},
                       {"red", color->c0},
                       {"green", color->c1},
                       {"blue", color->c2},
                       {"alpha", color->alpha}};
  } else if (const auto* font = std::get_if<ansi::Font>(&run.attributeValue)) {
    value = {{"family", font->family}, {"size", font->pointSize}, {"weight", font->weight}};
  } else {
    value = std::get<int>(run.attributeValue);
  }
  return {{"attribute", attributeName(run.attributeName)},
          {"value", value},
          {"location", run.range.location},
          {"length", run.range.length}};
}

TEST(ParseReporter, AnySplitIntoPiecesGivesTheReportOfTheWhole) {
  const std::string texts[] = {
      "\x1b[",
      "\x1b\x1b[4mx\x1b",
      "a\x1b[31;1mb\u00e9\x1b[38;5;9m\U0001F600\x1b[48;2;1;2m\"\x1b[0",
  };
  for (const std::string& text : texts) {
    for (bool withFont : {false, true}) {
      const std::string whole = reportOf({text}, withFont);
      for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        // Pieces hold whole characters, as the decoder hands them out.
        if (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) continue;
        const std::string_view all(text);
        EXPECT_EQ(reportOf({all.substr(0, cut), all.substr(cut)}, withFont), whole)
            << "cut at " << cut << " of " << text;
      }
    }
  }
}

TEST(ParseReporter, RunsWaitingBehindLongOpenRunsComeOutAsTheHelperListsThem) {
  // Thousands of colour runs open and end while an underline, then a background, stays open;
  // palette colours share one place in the run step, so their values change under the report.
  std::string text = "\x1b[4m";
  auto addColours = [&text](int count) {
    for (int i = 0; i < count; ++i) {
      text += i % 3 == 0 ? "\x1b[38;5;" + std::to_string(i % 256) + "m"
                         : "\x1b[" + std::to_string(31 + i % 7) + "m";
      text += "x";
    }
  };
  addColours(3000);
  text += "\x1b[1;41m";
  addColours(1000);
  text += "\x1b[24m";
  addColours(10);
  text += "\x1b[2mf\x1b[0mz";

  for (bool withFont : {false, true}) {
    ansi::VXL_ANSIEscapeHelper helper;
    if (withFont) helper.setFont(ansi::Font{"Test", 12, ansi::Font::kRegularWeight, false});
    const auto runs = *helper.attributesForString(ansi::decodeUtf8(text), nullptr);
    Json expected = Json::array();
    for (const ansi::AttributeRun& run : runs)
      expected.push_back(jsonOf(run));
    EXPECT_EQ(Json::parse(parseCommand(text, withFont))["runs"], expected);
  }
}

}  // namespace
}  // namespace pellimo::tools
