#include <gtest/gtest.h>

#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {
namespace {

std::vector<AttributeRun> runsOf(std::u16string_view text) {
  return *VXL_ANSIEscapeHelper().attributesForString(text, nullptr);
}

AttributeRun fg(Color color, std::size_t location, std::size_t length) {
  return {Attribute::Foreground, color, {location, length}};
}

Color rgb8(int r, int g, int b) {
  return Color::rgb(r / 255.0, g / 255.0, b / 255.0);
}

TEST(ExtendedColours, PaletteIndicesMapToTableCubeAndGreyRamp) {
  const std::pair<std::u16string, Color> cases[] = {
      {u"\x1b[38;5;1mX", Color::red()},
      {u"\x1b[38;5;9mX", VXL_ANSIEscapeHelper().colorForSGRCode(91)},
      {u"\x1b[38;5;196mX", Color::rgb(1, 0, 0)},
      {u"\x1b[38;5;16mX", Color::rgb(0, 0, 0)},
      {u"\x1b[38;5;110mX", rgb8(135, 175, 215)},
      {u"\x1b[38;5;232mX", rgb8(8, 8, 8)},
      {u"\x1b[38;5;255mX", rgb8(238, 238, 238)},
      {u"\x1b[38;2;10;20;30mX", rgb8(10, 20, 30)},
  };
  for (const auto& [text, color] : cases) {
    EXPECT_EQ(runsOf(text), std::vector{fg(color, 0, 1)}) << encodeUtf8(text);
  }
}

TEST(ExtendedColours, BackgroundFormsUseBackgroundCodes) {
  VXL_ANSIEscapeHelper helper;
  (*helper.ansiColors())[42] = Color::grey(0.25);
  const auto runs = *helper.attributesForString(u"\x1b[48;5;2mX\x1b[48;5;10mY", nullptr);
  EXPECT_EQ(runs, (std::vector<AttributeRun>{
                      {Attribute::Background, Color::grey(0.25), {0, 1}},
                      {Attribute::Background, helper.colorForSGRCode(102), {1, 1}}}));
}

TEST(ExtendedColours, OpenAndEndRunsAsColoursDoAndTheirParametersMeanNothing) {
  const std::pair<std::u16string, std::vector<AttributeRun>> cases[] = {
      // The 0, 4 and 31 are colour components, not a reset, an underline or red.
      {u"\x1b[4mA\x1b[38;2;0;4;31mB",
       {{Attribute::Underline, 1, {0, 2}}, fg(rgb8(0, 4, 31), 1, 1)}},
      {u"\x1b[31mA\x1b[38;5;21mB\x1b[39mC", {fg(Color::red(), 0, 1), fg(Color::blue(), 1, 1)}},
      {u"\x1b[38;5;21mA\x1b[38;2;1;2;3mB", {fg(Color::blue(), 0, 1), fg(rgb8(1, 2, 3), 1, 1)}},
      {u"\x1b[31mA\x1b[48;5;1mB",
       {fg(Color::red(), 0, 2), {Attribute::Background, Color::red(), {1, 1}}}},
      // Out of range: 38 is ignored, 5 (blink) and 300 mean nothing.
      {u"\x1b[38;5;300mX", {}},
      // Too few components: the 31 that follows is read as red.
      {u"\x1b[38;2;31mX", {fg(Color::red(), 0, 1)}},
      // Parameters from a later sequence do not complete a selection.
      {u"\x1b[38;5m\x1b[31mX", {fg(Color::red(), 0, 1)}},
  };
  for (const auto& [text, runs] : cases) {
    EXPECT_EQ(runsOf(text), runs) << encodeUtf8(text);
  }
}

}  // namespace
}  // namespace pellimo::ansi
