#include <gtest/gtest.h>

#include "ansi/StyledTextStream.h"

namespace pellimo::ansi {
namespace {

const Font kWidgetFont{"Mono", 11, Font::kRegularWeight, false};

/// The translation by the book: the clean text over the base attributes, with the listed runs
/// applied one after another.
StyledText runsApplied(const VXL_ANSIEscapeHelper& helper, std::u16string_view text) {
  std::u16string clean;
  const auto runs = *helper.attributesForString(text, &clean);
  StyledText styled(clean);
  const Range whole{0, styled.length()};
  styled.addAttribute(Attribute::Font, helper.font().value_or(Font::system()), whole);
  styled.addAttribute(Attribute::Foreground, helper.defaultStringColor().value_or(Color::black()),
                      whole);
  for (const AttributeRun& run : runs)
    styled.addAttribute(run.attributeName, run.attributeValue, run.range);
  return styled;
}

/// The same with the widget font laid over all of it.
StyledText translatedAtOnce(const VXL_ANSIEscapeHelper& helper, std::u16string_view text) {
  StyledText styled = runsApplied(helper, text);
  styled.addAttribute(Attribute::Font, kWidgetFont, {0, styled.length()});
  return styled;
}

void expectSame(const StyledText& a, const StyledText& b, const std::string& context) {
  ASSERT_EQ(a.string(), b.string()) << context;
  EXPECT_EQ(a.fonts().spans({0, a.length()}), b.fonts().spans({0, b.length()})) << context;
  EXPECT_EQ(a.foregrounds().spans({0, a.length()}), b.foregrounds().spans({0, b.length()}))
      << context;
  EXPECT_EQ(a.backgrounds().spans({0, a.length()}), b.backgrounds().spans({0, b.length()}))
      << context;
  EXPECT_EQ(a.underlines().spans({0, a.length()}), b.underlines().spans({0, b.length()}))
      << context;
}

TEST(StyledTextStream, AnySplitIntoTwoPiecesEqualsTheWholeTranslation) {
  VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(Color::grey(0.9));
  const std::u16string samples[] = {
      u"plain \x1b[31mred\x1b[0m, \x1b[4;44munder\x1b[24m blue\x1b[49m \x1b[38;5;208mok\x1b[39m",
      u"\x1b[2m\x1b[24m\x1b[21mdbl\x1b[0mx\x1b[1;3",
      u"a\x1b\x1b[32mb\x1b"
      u"c\x1b[2Jd\U0001F600e\x1b",
      u"\x1b[",
      u"ab",
      u"\x1b[48;2;1;2;3m\x1b[7mz",
  };
  for (const std::u16string& sample : samples) {
    const StyledText whole = translatedAtOnce(helper, sample);
    for (std::size_t split = 0; split <= sample.size(); ++split) {
      StyledTextStream stream(helper, kWidgetFont);
      stream.append(std::u16string_view(sample).substr(0, split));
      stream.append(std::u16string_view(sample).substr(split));
      stream.finish();
      expectSame(*stream.styledText(), whole, "split at " + std::to_string(split));
    }
  }
}

TEST(StyledTextStream, WithoutAnOverlayKeepsTheFontsTheCodesChoose) {
  VXL_ANSIEscapeHelper helper;
  helper.setFont(kWidgetFont);
  const std::u16string sample = u"a\x1b[1mbold\x1b[2mfaint\x1b[22m\x1b[1mx\x1b[0my";
  StyledTextStream stream(helper, std::nullopt);
  stream.append(sample);
  stream.finish();
  expectSame(*stream.styledText(), runsApplied(helper, sample), "no overlay");
  expectSame(*helper.attributedStringWithANSIEscapedString(sample), runsApplied(helper, sample),
             "the whole-text call");
}

TEST(StyledTextStream, UnitByUnitEqualsTheWholeTranslation) {
  VXL_ANSIEscapeHelper helper;
  const std::u16string sample = u"\x1b[1;31mbold\x1b[22m \x1b[91;4mx\x1b[0;4m\x1b[24my\x1b[m";
  StyledTextStream stream(helper, kWidgetFont);
  for (char16_t unit : sample)
    stream.append(std::u16string_view(&unit, 1));
  stream.finish();
  expectSame(*stream.styledText(), translatedAtOnce(helper, sample), "unit by unit");
}

TEST(StyledTextStream, TextShowsBeforeTheColourThatEndsIt) {
  VXL_ANSIEscapeHelper helper;
  StyledTextStream stream(helper, kWidgetFont);
  stream.append(u"\x1b[31mhal");
  EXPECT_EQ(stream.styledText()->string(), u"hal");
  EXPECT_EQ(stream.styledText()->attribute(Attribute::Foreground, 2, nullptr, {0, 3}),
            AttributeValue{Color::red()});
  stream.append(u"f\x1b[0m done");
  EXPECT_EQ(stream.styledText()->string(), u"half done");
}

TEST(StyledText, RemovingAPrefixKeepsTheAttributesOfTheRest) {
  StyledText text;
  text.append(u"ab", {kWidgetFont, Color::red(), std::nullopt, std::nullopt});
  text.append(u"cd", {kWidgetFont, Color::blue(), std::nullopt, 1});
  text.removePrefix(3);
  EXPECT_EQ(text.string(), u"d");
  EXPECT_EQ(text.attribute(Attribute::Foreground, 0, nullptr, {0, 1}),
            AttributeValue{Color::blue()});
  EXPECT_EQ(text.attribute(Attribute::Underline, 0, nullptr, {0, 1}), AttributeValue{1});
}

}  // namespace
}  // namespace pellimo::ansi
