#include <gtest/gtest.h>

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

struct ScanCase {
  std::u16string input;
  std::u16string clean;
  Codes codes;
};

class Scanning : public testing::TestWithParam<ScanCase> {};

TEST_P(Scanning, GivesCleanTextAndCodes) {
  VXL_ANSIEscapeHelper helper;
  std::u16string clean = u"untouched";
  auto records = helper.escapeCodesForString(GetParam().input, &clean);
  ASSERT_TRUE(records.has_value());
  EXPECT_EQ(clean, GetParam().clean);
  EXPECT_EQ(codesOf(*records), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, Scanning,
    testing::Values(ScanCase{u"plain text", u"plain text", {}}, ScanCase{u"ab", u"ab", {}},
                    ScanCase{u"\x1b[", u"\x1b[", {}}, ScanCase{u"\x1b[2J\x1b[Hclear", u"clear", {}},
                    ScanCase{u"\x1b[1;31mred\x1b[0m", u"red", {{1, 0}, {31, 0}, {0, 3}}},
                    ScanCase{u"\x1b[031mX", u"X", {{31, 0}}},
                    ScanCase{u"\x1b[ 31mX", u"X", {{31, 0}}},
                    ScanCase{u"\x1b[;m", u"", {{0, 0}, {0, 0}}}, ScanCase{u"\x1b[m", u"", {{0, 0}}},
                    ScanCase{u"abc\x1b[1;3", u"abc", {{1, 3}}}, ScanCase{u"x\x1b", u"x\x1b", {}},
                    ScanCase{u"a\x1b"
                             u"b\x1b[4mc",
                             u"a\x1b"
                             u"bc",
                             {{4, 3}}},
                    ScanCase{u"\x1b[4294967297m", u"", {{1, 0}}},
                    ScanCase{u"\x1b[38;5;196mX", u"X", {{38, 0}, {5, 0}, {196, 0}}},
                    ScanCase{u"\U0001F600\x1b[31mX", u"\U0001F600X", {{31, 2}}}));

TEST(Scanning, NullInputGivesNullAndLeavesCleanTextAlone) {
  VXL_ANSIEscapeHelper helper;
  std::u16string clean = u"kept";
  EXPECT_FALSE(helper.escapeCodesForString(std::nullopt, &clean).has_value());
  EXPECT_FALSE(helper.attributesForString(std::nullopt, &clean).has_value());
  EXPECT_FALSE(helper.attributedStringWithANSIEscapedString(std::nullopt).has_value());
  EXPECT_EQ(clean, u"kept");
}

AttributeRun foreground(Color color, std::size_t location, std::size_t length) {
  return {Attribute::Foreground, color, {location, length}};
}
AttributeRun underline(int style, std::size_t location, std::size_t length) {
  return {Attribute::Underline, style, {location, length}};
}

std::vector<AttributeRun> runsOf(std::u16string_view text,
                                 std::optional<Font> font = std::nullopt) {
  VXL_ANSIEscapeHelper helper;
  helper.setFont(std::move(font));
  return *helper.attributesForString(text, nullptr);
}

TEST(Runs, ColourRunEndsAtTheNextColour) {
  EXPECT_EQ(runsOf(u"\x1b[31mA\x1b[32mB"),
            (std::vector{foreground(Color::red(), 0, 1), foreground(Color::green(), 1, 1)}));
}

TEST(Runs, UnderlineOffRunsToTheEnd) {
  EXPECT_EQ(runsOf(u"a\x1b[4mb\x1b[24mc"),
            (std::vector{underline(kUnderlineSingle, 1, 1), underline(kUnderlineNone, 2, 1)}));
}

TEST(Runs, ResetBeforeOrAfterAColourInOneSequence) {
  EXPECT_EQ(runsOf(u"\x1b[0;31mX"), std::vector{foreground(Color::red(), 0, 1)});
  EXPECT_EQ(runsOf(u"\x1b[31;0mX"), std::vector{foreground(Color::red(), 0, 0)});
}

TEST(Runs, SameCodeAgainEndsTheFirstRunAndOpensItsOwn) {
  EXPECT_EQ(runsOf(u"\x1b[31mab\x1b[31mcd"),
            (std::vector{foreground(Color::red(), 0, 2), foreground(Color::red(), 2, 2)}));
}

TEST(Runs, FontCodesNeedAFont) {
  EXPECT_TRUE(runsOf(u"\x1b[1mbold\x1b[22m").empty());
  const Font font{"Test", 12, Font::kRegularWeight, false};
  const auto runs = runsOf(u"\x1b[1mbo\x1b[22mld", font);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (AttributeRun{Attribute::Font, *boldFont(font), {0, 2}}));
  EXPECT_EQ(runs[1], (AttributeRun{Attribute::Font, font, {2, 2}}));
}

TEST(Runs, FaintIsEndedByNothing) {
  const Font font{"Test", 12, Font::kBoldWeight, false};
  const auto runs = runsOf(u"\x1b[2mA\x1b[0mB", font);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].range, (Range{0, 2}));
  EXPECT_EQ(std::get<Font>(runs[0].attributeValue).weight, Font::kRegularWeight);
}

TEST(Runs, ItalicAndUnknownCodesOpenNothing) {
  EXPECT_TRUE(runsOf(u"\x1b[3;5;7;53mX").empty());
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
}

TEST(StyledOutput, NoDefaultColourMeansBlack) {
  VXL_ANSIEscapeHelper helper;
  const auto styled = helper.attributedStringWithANSIEscapedString(u"x");
  EXPECT_EQ(styled->attribute(Attribute::Foreground, 0, nullptr, {0, 1}),
            AttributeValue{Color::black()});
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
