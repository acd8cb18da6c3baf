// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {
namespace {

const Font kRegular{"Test", 12, Font::kRegularWeight, false};

TEST(Encoding, FourCodesOpenEachStretchAndAResetEndsTheText) {
  VXL_ANSIEscapeHelper helper;
  EXPECT_EQ(helper.ansiEscapedStringWithAttributedString(std::nullopt), u"\x1b[0m");
  EXPECT_EQ(helper.ansiEscapedStringWithAttributedString(StyledText(u"")), u"\x1b[0m");
  // Bold from weight 9, only styles 1 and 9 underline, and absent colours are the defaults.
  auto encode = [&](int weight, int underline) {
    StyledText text(u"x");
    text.addAttribute(Attribute::Font, Font{"Test", 12, weight, false}, {0, 1});
    text.addAttribute(Attribute::Underline, underline, {0, 1});
    return helper.ansiEscapedStringWithAttributedString(text);
  };
  EXPECT_EQ(encode(8, 2), u"\x1b[22m\x1b[39m\x1b[49m\x1b[24mx\x1b[0m");
  EXPECT_EQ(encode(9, 9), u"\x1b[1m\x1b[39m\x1b[49m\x1b[21mx\x1b[0m");
  EXPECT_EQ(encode(5, 1), u"\x1b[22m\x1b[39m\x1b[49m\x1b[4mx\x1b[0m");
}

TEST(Insertion, SortsByLocationStablyAndDropsBadRecords) {
  const std::u16string clean = u"hello world";
  EXPECT_EQ(VXL_ANSIEscapeHelper::ansiEscapedStringWithCodesAndLocations({{31, 5}, {1, 0}}, clean),
            u"\x1b[1mhello\x1b[31m world\x1b[0m");
  EXPECT_EQ(VXL_ANSIEscapeHelper::ansiEscapedStringWithCodesAndLocations(
                {{4, 11}, {7, 12}, {std::nullopt, 2}, {5, std::nullopt}}, clean),
            u"hello world\x1b[4m\x1b[0m");
  EXPECT_EQ(
      VXL_ANSIEscapeHelper::ansiEscapedStringWithCodesAndLocations({{-2147483647 - 1, 0}}, u""),
      u"\x1b[-2147483648m\x1b[0m");
}

TEST(ColourLookup, TheExactCodeElseTheNearestByHueThenSaturationThenBrightness) {
  VXL_ANSIEscapeHelper helper;
  const struct {
    const char* name;
    Color color;
    int exact, foreground, background;
  } cases[] = {
      {"black", Color::black(), 30, 30, 40},
      {"white", Color::white(), 37, 37, 47},
      {"bright black", Color::grey(0.337), 90, 90, 100},
      // Equality is exact, model included: an RGB white is not the grey white.
      {"RGB white", Color::rgb(1, 1, 1), -1, 37, 47},
      {"mid grey", Color::grey(0.5), -1, 90, 100},
      {"light grey", Color::grey(0.8), -1, 37, 47},
      {"dark grey", Color::grey(0.2), -1, 90, 100},
      {"orange", Color::rgb(1, 0.5, 0), -1, 31, 41},
      {"pink", Color::rgb(1, 0.7, 0.7), -1, 91, 101},
      {"navy", Color::rgb(0, 0, 0.5), -1, 34, 44},
      {"hue 0.99", Color::fromHSB(0.99, 1, 1), -1, 35, 45},
      {"hue 0.25", Color::fromHSB(0.25, 1, 1), -1, 32, 42},
      // Halfway between green and cyan in hue, equal in the rest: green wins the tie.
      {"spring green", Color::rgb(0, 1, 0.5), -1, 32, 42},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(helper.VXL_SGRCodeForColor(c.color, true), c.exact) << c.name;
    EXPECT_EQ(helper.VXL_SGRCodeForColor(c.color, false), c.exact < 0 ? -1 : c.exact + 10)
        << c.name;
    EXPECT_EQ(helper.closestSGRCodeForColor(c.color, true), c.foreground) << c.name;
    EXPECT_EQ(helper.closestSGRCodeForColor(c.color, false), c.background) << c.name;
  }
  EXPECT_EQ(helper.closestSGRCodeForColor(std::nullopt, true), -1);
}

TEST(ColourLookup, AnOverrideIsSharedNotCopiedAndFoundOnlyForItsCode) {
  VXL_ANSIEscapeHelper first, second;
  auto table = std::make_shared<VXL_ANSIEscapeHelper::ColorTable>();
  first.setAnsiColors(table);
  second.setAnsiColors(table);
  const Color teal = Color::rgb(0, 0.5, 0.5);
  (*first.ansiColors())[31] = teal;
  EXPECT_EQ(second.colorForSGRCode(31), teal);
  EXPECT_EQ(second.colorForSGRCode(41), Color::red());
  EXPECT_EQ(second.VXL_SGRCodeForColor(teal, true), 31);
  EXPECT_EQ(second.VXL_SGRCodeForColor(teal, false), -1);
}

TEST(RoundTrip, ParsedTextEncodesEachStretchWithTheCodesThatMadeIt) {
  VXL_ANSIEscapeHelper helper;
  helper.setFont(kRegular);
  const auto styled = helper.attributedStringWithANSIEscapedString(
      u"plain \x1b[1;31mbold red\x1b[0m \x1b[4;44munder blue\x1b[24;49m \x1b[21;92mdbl\x1b[0m!");
  // No default colour is black, which encodes as 30.
  EXPECT_EQ(
      helper.ansiEscapedStringWithAttributedString(styled),
      u"\x1b[22m\x1b[30m\x1b[49m\x1b[24mplain \x1b[1m\x1b[31mbold red\x1b[22m\x1b[30m "
      u"\x1b[44m\x1b[4munder blue\x1b[49m\x1b[24m \x1b[92m\x1b[21mdbl\x1b[30m\x1b[24m!\x1b[0m");
}

}  // namespace
}  // namespace pellimo::ansi
