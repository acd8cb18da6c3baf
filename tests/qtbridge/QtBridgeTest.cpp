// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QRgba64>
#include <limits>

#include "TestSupport.h"
#include "qtbridge/QtColor.h"
#include "qtbridge/QtFont.h"

namespace pellimo::test {
namespace {

using ansi::Color;
using ansi::Font;

TEST(QtColor, ComponentsGoToTheNearestSixteenBitValue) {
  // Just either side of a half step, where passing through float rounds the wrong way.
  const double half = 32767.5 / 65535.0;
  const std::pair<double, quint16> cases[] = {{half - 1e-9, 32767},
                                              {half + 1e-9, 32768},
                                              {1.0 / 3, 21845},
                                              {1e-9, 0},
                                              {-0.25, 0},
                                              {1.25, 65535},
                                              {std::numeric_limits<double>::quiet_NaN(), 0}};
  for (const auto& [value, expected] : cases) {
    const QRgba64 rgba = qtbridge::toQColor(Color::rgb(value, value, value, value)).rgba64();
    EXPECT_EQ(QRgba64::fromRgba64(expected, expected, expected, expected), rgba) << value;
  }
  const QRgba64 grey = qtbridge::toQColor(Color::grey(0.25, 0.5)).rgba64();
  EXPECT_EQ(grey, QRgba64::fromRgba64(16384, 16384, 16384, 32768));
}

TEST(QtColor, EightBitValuesCrossBothWaysExactlyAndSixteenBitOnesComeBack) {
  for (int n = 0; n <= 255; ++n) {
    const QColor eightBit(n, 255 - n, n / 2, 255 - n / 3);
    const Color exact =
        Color::rgb(n / 255.0, (255 - n) / 255.0, (n / 2) / 255.0, (255 - n / 3) / 255.0);
    EXPECT_EQ(qtbridge::fromQColor(eightBit), exact) << n;
    EXPECT_EQ(qtbridge::toQColor(exact), eightBit) << n;
  }
  for (quint16 value : {1, 257, 21845, 32767, 32768, 65534}) {
    const QColor original(QRgba64::fromRgba64(value, 65535 - value, value / 3, value));
    EXPECT_EQ(qtbridge::toQColor(qtbridge::fromQColor(original)), original) << value;
  }
  EXPECT_EQ(qtbridge::fromQColor(QColor::fromHsv(240, 255, 255)), Color::blue());
}

TEST(QtFont, WeightStepsMapToQtWeightsAndNearestStepsBack) {
  const struct {
    int step;
    int qtWeight;
    int stepBack;
  } steps[] = {{-3, 100, 0}, {1, 100, 0}, {2, 200, 2},   {4, 400, 5},   {6, 500, 6},
               {8, 600, 7},  {9, 700, 9}, {12, 800, 11}, {15, 900, 13}, {20, 900, 13}};
  for (const auto& c : steps) {
    const QFont qfont = qtbridge::toQFont(Font{"DejaVu Sans", 11, c.step, false});
    EXPECT_EQ(qfont.weight(), c.qtWeight) << c.step;
    EXPECT_EQ(qtbridge::fromQFont(qfont).weight, c.stepBack) << c.step;
  }
  // Between two steps, the regular and bold ones win.
  for (const auto& [qtWeight, step] : {std::pair{450, 5}, {650, 9}, {350, 5}, {250, 2}}) {
    QFont qfont;
    qfont.setWeight(static_cast<QFont::Weight>(qtWeight));
    EXPECT_EQ(qtbridge::fromQFont(qfont).weight, step) << qtWeight;
  }
}

TEST(QtFont, FamilySizeAndItalicCrossBothWays) {
  const Font font{"DejaVu Serif", 17.5, Font::kBoldWeight, true};
  EXPECT_EQ(qtbridge::fromQFont(qtbridge::toQFont(font)), font);
  const QFont system = qtbridge::toQFont(Font{"", 0, Font::kRegularWeight, false});
  EXPECT_FALSE(system.family().isEmpty());
  EXPECT_GT(system.pointSizeF(), 0);
}

}  // namespace
}  // namespace pellimo::test
