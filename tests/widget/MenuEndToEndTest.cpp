// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Desktop.h"
#include "platform/SettingsKeys.h"

namespace pellimo::test {
namespace {

bool isLime(QRgb p) {
  return qGreen(p) > 180 && qRed(p) < 80 && qBlue(p) < 80;
}
bool isBlue(QRgb p) {
  return qBlue(p) > 150 && qRed(p) < 80 && qGreen(p) < 80;
}

/// The built-in widget in the menu format, on the private desktop, running a script written
/// for the menu-bar tools whose actions leave their traces in files.
class MenuEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(storeSettings({{platform::keys::kModeValue, 0},
                               {platform::keys::kLineFormat, "menu"},
                               {platform::keys::kScriptValue, QStringLiteral(R"(dir=%1
echo run >> "$dir/runs"
echo 'RED RED RED | color=red'
echo "Click me | color=lime bash=/bin/sh param1=-c param2='echo click >> $dir/clicks' terminal=false"
echo 'Once more | color=blue refresh=true'
echo ---
echo "Choose | bash=/bin/sh param1=-c param2='echo chosen >> $dir/chosen' terminal=false"
echo 'A label')")
                                                                  .arg(harness.root())}}));
    ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
    ASSERT_TRUE(eventually([&] { return canvas() == "RED RED RED\nClick me\nOnce more\n"; }))
        << canvas().toStdString();
    at = frameOf(harness);
  }

  QJsonObject status() { return statusOf(harness); }
  QString canvas() { return canvasOf(harness); }
  int linesIn(const char* name) { return fileContents(harness.root() + '/' + name).count('\n'); }
  /// The middle of the line drawn in the colour, once it shows.
  QPoint lineOf(bool (*wanted)(QRgb)) {
    QRect ink;
    eventually([&] { return (ink = boxOf(screenshot(at), wanted)).width() > 20; });
    return at.topLeft() + ink.center();
  }

  ModuleHarness harness;
  QRect at;
};

TEST_F(MenuEndToEnd, ALinesColourShowsWithoutItsAttributesAClickRunsItsActionOnceOrRefreshes) {
  EXPECT_GT(boxOf(screenshot(at), isRed).width(), 40) << "red text on the widget";
  EXPECT_FALSE(canvas().contains("color")) << "no attribute text";

  clickAt(lineOf(isLime));
  ASSERT_TRUE(eventually([&] { return linesIn("clicks") == 1; }));
  serveFor(1000);
  EXPECT_EQ(linesIn("clicks"), 1) << "one click, one run";
  EXPECT_EQ(linesIn("runs"), 1) << "the action does not rerun the script";

  ASSERT_EQ(harness.host({"send", "raise"}).exitCode, 0);
  ASSERT_TRUE(eventually([&] { return status().value("raised").toBool(); }));
  clickAt(lineOf(isLime), {"--repeat", "2", "--delay", "60", "1"});
  EXPECT_TRUE(eventually([&] { return !status().value("raised").toBool(); })) << "lies flat";
  serveFor(1000);
  EXPECT_EQ(linesIn("clicks"), 1) << "a double-click runs nothing";

  clickAt(lineOf(isBlue));
  EXPECT_TRUE(eventually([&] { return linesIn("runs") == 2; })) << "a refresh line reruns it";
}

TEST_F(MenuEndToEnd, ARightClickOpensTheMenuOfTheLinesAfterTheSeparatorAndAnItemRunsItsAction) {
  const auto windows = [] {
    return x("xdotool", {"search", "--onlyvisible", "--class", "pellimo"})
        .split('\n', Qt::SkipEmptyParts)
        .size();
  };
  const qsizetype before = windows();
  clickAt(at.center(), {"3"});
  ASSERT_TRUE(eventually([&] { return windows() > before; })) << "the menu pops up";
  x("xdotool", {"key", "Down", "Return"});
  EXPECT_TRUE(eventually([&] { return linesIn("chosen") == 1; }));
  EXPECT_EQ(linesIn("clicks"), 0);
}

}  // namespace
}  // namespace pellimo::test
