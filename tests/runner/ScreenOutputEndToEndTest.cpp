#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "ModuleHarness.h"
#include "ModuleSettings.h"

namespace pellimo::test {
namespace {

/// Pixels of the X root window that are clearly red.
int redPixelsOnScreen(const QString& directory) {
  const QString shot = directory + "/shot.png";
  if (QProcess::execute(QStringLiteral("import"), {"-window", "root", shot}) != 0) return -1;
  const QImage image(shot);
  int red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (pixel.red() > 150 && pixel.green() < 80 && pixel.blue() < 80) ++red;
    }
  }
  return red;
}

TEST(ModuleOnScreen, RedScriptOutputIsPaintedRed) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X server";
  ModuleHarness harness;
  seedBuiltInSettings(
      {{"modeValue", 0},
       {"scriptValue", QStringLiteral(R"(printf '\033[31m%s\033[0m\n' 'RED RED')")}},
      ansi::Font{"DejaVu Sans", 28, ansi::Font::kBoldWeight, false});
  const int before = redPixelsOnScreen(harness.root());
  ASSERT_EQ(before, 0);
  harness.startWidget();
  ASSERT_TRUE(eventually([&] { return moduleCanvas(harness) == "RED RED\n"; }, 20000));
  int red = 0;
  EXPECT_TRUE(eventually(
      [&] {
        red = redPixelsOnScreen(harness.root());
        return red >= 200;
      },
      10000))
      << red << " red pixels";
  RecordProperty("redPixels", red);
}

}  // namespace
}  // namespace pellimo::test
