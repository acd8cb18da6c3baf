// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStandardPaths>

#include "Desktop.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

const QRect kOnSecondOutput(1500, 100, 300, 200);

/// Weston drawing its outputs as windows on the private X server, with Xwayland for X clients:
/// a real Wayland compositor on a machine without a GPU, with as many monitors as asked for.
class Weston {
 public:
  Weston(ModuleHarness& harness, int outputs) {
    const QString log = harness.root() + "/weston.log";
    QProcessEnvironment env = harness.environment();
    weston_.setProcessEnvironment(env);
    weston_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    weston_.start("weston", {"--backend=x11-backend.so", "--use-pixman", "--xwayland",
                             QStringLiteral("--output-count=%1").arg(outputs), "--width=1280",
                             "--height=800", "--socket=pellimo-test", "--log=" + log});
    const QRegularExpression listening(QStringLiteral("xserver listening on display (:\\d+)"));
    eventually([&] {
      display_ = listening.match(fileContents(log)).captured(1);
      return !display_.isEmpty() || weston_.state() == QProcess::NotRunning;
    });
    env.insert("DISPLAY", display_);
    env.insert("WAYLAND_DISPLAY", "pellimo-test");
    env.remove("QT_QPA_PLATFORM");
    harness.setEnvironment(env);
  }
  ~Weston() {
    weston_.terminate();
    if (!weston_.waitForFinished(5000)) weston_.kill();
  }

  bool started() const { return !display_.isEmpty(); }

  /// Runs an X tool on Xwayland's display: its trimmed output, or nothing when it failed.
  QString x(const QString& program, const QStringList& arguments) const {
    QProcessEnvironment env = weston_.processEnvironment();
    env.insert("DISPLAY", display_);
    return test::x(program, arguments, env);
  }

 private:
  QProcess weston_;
  QString display_;
};

class WaylandEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display for Weston";
    if (QStandardPaths::findExecutable("weston").isEmpty()) GTEST_SKIP() << "needs weston";
    ASSERT_TRUE(storeSettings({{"frameMark", platform::stringFromRect(QRectF(kOnSecondOutput))},
                               {"scriptValue", "echo on wayland"}}));
  }

  QJsonObject launchedStatus() {
    const Finished launched = harness.host({"launch"});
    EXPECT_EQ(launched.exitCode, 0) << launched.err.toStdString();
    return statusOf(harness);
  }

  ModuleHarness harness;
};

// Weston's window manager for X clients honours a position only when a window is mapped with
// it; the widget maps at its stored place, on the second of two outputs.
TEST_F(WaylandEndToEnd, AWidgetMapsAtItsStoredPlaceAndItsEditorOpensOnItsMonitorAndRunsAScript) {
  Weston weston(harness, 2);
  ASSERT_TRUE(weston.started());
  const QJsonObject status = launchedStatus();
  EXPECT_EQ(status.value("displayPath").toString(), "xwayland");
  EXPECT_EQ(platform::rectFromString(status.value("frame").toString()).toRect(), kOnSecondOutput);
  const QString window = weston.x("xdotool", {"search", "--onlyvisible", "--name", "^Pellimo$"});
  EXPECT_FALSE(window.isEmpty()) << "the widget's window is mapped";

  ASSERT_EQ(harness.host({"send", "config"}).exitCode, 0);
  QString editor;
  ASSERT_TRUE(eventually([&] {
    editor = weston.x("xdotool", {"search", "--onlyvisible", "--name", "^Pellimo editor$"});
    return !editor.isEmpty();
  }));
  // Weston maps a window in its frame first and moves the frame into place just after.
  QString place;
  EXPECT_TRUE(eventually([&] {
    place = weston.x("xdotool", {"getwindowgeometry", editor});
    return QRegularExpression("Position: (-?\\d+),").match(place).captured(1).toInt() >= 1280;
  })) << "the editor opens on the widget's monitor: "
      << place.toStdString();
  ASSERT_TRUE(eventually([&] {
    weston.x("xdotool", {"windowactivate", editor});
    return weston.x("xdotool", {"getactivewindow"}) == editor;
  }));
  weston.x("xdotool", {"key", "--delay", "50", "ctrl+a"});
  weston.x("xdotool", {"type", "--delay", "20", "echo typed on wayland"});
  weston.x("xdotool", {"key", "--delay", "50", "alt+r"});
  EXPECT_TRUE(eventually([&] { return canvasOf(harness).contains("typed on wayland"); }));
}

TEST_F(WaylandEndToEnd, AWidgetWhoseMonitorIsGoneStartsOnThePrimaryAtTheSameSize) {
  Weston weston(harness, 1);
  ASSERT_TRUE(weston.started());
  const QRect frame = platform::rectFromString(launchedStatus().value("frame").toString()).toRect();
  EXPECT_EQ(frame, QRect(QPoint(0, 0), kOnSecondOutput.size()));
  EXPECT_EQ(platform::SettingsStore(kBuiltIn).stringForKey("frameMark"),
            platform::stringFromRect(QRectF(kOnSecondOutput)))
      << "the stored place waits for its monitor";
}

}  // namespace
}  // namespace pellimo::test
