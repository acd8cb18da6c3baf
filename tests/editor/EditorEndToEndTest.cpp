#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "DesktopDriver.h"
#include "ModuleHarness.h"
#include "platform/FrameText.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

namespace d = desktop;

const QString kBuiltIn = QStringLiteral("org.pellimo.widget");
const QString kEditorName = QStringLiteral("^Pellimo editor$");
// Larger than the squares of the mode icons, smaller than the colour well and the swatches.
constexpr int kSwatchSide = 13;

/// Clicks the middle of a square of the colour once it shows on screen inside the area.
bool clickSquare(const QRect& area, QRgb colour, int side) {
  std::optional<QPoint> square;
  if (!eventually([&] {
        return (square = d::findSquare(d::screenshot(), area, colour, side)).has_value();
      })) {
    return false;
  }
  d::click(*square);
  return true;
}

class EditorEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  }

  void launch() {
    const Finished result = harness.host({"launch"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
  }

  void relaunch() {
    ASSERT_EQ(harness.host({"send", "kill"}).exitCode, 0);
    ASSERT_TRUE(eventually([&] { return status().isEmpty(); }));
    launch();
  }

  QJsonObject status() {
    return QJsonDocument::fromJson(harness.host({"status", "--json"}).out.toUtf8()).object();
  }

  ::testing::AssertionResult canvasBecomes(const QString& text, int timeoutMs = 10000) {
    QString canvas;
    if (eventually(
            [&] {
              canvas = status().value("canvas").toString();
              return canvas == text;
            },
            timeoutMs)) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the canvas shows \"" << canvas.toStdString() << '"';
  }

  QRect widgetFrame() {
    return platform::rectFromString(status().value("frame").toString()).toRect();
  }

  /// The module's settings as its file holds them now.
  std::unique_ptr<platform::SettingsStore> settings() {
    return std::make_unique<platform::SettingsStore>(kBuiltIn);
  }

  /// Whether the setting comes to hold the colour's components; the panel's opacity sets alpha.
  bool stores(const QString& key, const ansi::Color& colour) {
    return eventually([&] {
      const auto stored = settings()->colorForKey(key);
      const ansi::Color rgb = stored.value_or(ansi::Color::black()).toRGB();
      return stored && rgb.c0 == colour.c0 && rgb.c1 == colour.c1 && rgb.c2 == colour.c2;
    });
  }

  /// Whether the middle of the widget shows the red, green and blue channels as given: without a
  /// compositing manager a translucent background is drawn darker, but in its own hue.
  ::testing::AssertionResult backgroundBecomes(bool red, bool green, bool blue) {
    QColor pixel;
    auto matches = [](int channel, bool on) { return on ? channel > 60 : channel < 40; };
    if (eventually([&] {
          pixel = d::screenshot().pixelColor(widgetFrame().center());
          return matches(pixel.red(), red) && matches(pixel.green(), green) &&
                 matches(pixel.blue(), blue);
        })) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the widget shows " << pixel.name().toStdString();
  }

  /// Opens the editor with the host's command and makes it the active window.
  qulonglong openEditor() {
    EXPECT_EQ(harness.host({"send", "config"}).exitCode, 0);
    const auto editor = d::waitForWindow(kEditorName);
    EXPECT_TRUE(editor);
    if (!editor) return 0;
    EXPECT_TRUE(d::activate(*editor));
    return *editor;
  }

  ModuleHarness harness;
};

TEST_F(EditorEndToEnd, ConfigShowsTheEditorAndARunReachesTheWidgetAndReloadsIt) {
  launch();
  const qulonglong editor = openEditor();
  ASSERT_NE(editor, 0u);
  const QString state = d::property(editor, "_NET_WM_STATE");
  EXPECT_TRUE(state.contains("_NET_WM_STATE_ABOVE")) << state.toStdString();
  EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state.toStdString();
  EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_PAGER")) << state.toStdString();
  EXPECT_TRUE(d::property(editor, "_NET_WM_DESKTOP").contains("4294967295"));

  const QString runs = harness.root() + "/runs";
  d::type(QStringLiteral("date +%s.%N >> %1").arg(runs));
  d::key("Return");
  d::type("echo e2e-ran");
  d::key("alt+l");
  d::key("ctrl+a");
  d::type("2");
  d::key("alt+r");

  EXPECT_TRUE(canvasBecomes("e2e-ran\n"));
  EXPECT_TRUE(d::visibleWindows({"--name", kEditorName}).isEmpty());
  EXPECT_EQ(settings()->stringForKey("scriptValue"),
            QStringLiteral("date +%s.%N >> %1\necho e2e-ran").arg(runs));
  EXPECT_EQ(settings()->integerForKey("reloadAfter"), 2);

  // After the editor's run, a reload every 2 s: a tick one interval later, the run 1 s after it.
  QList<double> times;
  ASSERT_TRUE(eventually(
      [&] {
        QFile file(runs);
        if (!file.open(QIODevice::ReadOnly)) return false;
        times.clear();
        for (const QByteArray& line : file.readAll().split('\n')) {
          if (!line.isEmpty()) times.append(line.toDouble());
        }
        return times.size() >= 3;
      },
      15000));
  // A loaded machine can only delay a run, never bring it forward.
  EXPECT_GE(times[1] - times[0], 2.9);
  EXPECT_GE(times[2] - times[1], 1.9);
}

TEST_F(EditorEndToEnd, ColoursFromTheWellThePopoverAndTheDetachedPanelReachTheWidgetAndPersist) {
  {
    auto seed = settings();
    seed->setValue(QStringLiteral("echo colours"), "scriptValue");
    seed->synchronize();
  }
  launch();
  ASSERT_TRUE(canvasBecomes("colours\n"));
  const qulonglong editor = openEditor();
  ASSERT_NE(editor, 0u);

  // The text colour: the well, white as the text, opens the colour panel; its palette has yellow.
  ASSERT_TRUE(clickSquare(d::geometry(editor), qRgb(255, 255, 255), 9));
  const auto panel = d::waitForWindow("^Colours$");
  ASSERT_TRUE(panel);
  ASSERT_TRUE(clickSquare(d::geometry(*panel), qRgb(255, 0, 0), 5));  // the palette mode's icon
  ASSERT_TRUE(clickSquare(d::geometry(*panel), qRgb(255, 255, 0), kSwatchSide));
  EXPECT_TRUE(stores("fontColor", ansi::Color::yellow()));

  // The background: the popover opens under the background control and raises the widget.
  ASSERT_TRUE(d::activate(editor));
  d::key("alt+b");
  std::optional<QRect> popover;
  ASSERT_TRUE(eventually([&] {
    const qint64 pid = status().value("pid").toInteger();
    for (qulonglong window : d::visibleWindows({"--pid", QString::number(pid)})) {
      if (d::geometry(window).size() == QSize(250, 411)) popover = d::geometry(window);
    }
    return popover.has_value();
  }));
  EXPECT_TRUE(status().value("raised").toBool());
  const QRect content(popover->x(), popover->y() + 11, 250, 400);  // under its arrow
  ASSERT_TRUE(clickSquare(content, qRgb(255, 0, 255), kSwatchSide));
  EXPECT_TRUE(stores("color", ansi::Color::magenta()));
  EXPECT_TRUE(backgroundBecomes(true, false, true));

  // Dragged 80 points off its place, the popover becomes the floating panel, still reporting.
  d::drag(content.topLeft() + QPoint(220, 17), QPoint(80, 0), 8);
  const auto floating = d::waitForWindow("^Colours$");
  ASSERT_TRUE(floating);
  ASSERT_TRUE(clickSquare(d::geometry(*floating), qRgb(0, 255, 255), kSwatchSide));
  EXPECT_TRUE(stores("color", ansi::Color::cyan()));
  EXPECT_TRUE(backgroundBecomes(false, true, true));

  relaunch();
  ASSERT_TRUE(canvasBecomes("colours\n"));
  EXPECT_TRUE(backgroundBecomes(false, true, true));
  EXPECT_TRUE(eventually([&] {
    const QImage shot = d::screenshot();
    const QRect frame = widgetFrame();
    int yellowText = 0;
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
      for (int x = frame.left(); x <= frame.right(); ++x) {
        const QColor pixel = shot.pixelColor(x, y);
        if (pixel.red() > 200 && pixel.green() > 200 && pixel.blue() < 80) ++yellowText;
      }
    }
    return yellowText > 20;
  }));
}

}  // namespace
}  // namespace pellimo::test
