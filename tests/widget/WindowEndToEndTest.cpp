// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>

#include "Desktop.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

class WindowEndToEnd : public ::testing::Test {
 protected:
  /// Launches the built-in widget, running `script`, on the display the environment names,
  /// from the stored frame `frameMark` when one is given.
  void launch(const QString& script = QStringLiteral("printf 'plain text\\n'"),
              const QString& frameMark = {}) {
    harness.emplace();
    QMap<QString, QVariant> settings{{"modeValue", 0}, {"scriptValue", script}};
    if (!frameMark.isEmpty()) settings.insert("frameMark", frameMark);
    ASSERT_TRUE(storeSettings(settings));
    ASSERT_EQ(harness->host({"launch"}).exitCode, 0);
    window = x("xdotool", {"search", "--name", "^Pellimo$"}).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
  }
  QString property(const char* name) { return x("xprop", {"-id", window, name}); }
  QJsonObject status() { return statusOf(*harness); }
  QRect frame() { return frameOf(*harness); }
  bool send(const char* command) { return harness->host({"send", command}).exitCode == 0; }
  /// The notification a command sends, posted at once from here.
  static void post(const char* command) {
    platform::DistributedNotificationCenter::defaultCenter().postNotificationName(
        kBuiltIn + '.' + QLatin1String(command));
  }
  /// Whether the zoom shows the border smaller than the window `at`, centred: grabs of the
  /// window's middle row are quick enough to catch it.
  bool seenZooming(const QRect& at) {
    return eventually(
        [&] {
          const QRect border =
              boxOf(screenshot({at.left(), at.center().y(), at.width(), 1}), isYellow);
          return border.width() > at.width() / 5 && border.width() < at.width() * 9 / 10 &&
                 qAbs(border.center().x() - at.width() / 2) < 6;
        },
        500);
  }
  /// Whether the widget at `at` comes to rest in the mode: raised, it is above with a border,
  /// the button at the top right and the grip at the bottom right; flat, below without them.
  bool settlesInMode(const QRect& at, bool raised) {
    return eventually([&] {
      QImage shot = screenshot(at);
      eventually([&] {  // until no zoom changes the picture
        serveFor(100);
        const QImage before = std::exchange(shot, screenshot(at));
        return before == shot;
      });
      return property("_NET_WM_STATE").contains(raised ? "ABOVE" : "BELOW") &&
             status().value("raised").toBool() == raised &&
             boxOf(shot.copy(0, at.height() / 2, 2, 1), isYellow).isValid() == raised &&
             boxOf(shot.copy(at.width() - 31, 2, 28, 28), isYellow).isValid() == raised &&
             boxOf(shot.copy(at.width() - 16, at.height() - 16, 12, 12), isYellow).isValid() ==
                 raised;
    });
  }

  std::optional<ModuleHarness> harness;
  QString window;
};

TEST_F(WindowEndToEnd, TheWidgetIsMappedFloatingBelowOnEveryDesktopOutOfTaskbarAndPagerOnScreen) {
  // On an X server with no window manager nothing acts on the window's requests once it is
  // mapped: there it keeps the hints it was mapped with.
  QProcess bare;
  bare.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "800x600x24"});
  ASSERT_TRUE(bare.waitForReadyRead(10000));
  const QByteArray desktop = qgetenv("DISPLAY");
  for (const QByteArray& display : {':' + bare.readLine().trimmed(), desktop}) {
    qputenv("DISPLAY", display);  // for the harness and for xprop
    // Mapped as stored, a frame larger than the screen held the module in the window manager's
    // frame query.
    launch(QStringLiteral("echo big"), QStringLiteral("{{100, 100}, {16384, 16384}}"));
    const QString state = property("_NET_WM_STATE");
    for (const char* wanted : {display == desktop ? "_NET_WM_STATE_BELOW" : "_NET_WM_STATE_ABOVE",
                               "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
      EXPECT_TRUE(state.contains(QLatin1String(wanted)))
          << display.toStdString() << state.toStdString();
    }
    EXPECT_TRUE(property("_NET_WM_DESKTOP").endsWith("4294967295")) << display.toStdString();
  }
  EXPECT_TRUE(property("_NET_FRAME_EXTENTS").endsWith("0, 0, 0, 0")) << "no decorations";
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QRect shown;
  EXPECT_TRUE(eventually([&] { return screen.contains(shown = frame()); }))
      << shown.width() << 'x' << shown.height();
  EXPECT_TRUE(send("kill"));
  bare.kill();
  bare.waitForFinished();
}

TEST_F(WindowEndToEnd, TheRaisingZoomShowsAndFlatOrADoubleClickDuringItEndsFlatAndTheButtonWorks) {
  launch();
  ASSERT_TRUE(eventually([&] { return status().value("ready").toBool(); }));
  const QRect at = frame();
  post("raise");
  ASSERT_TRUE(seenZooming(at)) << "the border zooms up";
  post("flat");
  EXPECT_TRUE(settlesInMode(at, false)) << "flat";

  ASSERT_TRUE(send("raise"));
  ASSERT_TRUE(seenZooming(at));
  clickAt(at.center(), {"--repeat", "2", "--delay", "60", "1"});
  EXPECT_TRUE(settlesInMode(at, false)) << "double-click";
  x("xdotool", {"mousemove", "0", "0"});

  // The button of a widget raised again still opens the editor.
  post("raise");
  ASSERT_TRUE(settlesInMode(at, true));
  clickAt({at.right() - 16, at.top() + 17});
  EXPECT_TRUE(eventually([&] { return !x("xdotool", kFindEditor).isEmpty(); }));
}

TEST_F(WindowEndToEnd, AtTwiceTheDensityTheWidgetIsDrawnSharpAndKeepsItsFrameInPoints) {
  qputenv("QT_SCALE_FACTOR", "2");
  launch(QStringLiteral("echo SHARP TEXT"), QStringLiteral("{{40, 30}, {200, 100}}"));
  qunsetenv("QT_SCALE_FACTOR");
  // The same setting gives the same place and size as at the usual density.
  EXPECT_TRUE(eventually([&] { return frame() == QRect(40, 30, 200, 100); }));
  ASSERT_TRUE(eventually([&] { return status().value("canvas").toString() == "SHARP TEXT\n"; }));
  ASSERT_TRUE(send("raise"));
  ASSERT_TRUE(eventually([&] { return status().value("raised").toBool(); }));
  // Drawn at the screen's density, the edges of glyphs, border and gear fall on single pixels;
  // drawn at half and doubled, everything would come in 2×2 blocks of one colour.
  int inked = 0;
  int split = 0;
  EXPECT_TRUE(eventually([&] {
    const QImage shot = screenshot({80, 60, 400, 200});
    inked = split = 0;
    for (int y = 0; y + 1 < shot.height(); y += 2) {
      for (int x = 0; x + 1 < shot.width(); x += 2) {
        const QRgb block[] = {shot.pixel(x, y), shot.pixel(x + 1, y), shot.pixel(x, y + 1),
                              shot.pixel(x + 1, y + 1)};
        if (std::none_of(std::begin(block), std::end(block), [](QRgb p) { return qGray(p) > 60; }))
          continue;
        ++inked;
        if (std::any_of(std::begin(block), std::end(block), [&](QRgb p) { return p != block[0]; }))
          ++split;
      }
    }
    return inked > 100 && split * 3 > inked;
  })) << split
      << " of " << inked << " inked blocks hold more than one colour";
}

TEST_F(WindowEndToEnd, AMoveAfterTheFirstSecondsIsReportedStoredAndRestored) {
  launch();
  // Moves count from 5 s after the first one on: move back and forth until one is reported.
  QProcess* watch = harness->startHost({"watch", "--count", "1"});
  QPoint last;
  ASSERT_TRUE(eventually(
      [&] {
        last = last == QPoint(220, 140) ? QPoint(100, 80) : QPoint(220, 140);
        x("xdotool", {"windowmove", window, QString::number(last.x()), QString::number(last.y())});
        return watch->waitForFinished(1000);
      },
      20000));
  const QString stored = platform::SettingsStore(kBuiltIn).stringForKey("frameMark");
  EXPECT_EQ(QString::fromUtf8(watch->readAllStandardOutput()).trimmed(), "frame " + stored);
  EXPECT_TRUE(stored.startsWith(QStringLiteral("{{%1, %2}, ").arg(last.x()).arg(last.y())));
  ASSERT_TRUE(send("kill"));
  ASSERT_EQ(harness->host({"launch"}).exitCode, 0);
  EXPECT_TRUE(eventually([&] { return frame().topLeft() == last; }));
}

}  // namespace
}  // namespace pellimo::test
