#include <gtest/gtest.h>

#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {
namespace {

std::vector<AttributeRun> runsOf(std::u16string_view text) {
  VXL_ANSIEscapeHelper helper;
  return *helper.attributesForString(text, nullptr);
}

AttributeRun run(Attribute name, Color color, std::size_t location, std::size_t length) {
  return {name, color, {location, length}};
}

TEST(ExtendedColours, PaletteIndicesMapToTableCubeAndGreyRamp) {
  struct Case {
    std::u16string text;
    Color color;
  };
  const Case cases[] = {
      {u"\x1b[38;5;1mX", Color::red()},
      {u"\x1b[38;5;9mX", VXL_ANSIEscapeHelper().colorForSGRCode(91)},
      {u"\x1b[38;5;196mX", Color::rgb(1, 0, 0)},
      {u"\x1b[38;5;16mX", Color::rgb(0, 0, 0)},
      {u"\x1b[38;5;110mX", Color::rgb(135 / 255.0, 175 / 255.0, 215 / 255.0)},
      {u"\x1b[38;5;232mX", Color::rgb(8 / 255.0, 8 / 255.0, 8 / 255.0)},
      {u"\x1b[38;5;255mX", Color::rgb(238 / 255.0, 238 / 255.0, 238 / 255.0)},
      {u"\x1b[38;2;10;20;30mX", Color::rgb(10 / 255.0, 20 / 255.0, 30 / 255.0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(runsOf(c.text), std::vector{run(Attribute::Foreground, c.color, 0, 1)});
  }
}

TEST(ExtendedColours, BackgroundFormsUseBackgroundCodes) {
  VXL_ANSIEscapeHelper helper;
  (*helper.ansiColors())[42] = Color::grey(0.25);
  const auto runs = *helper.attributesForString(u"\x1b[48;5;2mX\x1b[48;5;10mY", nullptr);
  EXPECT_EQ(runs, (std::vector{run(Attribute::Background, Color::grey(0.25), 0, 1),
                               run(Attribute::Background, helper.colorForSGRCode(102), 1, 1)}));
}

TEST(ExtendedColours, ConsumedParametersNeitherOpenNorEndRuns) {
  // The 0, 4 and 31 here are colour components, not a reset, an underline or red.
  EXPECT_EQ(runsOf(u"\x1b[4mA\x1b[38;2;0;4;31mB"),
            (std::vector{AttributeRun{Attribute::Underline, 1, {0, 2}},
                         run(Attribute::Foreground, Color::rgb(0, 4 / 255.0, 31 / 255.0), 1, 1)}));
}

TEST(ExtendedColours, EndedLikeColourRunsAndEndingThem) {
  EXPECT_EQ(runsOf(u"\x1b[31mA\x1b[38;5;21mB\x1b[39mC"),
            (std::vector{run(Attribute::Foreground, Color::red(), 0, 1),
                         run(Attribute::Foreground, Color::rgb(0, 0, 1), 1, 1)}));
  EXPECT_EQ(
      runsOf(u"\x1b[38;5;21mA\x1b[38;2;1;2;3mB"),
      (std::vector{run(Attribute::Foreground, Color::rgb(0, 0, 1), 0, 1),
                   run(Attribute::Foreground, Color::rgb(1 / 255.0, 2 / 255.0, 3 / 255.0), 1, 1)}));
  // A background selection leaves foreground runs alone.
  EXPECT_EQ(runsOf(u"\x1b[31mA\x1b[48;5;1mB").front(),
            run(Attribute::Foreground, Color::red(), 0, 2));
}

TEST(ExtendedColours, InvalidFormsAreIgnoredAndTheRestReadAsCodes) {
  // 300 is out of range: 38 is ignored, 5 (blink) means nothing, 300 means nothing.
  EXPECT_TRUE(runsOf(u"\x1b[38;5;300mX").empty());
  // Too few components: the 31 that follows is read as red.
  EXPECT_EQ(runsOf(u"\x1b[38;2;31mX"), std::vector{run(Attribute::Foreground, Color::red(), 0, 1)});
  // Parameters from a later sequence do not complete a selection.
  EXPECT_EQ(runsOf(u"\x1b[38;5m\x1b[31mX"),
            std::vector{run(Attribute::Foreground, Color::red(), 0, 1)});
}

TEST(ExtendedColours, ScannerStillListsEveryParameter) {
  VXL_ANSIEscapeHelper helper;
  const auto records = *helper.escapeCodesForString(u"\x1b[38;2;1;2;3m", nullptr);
  ASSERT_EQ(records.size(), 5u);
  for (const auto& record : records)
    EXPECT_EQ(record.sequence, records.front().sequence);
}

}  // namespace
}  // namespace pellimo::ansi
