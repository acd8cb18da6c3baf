// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QScreen>
#include <optional>

#include "ModuleHarness.h"
#include "platform/FrameText.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

const QString kBuiltIn = QStringLiteral("org.pellimo.widget");

/// Where on the screen pixels of a colour are: a box around those that pass `wanted`.
QRect inkOf(const QRect& area, bool (*wanted)(QRgb)) {
  const QImage image = QGuiApplication::primaryScreen()
                           ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                           .toImage();
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (wanted(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    }
  }
  return box.translated(area.topLeft());
}

bool isRed(QRgb p) {
  return qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80;
}
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
    platform::SettingsStore settings(kBuiltIn);
    settings.setValue(0, platform::keys::kModeValue);
    settings.setValue(QStringLiteral("menu"), platform::keys::kLineFormat);
    settings.setValue(QStringLiteral(R"(dir=%1
echo run >> "$dir/runs"
echo 'RED RED RED | color=red'
echo "Click me | color=lime bash=/bin/sh param1=-c param2='echo click >> $dir/clicks' terminal=false"
echo 'Once more | color=blue refresh=true'
echo ---
echo "Choose | bash=/bin/sh param1=-c param2='echo chosen >> $dir/chosen' terminal=false"
echo 'A label')")
                          .arg(harness.root()),
                      platform::keys::kScriptValue);
    ASSERT_TRUE(settings.synchronize());
    ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
    ASSERT_TRUE(eventually([&] { return canvas() == "RED RED RED\nClick me\nOnce more\n"; }))
        << canvas().toStdString();
    at = platform::rectFromString(status().value("frame").toString()).toRect();
  }

  QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(harness.environment());
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  }
  QJsonObject status() {
    return QJsonDocument::fromJson(harness.host({"status", "--json"}).out.toUtf8()).object();
  }
  QString canvas() { return status().value("canvas").toString(); }
  int linesIn(const char* name) {
    QFile file(harness.root() + '/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
  }
  void clickAt(const QPoint& point, const QStringList& how = {"1"}) {
    run("xdotool",
        QStringList{"mousemove", QString::number(point.x()), QString::number(point.y()), "click"} +
            how);
  }
  /// The middle of the line drawn in the colour, once it shows.
  QPoint lineOf(bool (*wanted)(QRgb)) {
    QRect ink;
    eventually([&] { return (ink = inkOf(at, wanted)).width() > 20; });
    return ink.center();
  }

  ModuleHarness harness;
  QRect at;
};

TEST_F(MenuEndToEnd, ALinesColourShowsWithoutItsAttributesAndAClickRunsItsActionOnce) {
  EXPECT_GT(inkOf(at, isRed).width(), 40) << "red text on the widget";
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
}

TEST_F(MenuEndToEnd, ARefreshLineRerunsTheScript) {
  clickAt(lineOf(isBlue));
  EXPECT_TRUE(eventually([&] { return linesIn("runs") == 2; }));
}

TEST_F(MenuEndToEnd, ARightClickOpensTheMenuOfTheLinesAfterTheSeparatorAndAnItemRunsItsAction) {
  const int windows = run("xdotool", {"search", "--onlyvisible", "--class", "pellimo"})
                          .split('\n', Qt::SkipEmptyParts)
                          .size();
  clickAt(at.center(), {"3"});
  ASSERT_TRUE(eventually([&] {
    return run("xdotool", {"search", "--onlyvisible", "--class", "pellimo"})
               .split('\n', Qt::SkipEmptyParts)
               .size() > windows;
  })) << "the menu pops up";
  run("xdotool", {"key", "Down", "Return"});
  EXPECT_TRUE(eventually([&] { return linesIn("chosen") == 1; }));
  EXPECT_EQ(linesIn("clicks"), 0);
}

}  // namespace
}  // namespace pellimo::test
