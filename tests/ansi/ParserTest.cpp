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
  };
  for (const auto& c : cases) {
    VXL_ANSIEscapeHelper helper;
    helper.setFont(c.font);
    EXPECT_EQ(*helper.attributesForString(c.text, nullptr), c.runs) << encodeUtf8(c.text);
  }
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

TEST(StyledOutput, RunsNeverLeaveTheCleanText) {
  VXL_ANSIEscapeHelper helper;
  std::u16string clean;
  const auto runs = helper.attributesForString(u"\x1b[4;31;44mab\x1b[2;21mc\x1b[1", &clean);
  for (const auto& run : *runs)
    EXPECT_LE(run.range.end(), clean.size());
}

}  // namespace
}  // namespace pellimo::ansi
