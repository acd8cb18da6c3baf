// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <utility>

#include "Desktop.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

/// The shown colour picker popover: the module's one visible window as wide as its content,
/// but for the colour panel.
QString findPopover() {
  for (const QString& window :
       x("xdotool", {"search", "--onlyvisible", "--class", "pellimo-widget"}).split('\n')) {
    if (!window.isEmpty() && geometryOf(window).width() == 250 &&
        x("xdotool", {"getwindowname", window}) != "Colours")
      return window;
  }
  return {};
}

/// Whether the widget shows flat: below other windows, without the yellow border, so reported
/// by the host, and with no zoom changing the picture (which also keeps the widget's half second
/// of ignoring a toggle from the next showing).
bool seenFlat(ModuleHarness& harness, const QString& widget) {
  const QJsonObject status = statusOf(harness);
  const QRect frame = platform::rectFromString(status.value("frame").toString()).toRect();
  const QImage before = screenshot(frame);
  serveFor(100);
  if (screenshot(frame) != before) return false;
  const bool yellow = isYellow(screenshot({frame.left(), frame.center().y(), 1, 1}).pixel(0, 0));
  const QString state = x("xprop", {"-id", widget, "_NET_WM_STATE"});
  return !status.value("raised").toBool() && state.contains("_BELOW") &&
         !state.contains("_ABOVE") && !yellow;
}

/// The centre of the magenta pixels within an area of the screen.
QPoint magentaIn(const QRect& area) {
  const auto magenta = [](QRgb p) { return (p & RGB_MASK) == (qRgb(255, 0, 255) & RGB_MASK); };
  return area.topLeft() + boxOf(screenshot(area), magenta).center();
}

const QStringList kFindPanel{"search", "--onlyvisible", "--name", "^Colours$"};

/// Whether a window is the topmost of the window manager's windows.
bool topmost(const QString& window) {
  const QString stacking = x("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
  return !window.isEmpty() &&
         stacking.section(", ", -1).toULong(nullptr, 16) == window.toULong(nullptr, 10);
}

/// Types a colour into the hex field at the bottom of the picker window.
void typeHex(const QString& picker, const QString& hex) {
  const QRect shown = geometryOf(picker);
  clickAt({shown.left() + 150, shown.bottom() - 18});
  x("xdotool", {"key", "ctrl+a"});
  x("xdotool", {"type", hex});
  x("xdotool", {"key", "Return"});
}

bool storedAs(const char* key, const ansi::Color& color) {
  const auto stored = platform::SettingsStore(kBuiltIn).colorForKey(key);
  return stored && stored->toRGB().c0 == color.c0 && stored->toRGB().c1 == color.c1 &&
         stored->toRGB().c2 == color.c2;
}

/// Whether the popover wears the dark editor's look (its bare left margin against the editor's
/// own) and its wheel, on the default black background, shows every hue.
bool inEditorsLookWithAllHues(const QString& popover, const QString& editor) {
  const QImage shot = screenshot(geometryOf(popover));
  const QRect inEditor = geometryOf(editor);
  int hues = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QColor pixel = shot.pixelColor(x, y);
      hues += pixel.saturation() > 200 && pixel.value() > 200;
    }
  }
  return shot.pixel(3, 120) ==
             screenshot({inEditor.left() + 3, inEditor.bottom() - 3, 1, 1}).pixel(0, 0) &&
         hues > 10000;
}

class PickerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  }
  ModuleHarness harness;
};

// The background picker raises the widget to show the colour; however the picker closes, the
// widget lies flat again.
TEST_F(PickerEndToEnd, ThePopoverWearsTheEditorsLookAndClosingItLeavesTheWidgetFlatAgain) {
  ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
  const QString widget = x("xdotool", {"search", "--name", "^Pellimo$"}).section('\n', 0, 0);
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  ASSERT_TRUE(eventually([&] { return seenFlat(harness, widget); }));
  for (const char* closer : {"Escape", "click outside"}) {
    SCOPED_TRACE(closer);
    x("xdotool", {"key", "alt+b"});
    QString popover;
    ASSERT_TRUE(eventually([&] { return !(popover = findPopover()).isEmpty(); }));
    ASSERT_TRUE(eventually([&] { return !seenFlat(harness, widget); }));
    if (QString(closer) == "Escape") {
      EXPECT_TRUE(eventually([&] { return inEditorsLookWithAllHues(popover, editor); }));
    }
    typeHex(popover, "#ff0000");
    EXPECT_TRUE(eventually([&] { return storedAs("color", ansi::Color::rgb(1, 0, 0)); }));
    if (QString(closer) == "Escape") {
      x("xdotool", {"key", "Escape"});
    } else {
      clickAt(geometryOf(editor).center());
    }
    EXPECT_TRUE(eventually([&] { return findPopover().isEmpty(); }));
    EXPECT_TRUE(eventually([&] { return seenFlat(harness, widget); }));
  }
}

/// Launches the module with a text colour found nowhere else in the editor, opens the editor and
/// finds the Text well by that colour: the well's centre, or a null point when any step failed.
QPoint openEditorFindingTheTextWell(ModuleHarness& harness) {
  {
    platform::SettingsStore stored(kBuiltIn);
    stored.setColor(ansi::Color::rgb(1, 0, 1), "fontColor");
    if (!stored.synchronize()) return {};
  }
  if (harness.host({"launch"}).exitCode != 0) return {};
  const QString editor = openEditor(harness);
  if (editor.isEmpty()) return {};
  // Seen at the same place twice, so that a window manager still placing the editor has done.
  QPoint well;
  const bool found = eventually([&] {
    const QPoint before = std::exchange(well, magentaIn(geometryOf(editor)));
    return well == before && geometryOf(editor).contains(well);
  });
  return found ? well : QPoint();
}

// On X the popover's pointer grab takes the click meant for the well beneath it. The editor and
// the raised widget float above ordinary windows; the panel must float above them.
TEST_F(PickerEndToEnd, TheColourPanelOpensOnTopFromAWellClickedPastThePopoverOrFromADragOff) {
  const QPoint well = openEditorFindingTheTextWell(harness);
  ASSERT_FALSE(well.isNull());
  const QString editor = x("xdotool", kFindEditor).section('\n', 0, 0);
  x("xdotool", {"key", "alt+b"});
  ASSERT_TRUE(eventually([&] { return !findPopover().isEmpty(); }));
  ASSERT_TRUE(x("xdotool", kFindPanel).isEmpty());
  clickAt(well);
  EXPECT_TRUE(eventually([&] { return findPopover().isEmpty(); }));
  QString panel;
  ASSERT_TRUE(eventually([&] { return !(panel = x("xdotool", kFindPanel)).isEmpty(); }));
  EXPECT_TRUE(eventually([&] { return topmost(panel); }));
  typeHex(panel, "#0000ff");
  EXPECT_TRUE(eventually([&] { return storedAs("fontColor", ansi::Color::rgb(0, 0, 1)); }));
  x("xdotool", {"windowactivate", panel, "key", "alt+F4"});
  ASSERT_TRUE(eventually([&] { return x("xdotool", kFindPanel).isEmpty(); }));

  ASSERT_TRUE(giveKeyboard(editor));
  x("xdotool", {"key", "alt+b"});
  QString popover;
  ASSERT_TRUE(eventually([&] { return !(popover = findPopover()).isEmpty(); }));
  // Dragged off by the content's bare left margin, below the tab bar.
  const QPoint grip = geometryOf(popover).topLeft() + QPoint(3, 120);
  x("xdotool",
    {"mousemove", QString::number(grip.x()), QString::number(grip.y()), "mousedown", "1"});
  for (int step = 1; step <= 5; ++step) {
    x("xdotool", {"mousemove", QString::number(grip.x() + 30 * step), QString::number(grip.y())});
  }
  x("xdotool", {"mouseup", "1"});
  ASSERT_TRUE(eventually([&] { return !(panel = x("xdotool", kFindPanel)).isEmpty(); }));
  EXPECT_TRUE(eventually([&] { return topmost(panel); }));
  typeHex(panel, "#00ff00");
  EXPECT_TRUE(eventually([&] { return storedAs("color", ansi::Color::rgb(0, 1, 0)); }));
}

}  // namespace
}  // namespace pellimo::test
