#include <gtest/gtest.h>

#include <QRgba64>
#include <cmath>
#include <limits>

#include "TestSupport.h"
#include "qtbridge/QtColor.h"
#include "qtbridge/QtFont.h"

namespace pellimo::test {
namespace {

using ansi::Color;
using ansi::Font;

QRgba64 rgba64(const Color& color) {
  return qtbridge::toQColor(color).rgba64();
}

TEST(QtColor, ComponentsGoToTheNearestSixteenBitValue) {
  // Just either side of a half step, where passing through float rounds the wrong way.
  const double half = 32767.5 / 65535.0;
  const struct {
    double value;
    quint16 expected;
  } cases[] = {{half - 1e-9, 32767},
               {half + 1e-9, 32768},
               {1.0 / 3, 21845},
               {0.1, 6554},
               {1e-9, 0},
               {-0.25, 0},
               {1.25, 65535},
               {1, 65535},
               {std::numeric_limits<double>::quiet_NaN(), 0}};
  for (const auto& c : cases) {
    const QRgba64 channels[] = {
        rgba64(Color::rgb(c.value, 0, 0)), rgba64(Color::rgb(0, c.value, 0)),
        rgba64(Color::rgb(0, 0, c.value)), rgba64(Color::rgb(0, 0, 0, c.value))};
    EXPECT_EQ(channels[0].red(), c.expected) << c.value;
    EXPECT_EQ(channels[1].green(), c.expected) << c.value;
    EXPECT_EQ(channels[2].blue(), c.expected) << c.value;
    EXPECT_EQ(channels[3].alpha(), c.expected) << c.value;
  }
}

TEST(QtColor, GreysSpreadOverTheThreeComponents) {
  const QRgba64 grey = rgba64(Color::grey(0.25, 0.5));
  EXPECT_EQ(grey.red(), 16384);
  EXPECT_EQ(grey.green(), 16384);
  EXPECT_EQ(grey.blue(), 16384);
  EXPECT_EQ(grey.alpha(), 32768);
}

TEST(QtColor, EveryEightBitValueCrossesBothWaysExactly) {
  for (int n = 0; n <= 255; ++n) {
    const double fraction = n / 255.0;
    const QColor eightBit(n, 255 - n, n / 2, 255 - n / 3);
    const Color exact =
        Color::rgb(fraction, (255 - n) / 255.0, (n / 2) / 255.0, (255 - n / 3) / 255.0);
    EXPECT_EQ(qtbridge::fromQColor(eightBit), exact) << n;
    EXPECT_EQ(qtbridge::toQColor(exact), eightBit) << n;
  }
}

TEST(QtColor, SixteenBitColoursComeBackUnchanged) {
  for (quint16 value : {0, 1, 255, 256, 21845, 32767, 32768, 65534, 65535}) {
    const QColor original(QRgba64::fromRgba64(value, 65535 - value, value / 3, value));
    EXPECT_EQ(qtbridge::toQColor(qtbridge::fromQColor(original)), original) << value;
  }
}

TEST(QtColor, ColoursOfOtherModelsArriveAsRgb) {
  EXPECT_EQ(qtbridge::fromQColor(QColor::fromHsv(240, 255, 255)), Color::blue());
  EXPECT_EQ(qtbridge::fromQColor(QColor(Qt::white)), Color::rgb(1, 1, 1));
}

TEST(QtFont, WeightStepsMapToQtWeightsAndBack) {
  const struct {
    int step;
    int qtWeight;
    int stepBack;
  } cases[] = {{-3, 100, 0},  {0, 100, 0},   {1, 100, 0},  {2, 200, 2}, {4, 400, 5},
               {5, 400, 5},   {6, 500, 6},   {8, 600, 7},  {9, 700, 9}, {10, 700, 9},
               {12, 800, 11}, {15, 900, 13}, {20, 900, 13}};
  for (const auto& c : cases) {
    const QFont qfont = qtbridge::toQFont(Font{"DejaVu Sans", 11, c.step, false});
    EXPECT_EQ(qfont.weight(), c.qtWeight) << c.step;
    EXPECT_EQ(qtbridge::fromQFont(qfont).weight, c.stepBack) << c.step;
  }
}

TEST(QtFont, QtWeightsBetweenStepsPreferRegularAndBold) {
  const struct {
    int qtWeight;
    int step;
  } cases[] = {{450, 5}, {650, 9}, {350, 5}, {250, 2}, {1000, 13}, {1, 0}};
  for (const auto& c : cases) {
    QFont qfont;
    qfont.setWeight(static_cast<QFont::Weight>(c.qtWeight));
    EXPECT_EQ(qtbridge::fromQFont(qfont).weight, c.step) << c.qtWeight;
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
