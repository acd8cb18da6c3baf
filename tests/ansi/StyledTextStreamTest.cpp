// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "ansi/StyledTextStream.h"

namespace pellimo::ansi {
namespace {

const Font kWidgetFont{"Mono", 11, Font::kRegularWeight, false};

/// The translation by the book: the clean text over the base attributes, with the listed runs
/// applied one after another, and the overlay font (if any) laid over all of it.
StyledText byTheBook(const VXL_ANSIEscapeHelper& helper, std::u16string_view text,
                     const std::optional<Font>& overlay) {
  std::u16string clean;
  const auto runs = *helper.attributesForString(text, &clean);
  StyledText styled(clean);
  const Range whole{0, styled.length()};
  styled.addAttribute(Attribute::Font, helper.font().value_or(Font::system()), whole);
  styled.addAttribute(Attribute::Foreground, helper.defaultStringColor().value_or(Color::black()),
                      whole);
  for (const AttributeRun& run : runs)
    styled.addAttribute(run.attributeName, run.attributeValue, run.range);
  if (overlay) styled.addAttribute(Attribute::Font, *overlay, whole);
  return styled;
}

auto layers(const StyledText& text) {
  const Range whole{0, text.length()};
  return std::tuple(text.string(), text.fonts().spans(whole), text.foregrounds().spans(whole),
                    text.backgrounds().spans(whole), text.underlines().spans(whole));
}

TEST(StyledTextStream, AnySplitEqualsTheWholeTranslation) {
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
      u"\x1b[1;31mbold\x1b[22m \x1b[91;4mx\x1b[0;4m\x1b[24my\x1b[m",
  };
  for (const std::u16string& sample : samples) {
    const StyledText whole = byTheBook(helper, sample, kWidgetFont);
    for (std::size_t split = 0; split <= sample.size(); ++split) {
      StyledTextStream stream(helper, kWidgetFont);
      stream.append(std::u16string_view(sample).substr(0, split));
      stream.append(std::u16string_view(sample).substr(split));
      stream.finish();
      EXPECT_EQ(layers(*stream.styledText()), layers(whole)) << "split at " + std::to_string(split);
    }
  }
}

TEST(StyledTextStream, WithoutAnOverlayKeepsTheFontsTheCodesChoose) {
  VXL_ANSIEscapeHelper helper;
  helper.setFont(kWidgetFont);
  const std::u16string sample = u"a\x1b[1mbold\x1b[2mfaint\x1b[22m\x1b[1mx\x1b[0my";
  // The whole translation is streamed without an overlay.
  EXPECT_EQ(layers(*helper.attributedStringWithANSIEscapedString(sample)),
            layers(byTheBook(helper, sample, std::nullopt)));
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

TEST(StyledTextStream, ClearScreensMeanSomethingOnlyToAWatcher) {
  VXL_ANSIEscapeHelper helper;
  const std::u16string sample = u"a\fb\x1b[2Jc\x1b[3Jd";
  StyledTextStream plain(helper, kWidgetFont);
  plain.append(sample);
  EXPECT_EQ(plain.styledText()->string(), u"a\fbcd");
  // The watcher hears of each clear where it comes: after "a", then after "b".
  std::vector<std::size_t> at;
  StyledTextStream watched(helper, kWidgetFont,
                           [&] { at.push_back(watched.styledText()->length()); });
  watched.append(sample);
  EXPECT_EQ(watched.styledText()->string(), u"abcd");
  EXPECT_EQ(at, (std::vector<std::size_t>{1, 2}));
}

}  // namespace
}  // namespace pellimo::ansi
