// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {
namespace {

using Codes = std::vector<std::pair<std::uint32_t, std::size_t>>;

Codes codesOf(const std::vector<EscapeCodeRecord>& records) {
  Codes out;
  for (const auto& r : records)
    out.emplace_back(r.code, r.location);
  return out;
}

TEST(Scanning, GivesCleanTextAndCodes) {
  const struct {
    std::u16string input;
    std::u16string clean;
    Codes codes;
  } cases[] = {{u"plain text", u"plain text", {}},
               {u"ab", u"ab", {}},
               {u"\x1b[", u"\x1b[", {}},
               {u"\x1b[2J\x1b[Hclear", u"clear", {}},
               {u"\x1b[1;31mred\x1b[0m", u"red", {{1, 0}, {31, 0}, {0, 3}}},
               {u"\x1b[031mX", u"X", {{31, 0}}},
               {u"\x1b[ 31mX", u"X", {{31, 0}}},
               {u"\x1b[;m", u"", {{0, 0}, {0, 0}}},
               {u"\x1b[m", u"", {{0, 0}}},
               {u"abc\x1b[1;3", u"abc", {{1, 3}}},
               {u"x\x1b", u"x\x1b", {}},
               {u"a\x1b\x62\x1b[4mc", u"a\x1b\x62\x63", {{4, 3}}},
               {u"\x1b[4294967297m", u"", {{1, 0}}},
               // Parameters too long to read in one go, and bytes among them that count for
               // nothing, are read through the scanner's states.
               {u"\x1b[00000000000000000000000000000000031mX", u"X", {{31, 0}}},
               {u"\x1b[3:1;;4mX", u"X", {{31, 0}, {0, 0}, {4, 0}}},
               {u"\x1b[38;5;196mX", u"X", {{38, 0}, {5, 0}, {196, 0}}},
               {u"\U0001F600\x1b[31mX", u"\U0001F600X", {{31, 2}}}};
  for (const auto& c : cases) {
    std::u16string clean = u"untouched";
    const auto records = VXL_ANSIEscapeHelper().escapeCodesForString(c.input, &clean);
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(clean, c.clean) << encodeUtf8(c.input);
    EXPECT_EQ(codesOf(*records), c.codes) << encodeUtf8(c.input);
  }
}

TEST(Scanning, NullInputGivesNullAndLeavesCleanTextAlone) {
  VXL_ANSIEscapeHelper helper;
  std::u16string clean = u"kept";
  EXPECT_FALSE(helper.escapeCodesForString(std::nullopt, &clean).has_value());
  EXPECT_FALSE(helper.attributesForString(std::nullopt, &clean).has_value());
  EXPECT_FALSE(helper.attributedStringWithANSIEscapedString(std::nullopt).has_value());
  EXPECT_EQ(clean, u"kept");
}

const Font kFont{"Test", 12, Font::kRegularWeight, false};
const Font kBoldFont{"Test", 12, Font::kBoldWeight, false};

AttributeRun fg(Color color, std::size_t location, std::size_t length) {
  return {Attribute::Foreground, color, {location, length}};
}
AttributeRun underline(int style, std::size_t location, std::size_t length) {
  return {Attribute::Underline, style, {location, length}};
}
AttributeRun font(const Font& face, std::size_t location, std::size_t length) {
  return {Attribute::Font, face, {location, length}};
}
Color rgb8(int r, int g, int b) {
  return Color::rgb(r / 255.0, g / 255.0, b / 255.0);
}

TEST(Runs, OpenAndEndWhereTheCodesSay) {
  const struct {
    std::u16string text;
    std::optional<Font> font;
    std::vector<AttributeRun> runs;
  } cases[] = {
      {u"\x1b[31mA\x1b[32mB", {}, {fg(Color::red(), 0, 1), fg(Color::green(), 1, 1)}},
      {u"a\x1b[4mb\x1b[24mc", {}, {underline(kUnderlineSingle, 1, 1), underline(0, 2, 1)}},
      {u"a\x1b[4mb\x1b[0mc", {}, {underline(kUnderlineSingle, 1, 1)}},
      {u"\x1b[21mab\x1b[0mc", {}, {underline(kUnderlineDouble, 0, 2)}},
      {u"\x1b[0;31mX", {}, {fg(Color::red(), 0, 1)}},
      {u"\x1b[31;0mX", {}, {fg(Color::red(), 0, 0)}},
      {u"\x1b[31mab\x1b[31mcd", {}, {fg(Color::red(), 0, 2), fg(Color::red(), 2, 2)}},
      {u"\x1b[1mbold\x1b[22m", {}, {}},
      {u"\x1b[1mbo\x1b[22mld", kFont, {font(kBoldFont, 0, 2), font(kFont, 2, 2)}},
      {u"\x1b[1mbo\x1b[0mld", kFont, {font(kBoldFont, 0, 2)}},
      // Faint opens the regular face, and nothing ends it.
      {u"\x1b[2mA\x1b[0mB", kBoldFont, {font(kFont, 0, 2)}},
      {u"\x1b[3;5;7;53mX", {}, {}},
      // Palette indices: the colour table, then the 6x6x6 cube, then the grey ramp.
      {u"\x1b[38;5;1mX", {}, {fg(Color::red(), 0, 1)}},
      {u"\x1b[38;5;9mX", {}, {fg(VXL_ANSIEscapeHelper().colorForSGRCode(91), 0, 1)}},
      {u"\x1b[38;5;196mX", {}, {fg(Color::rgb(1, 0, 0), 0, 1)}},
      {u"\x1b[38;5;16mX", {}, {fg(Color::rgb(0, 0, 0), 0, 1)}},
      {u"\x1b[38;5;110mX", {}, {fg(rgb8(135, 175, 215), 0, 1)}},
      {u"\x1b[38;5;232mX", {}, {fg(rgb8(8, 8, 8), 0, 1)}},
      {u"\x1b[38;5;255mX", {}, {fg(rgb8(238, 238, 238), 0, 1)}},
      {u"\x1b[38;2;10;20;30mX", {}, {fg(rgb8(10, 20, 30), 0, 1)}},
      // Extended selections open and end runs as colours do; their parameters mean nothing else:
      // the 0, 4 and 31 are colour components, not a reset, an underline or red.
      {u"\x1b[4mA\x1b[38;2;0;4;31mB", {}, {underline(1, 0, 2), fg(rgb8(0, 4, 31), 1, 1)}},
      {u"\x1b[31mA\x1b[38;5;21mB\x1b[39mC", {}, {fg(Color::red(), 0, 1), fg(Color::blue(), 1, 1)}},
      {u"\x1b[38;5;21mA\x1b[38;2;1;2;3mB", {}, {fg(Color::blue(), 0, 1), fg(rgb8(1, 2, 3), 1, 1)}},
      {u"\x1b[31mA\x1b[48;5;1mB",
       {},
       {fg(Color::red(), 0, 2), {Attribute::Background, Color::red(), {1, 1}}}},
      // Out of range: 38 is ignored, 5 (blink) and 300 mean nothing.
      {u"\x1b[38;5;300mX", {}, {}},
      // Too few components: the 31 that follows is read as red.
      {u"\x1b[38;2;31mX", {}, {fg(Color::red(), 0, 1)}},
      // Parameters from a later sequence do not complete a selection.
      {u"\x1b[38;5m\x1b[31mX", {}, {fg(Color::red(), 0, 1)}},
  };
  for (const auto& c : cases) {
    VXL_ANSIEscapeHelper helper;
    helper.setFont(c.font);
    EXPECT_EQ(*helper.attributesForString(c.text, nullptr), c.runs) << encodeUtf8(c.text);
  }
}

TEST(Runs, BackgroundSelectionsUseBackgroundCodes) {
  VXL_ANSIEscapeHelper helper;
  (*helper.ansiColors())[42] = Color::grey(0.25);
  const auto runs = *helper.attributesForString(u"\x1b[48;5;2mX\x1b[48;5;10mY", nullptr);
  EXPECT_EQ(runs, (std::vector<AttributeRun>{
                      {Attribute::Background, Color::grey(0.25), {0, 1}},
                      {Attribute::Background, helper.colorForSGRCode(102), {1, 1}}}));
}

TEST(StyledOutput, BaseAttributesThenRunsInOrder) {
  VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(Color::grey(0.8));
  const auto styled = helper.attributedStringWithANSIEscapedString(u"a\x1b[31mb\x1b[0mc");
  ASSERT_TRUE(styled.has_value());
  EXPECT_EQ(styled->string(), u"abc");
  Range range;
  EXPECT_EQ(styled->attribute(Attribute::Foreground, 0, &range, {0, 3}),
            AttributeValue{Color::grey(0.8)});
  EXPECT_EQ(styled->attribute(Attribute::Foreground, 1, &range, {0, 3}),
            AttributeValue{Color::red()});
  EXPECT_EQ(range, (Range{1, 1}));
  EXPECT_EQ(styled->attribute(Attribute::Font, 2, &range, {0, 3}), AttributeValue{Font::system()});
  EXPECT_EQ(range, (Range{0, 3}));
  EXPECT_FALSE(styled->attribute(Attribute::Background, 0, nullptr, {0, 3}).has_value());
  EXPECT_EQ(VXL_ANSIEscapeHelper().attributedStringWithANSIEscapedString(u"x")->attribute(
                Attribute::Foreground, 0, nullptr, {0, 1}),
            AttributeValue{Color::black()})
      << "no default colour is black";
}

}  // namespace
}  // namespace pellimo::ansi
