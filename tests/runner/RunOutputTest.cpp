#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ansi/Utf8.h"
#include "runner/RunOutput.h"

namespace pellimo::runner {
namespace {

const ansi::Font kWidgetFont{"DejaVu Sans Mono", 11, ansi::Font::kRegularWeight, false};

/// What the widget shows for the whole output at once: decoded, translated, in the widget font.
ansi::StyledText translatedWhole(const ansi::VXL_ANSIEscapeHelper& helper, std::string_view bytes) {
  ansi::StyledText styled = *helper.attributedStringWithANSIEscapedString(ansi::decodeUtf8(bytes));
  styled.addAttribute(ansi::Attribute::Font, kWidgetFont, {0, styled.length()});
  return styled;
}

/// The attributes of both texts agree over their first `length` units.
void expectSameStyles(const ansi::StyledText& a, const ansi::StyledText& b, std::size_t length,
                      const std::string& context) {
  EXPECT_EQ(a.fonts().spans({0, length}), b.fonts().spans({0, length})) << context;
  EXPECT_EQ(a.foregrounds().spans({0, length}), b.foregrounds().spans({0, length})) << context;
  EXPECT_EQ(a.backgrounds().spans({0, length}), b.backgrounds().spans({0, length})) << context;
  EXPECT_EQ(a.underlines().spans({0, length}), b.underlines().spans({0, length})) << context;
}

TEST(RunOutput, TwoPiecesShowWhatTheWholeOutputShows) {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(ansi::Color::grey(0.9));
  const std::string samples[] = {
      // A colour opened in one piece and ended in a later one, escape sequences and two- and
      // four-byte characters cut anywhere.
      "plain \x1b[31mred \xc3\xa9t\xc3\xa9\x1b[0m \x1b[4;44munder \xf0\x9f\x98\x80\x1b[24m\n"
      "\x1b[1mbold\x1b[22m \x1b[38;5;208m\xe2\x82\xac\x1b[39m end\n",
      // Invalid bytes, and a character that never gets its last byte.
      "a\xff\x1b[32mb\xc3\x1b[0mc\xe2\x82",
  };
  for (const std::string& sample : samples) {
    const ansi::StyledText whole = translatedWhole(helper, sample);
    for (std::size_t split = 0; split <= sample.size(); ++split) {
      const std::string context = "split at byte " + std::to_string(split);
      RunOutput output(helper, Appearance{kWidgetFont, ansi::Color::grey(0.9)});
      output.append(QByteArray::fromStdString(sample.substr(0, split)));
      // Between the pieces the canvas shows a beginning of the whole, styled as in the whole.
      const ansi::StyledText& partial = *output.styledText();
      ASSERT_TRUE(whole.string().starts_with(partial.string())) << context;
      expectSameStyles(partial, whole, partial.length(), context + ", first piece");
      output.append(QByteArray::fromStdString(sample.substr(split)));
      output.finish();
      ASSERT_EQ(output.styledText()->string(), whole.string()) << context;
      expectSameStyles(*output.styledText(), whole, whole.length(), context);
    }
  }
}

TEST(RunOutput, ANewLookReachesWhatArrivedBeforeIt) {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(ansi::Color::white());
  RunOutput output(helper, Appearance{kWidgetFont, ansi::Color::white()});
  output.append("plain \x1b[31mred\x1b[0m");
  EXPECT_FALSE(output.restyle(Appearance{kWidgetFont, ansi::Color::white()}));

  const ansi::Font bigger{"DejaVu Sans Mono", 20, ansi::Font::kRegularWeight, false};
  helper.setDefaultStringColor(ansi::Color::grey(0.5));
  EXPECT_TRUE(output.restyle(Appearance{bigger, ansi::Color::grey(0.5)}));
  output.append(" more");
  const ansi::StyledText& text = *output.styledText();
  EXPECT_EQ(text.string(), u"plain red more");
  const ansi::Range whole{0, text.length()};
  EXPECT_EQ(text.attribute(ansi::Attribute::Foreground, 0, nullptr, whole),
            ansi::AttributeValue{ansi::Color::grey(0.5)});
  EXPECT_EQ(text.attribute(ansi::Attribute::Foreground, 7, nullptr, whole),
            ansi::AttributeValue{ansi::Color::red()});
  ansi::Range fontRange;
  EXPECT_EQ(text.attribute(ansi::Attribute::Font, 0, &fontRange, whole),
            ansi::AttributeValue{bigger});
  EXPECT_EQ(fontRange, whole);
}

TEST(RunOutput, OutputUpToTheBoundIsKeptWholeAndOneUnitMoreIsCutAtALineStart) {
  ansi::VXL_ANSIEscapeHelper helper;
  RunOutput output(helper, Appearance{kWidgetFont, ansi::Color::white()});
  const QByteArray line("0123456789abcde\n");
  static_assert(RunOutput::kMaxUnits % 16 == 0);
  output.append(line.repeated(static_cast<qsizetype>(RunOutput::kMaxUnits / 16)));
  EXPECT_EQ(output.styledText()->length(), RunOutput::kMaxUnits);

  output.append("x");
  const std::u16string& kept = output.styledText()->string();
  EXPECT_LT(kept.size(), RunOutput::kMaxUnits);
  EXPECT_TRUE(kept.starts_with(u"0123456789abcde\n"));
  EXPECT_TRUE(kept.ends_with(u"\nx"));
}

}  // namespace
}  // namespace pellimo::runner
