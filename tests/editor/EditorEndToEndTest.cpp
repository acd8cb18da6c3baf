#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

#include "ModuleHarness.h"
#include "platform/FrameText.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

/// Runs an X tool (xdotool, xprop) to its end: its trimmed output, or nothing when it failed.
QString x(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  const bool ran = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
                   process.exitCode() == 0;
  return ran ? QString::fromUtf8(process.readAllStandardOutput()).trimmed() : QString();
}

const QStringList kFindEditor{"search", "--onlyvisible", "--name", "^Pellimo editor$"};

/// Opens the launched module's editor with the host's "config" and gives it the keyboard: its
/// window, or nothing when it never showed.
QString openEditor(ModuleHarness& harness) {
  if (harness.host({"send", "config"}).exitCode != 0) return {};
  QString editor;
  if (!eventually(
          [&] { return !(editor = x("xdotool", kFindEditor).section('\n', 0, 0)).isEmpty(); }))
    return {};
  // Asked again until it holds: a window manager may pass over a request for a window it is
  // still taking in.
  const bool active = eventually([&] {
    x("xdotool", {"windowactivate", editor});
    return x("xdotool", {"getactivewindow"}) == editor;
  });
  return active ? editor : QString();
}

QImage screenshot(const QRect& area) {
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .toImage();
}

/// A window's place on the screen, from xwininfo: xdotool adds the frame's offset to a framed
/// window's position.
QRect geometryOf(const QString& window) {
  QRect rect;
  for (const QString& line : x("xwininfo", {"-id", window}).split('\n')) {
    const int value = line.section(':', 1).trimmed().toInt();
    if (line.contains("Absolute upper-left X:")) rect.moveLeft(value);
    if (line.contains("Absolute upper-left Y:")) rect.moveTop(value);
    if (line.contains("Width:")) rect.setWidth(value);
    if (line.contains("Height:")) rect.setHeight(value);
  }
  return rect;
}

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

void clickAt(const QPoint& at) {
  x("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
  x("xdotool", {"click", "1"});
}

/// Whether the widget shows flat: below other windows, without the yellow border, so reported
/// by the host, and with no zoom changing the picture (which also keeps the widget's half second
/// of ignoring a toggle from the next showing).
bool seenFlat(ModuleHarness& harness, const QString& widget) {
  const QJsonObject status =
      QJsonDocument::fromJson(harness.host({"status", "--json"}).out.toUtf8()).object();
  const QRect frame = platform::rectFromString(status.value("frame").toString()).toRect();
  const QImage before = screenshot(frame);
  serveFor(100);
  if (screenshot(frame) != before) return false;
  const QImage edge = screenshot({frame.left(), frame.center().y(), 2, 1});
  const bool yellow =
      qRed(edge.pixel(0, 0)) > 70 && qGreen(edge.pixel(0, 0)) > 60 && qBlue(edge.pixel(0, 0)) < 50;
  const QString state = x("xprop", {"-id", widget, "_NET_WM_STATE"});
  return !status.value("raised").toBool() && state.contains("_BELOW") &&
         !state.contains("_ABOVE") && !yellow;
}

/// The centre of the pixels of one colour within an area of the screen.
QPoint centreOf(QRgb colour, const QRect& area) {
  const QImage shot = screenshot(area);
  QRect box;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if ((shot.pixel(x, y) & RGB_MASK) == (colour & RGB_MASK)) box |= QRect(x, y, 1, 1);
    }
  }
  return area.topLeft() + box.center();
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
  const auto stored =
      platform::SettingsStore(QStringLiteral("org.pellimo.widget")).colorForKey(key);
  return stored && stored->toRGB().c0 == color.c0 && stored->toRGB().c1 == color.c1 &&
         stored->toRGB().c2 == color.c2;
}

QString canvasOf(ModuleHarness& harness) {
  const Finished status = harness.host({"status", "--json"});
  return QJsonDocument::fromJson(status.out.toUtf8()).object().value("canvas").toString();
}

// A user's journey through the editor on a real desktop: the host's "config" opens it as a
// floating window on every desktop, and what is typed there runs on the widget and is stored.
TEST(EditorEndToEnd, ConfigShowsTheEditorAndARunTypedThereReachesTheWidget) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  const Finished launched = harness.host({"launch"});
  ASSERT_EQ(launched.exitCode, 0) << launched.err.toStdString();
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  const QString state = x("xprop", {"-id", editor, "_NET_WM_STATE"});
  EXPECT_TRUE(state.contains("_ABOVE") && state.contains("_SKIP_TASKBAR") &&
              state.contains("_SKIP_PAGER"))
      << state.toStdString();
  EXPECT_TRUE(x("xprop", {"-id", editor, "_NET_WM_DESKTOP"}).contains("4294967295"));

  // X delivers the keys in order, so each acts on what the ones before did.
  x("xdotool", {"type", "--delay", "20", "echo e2e-ran"});
  x("xdotool", {"key", "--delay", "50", "alt+l", "ctrl+a"});
  x("xdotool", {"type", "--delay", "20", "2"});
  x("xdotool", {"key", "--delay", "50", "alt+r"});

  QString canvas;
  EXPECT_TRUE(eventually([&] { return (canvas = canvasOf(harness)) == "e2e-ran\n"; }))
      << canvas.toStdString();
  EXPECT_TRUE(x("xdotool", kFindEditor).isEmpty());
  platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
  EXPECT_EQ(stored.stringForKey("scriptValue"), QStringLiteral("echo e2e-ran"));
  EXPECT_EQ(stored.integerForKey("reloadAfter"), 2);
}

TEST(EditorEndToEnd, PickingALanguageThenCancelLeavesTheStoreAndTheWidgetAsBefore) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  const QString script = QStringLiteral(R"(echo "$@" $$)");
  {
    platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
    stored.setValue(0, "modeValue");
    stored.setValue(script, "scriptValue");
    stored.setValue("a,b", "args");
    ASSERT_TRUE(stored.synchronize());
  }
  ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
  const QRegularExpression ran(R"(^a b \d+\n$)");
  QString before;
  ASSERT_TRUE(eventually([&] { return ran.match(before = canvasOf(harness)).hasMatch(); }))
      << before.toStdString();
  ASSERT_FALSE(openEditor(harness).isEmpty());
  x("xdotool", {"key", "--delay", "50", "alt+g", "Down", "alt+c"});
  ASSERT_TRUE(eventually([&] { return x("xdotool", kFindEditor).isEmpty(); }));

  const platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
  EXPECT_EQ(stored.integerForKey("modeValue"), 0);
  EXPECT_EQ(stored.stringForKey("scriptValue"), script);
  EXPECT_EQ(stored.stringForKey("args"), "a,b");
  // A fresh run is the same script with the same arguments.
  ASSERT_EQ(harness.host({"send", "refresh"}).exitCode, 0);
  QString after;
  EXPECT_TRUE(eventually([&] {
    after = canvasOf(harness);
    return after != before && ran.match(after).hasMatch();
  })) << after.toStdString();
}

// The background picker raises the widget to show the colour; however the picker closes, the
// widget lies flat again.
TEST(EditorEndToEnd, PickingABackgroundThenClosingThePickerLeavesTheWidgetFlatAgain) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
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

// On X the popover's pointer grab takes the click meant for the well beneath it.
TEST(EditorEndToEnd, AClickOnTheTextWellWhileThePopoverShowsOpensThePickerForTheWell) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  {
    // A text colour found nowhere else in the editor shows where its well is.
    platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
    stored.setColor(ansi::Color::rgb(1, 0, 1), "fontColor");
    ASSERT_TRUE(stored.synchronize());
  }
  ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  QPoint well;
  ASSERT_TRUE(eventually([&] {
    well = centreOf(qRgb(255, 0, 255), geometryOf(editor));
    return geometryOf(editor).contains(well);
  }));
  x("xdotool", {"key", "alt+b"});
  ASSERT_TRUE(eventually([&] { return !findPopover().isEmpty(); }));
  ASSERT_TRUE(x("xdotool", kFindPanel).isEmpty());
  clickAt(well);
  EXPECT_TRUE(eventually([&] { return findPopover().isEmpty(); }));
  EXPECT_TRUE(eventually([&] { return !x("xdotool", kFindPanel).isEmpty(); }));
}

// The editor and the raised widget float above ordinary windows; the panel must float above them.
TEST(EditorEndToEnd, TheColourPanelShowsOnTopAndTakesClicksDraggedOffOrOpenedByAWell) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  {
    platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
    stored.setColor(ansi::Color::rgb(1, 0, 1), "fontColor");
    ASSERT_TRUE(stored.synchronize());
  }
  ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  QPoint well;
  ASSERT_TRUE(eventually([&] {
    well = centreOf(qRgb(255, 0, 255), geometryOf(editor));
    return geometryOf(editor).contains(well);
  }));

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
  QString panel;
  ASSERT_TRUE(eventually([&] { return !(panel = x("xdotool", kFindPanel)).isEmpty(); }));
  EXPECT_TRUE(eventually([&] { return topmost(panel); }));
  typeHex(panel, "#00ff00");
  EXPECT_TRUE(eventually([&] { return storedAs("color", ansi::Color::rgb(0, 1, 0)); }));

  x("xdotool", {"windowactivate", panel, "key", "alt+F4"});
  ASSERT_TRUE(eventually([&] { return x("xdotool", kFindPanel).isEmpty(); }));
  clickAt(well);
  ASSERT_TRUE(eventually([&] { return !(panel = x("xdotool", kFindPanel)).isEmpty(); }));
  EXPECT_TRUE(eventually([&] { return topmost(panel); }));
  typeHex(panel, "#0000ff");
  EXPECT_TRUE(eventually([&] { return storedAs("fontColor", ansi::Color::rgb(0, 0, 1)); }));
}

// The picker shows inside the dark editor in the editor's own colours, and on the default black
// background its wheel still shows every hue.
TEST(EditorEndToEnd, ThePopoverWearsTheEditorsLookAndItsWheelShowsHuesOnABlackBackground) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  x("xdotool", {"key", "alt+b"});
  QString popover;
  ASSERT_TRUE(eventually([&] { return !(popover = findPopover()).isEmpty(); }));
  const QRect shown = geometryOf(popover);
  const QRect inEditor = geometryOf(editor);
  int hues = 0;
  EXPECT_TRUE(eventually([&] {
    const QImage shot = screenshot(shown);
    hues = 0;
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        const QColor pixel = shot.pixelColor(x, y);
        hues += pixel.saturation() > 200 && pixel.value() > 200;
      }
    }
    // The content's bare left margin against the editor's own margin.
    return shot.pixel(3, 120) ==
               screenshot({inEditor.left() + 3, inEditor.bottom() - 3, 1, 1}).pixel(0, 0) &&
           hues > 10000;
  })) << hues;
}

}  // namespace
}  // namespace pellimo::test
