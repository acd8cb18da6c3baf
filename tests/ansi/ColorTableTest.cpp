#include <gtest/gtest.h>

#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {
namespace {

TEST(ColorTable, BrightColoursHaveTheirListedComponents) {
  VXL_ANSIEscapeHelper helper;
  struct Case {
    int code;
    double r, g, b;
  };
  for (const Case& c :
       {Case{91, 1.0, 0.6, 0.6}, Case{92, 0.6, 1.0, 0.6}, Case{93, 1.0, 1.0, 0.6},
        Case{94, 0.6, 0.6, 1.0}, Case{95, 1.0, 0.6, 1.0}, Case{96, 0.6, 1.0, 1.0}}) {
    const Color color = helper.colorForSGRCode(c.code);
    EXPECT_EQ(color.model, Color::Model::RGB) << c.code;
    EXPECT_NEAR(color.redComponent(), c.r, 1e-12) << c.code;
    EXPECT_NEAR(color.greenComponent(), c.g, 1e-12) << c.code;
    EXPECT_NEAR(color.blueComponent(), c.b, 1e-12) << c.code;
    EXPECT_EQ(helper.colorForSGRCode(c.code + 10), color) << "background shares the colour";
  }
  EXPECT_EQ(helper.colorForSGRCode(90), Color::grey(0.337));
}

TEST(ColorTable, WhiteAndBrightWhiteAreOneColour) {
  VXL_ANSIEscapeHelper helper;
  EXPECT_EQ(helper.colorForSGRCode(37), Color::white());
  EXPECT_EQ(helper.colorForSGRCode(97), Color::white());
  EXPECT_EQ(helper.colorForSGRCode(47), helper.colorForSGRCode(107));
}

TEST(ColorTable, CodesWithoutAColourGiveBlack) {
  VXL_ANSIEscapeHelper helper;
  for (int code : {38, 39, 48, 49, 0, 1000, -1}) {
    EXPECT_EQ(helper.colorForSGRCode(code), Color::black()) << code;
  }
}

TEST(ColorTable, OverrideAppliesToItsCodeOnly) {
  VXL_ANSIEscapeHelper helper;
  const Color orange = Color::rgb(1, 0.5, 0);
  (*helper.ansiColors())[31] = orange;
  EXPECT_EQ(helper.colorForSGRCode(31), orange);
  EXPECT_EQ(helper.colorForSGRCode(41), Color::red());
}

TEST(ColorTable, OverrideTableIsSharedNotCopied) {
  VXL_ANSIEscapeHelper first, second;
  auto table = std::make_shared<VXL_ANSIEscapeHelper::ColorTable>();
  first.setAnsiColors(table);
  second.setAnsiColors(table);
  (*first.ansiColors())[32] = Color::grey(0.5);
  EXPECT_EQ(second.colorForSGRCode(32), Color::grey(0.5));
}

TEST(ColorTable, FreshTranslatorHasEmptyTableAndNoFontOrColour) {
  VXL_ANSIEscapeHelper helper;
  ASSERT_NE(helper.ansiColors(), nullptr);
  EXPECT_TRUE(helper.ansiColors()->empty());
  EXPECT_FALSE(helper.font().has_value());
  EXPECT_FALSE(helper.defaultStringColor().has_value());
}

TEST(EndRelation, MatchesTheTable) {
  struct Case {
    int later, opener;
    bool ends;
  };
  for (const Case& c :
       {Case{0, 31, true}, Case{39, 91, true}, Case{49, 31, false}, Case{31, 41, false},
        Case{22, 2, false}, Case{2, 1, true}, Case{31, 31, true}, Case{24, 21, true},
        Case{0, 24, false}, Case{107, 40, true}, Case{0, -1, false}, Case{1, 22, true}}) {
    EXPECT_EQ(VXL_ANSIEscapeHelper::VXL_SGRCodeEndsFormattingIntroducedByCode(c.later, c.opener),
              c.ends)
        << c.later << " after " << c.opener;
  }
}

TEST(ColorModel, HsbOfGreysHasNoHueOrSaturation) {
  const HSB hsb = getHSBFromColor(Color::grey(0.4));
  EXPECT_EQ(hsb, makeHSB(0, 0, 0.4));
}

TEST(ColorModel, HsbRoundTripsThroughRgb) {
  const Color c = Color::fromHSB(0.25, 0.5, 0.8);
  const HSB hsb = c.hsb();
  EXPECT_NEAR(hsb.hue, 0.25, 1e-12);
  EXPECT_NEAR(hsb.saturation, 0.5, 1e-12);
  EXPECT_NEAR(hsb.brightness, 0.8, 1e-12);
}

TEST(ColorModel, FloatsEqualIsStrict) {
  EXPECT_TRUE(floatsEqual(1.0, 1.0 + 1e-7, 1e-6));
  EXPECT_FALSE(floatsEqual(0.5, 0.75, 0.25));
}

}  // namespace
}  // namespace pellimo::ansi
