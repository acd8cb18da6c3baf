// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Desktop.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

QString storedEditorFrame() {
  return platform::SettingsStore(kBuiltIn).stringForKey(QStringLiteral("editorFrame"));
}

// A user's journey through the editor on a real desktop: the host's "config" opens it as a
// floating window on every desktop beside the widget, it opens again where the user last put it,
// and what is typed there runs on the widget and is stored.
TEST(EditorEndToEnd, TheEditorOpensBesideTheWidgetThenWhereLastPutAndARunTypedThereReachesIt) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  const Finished launched = harness.host({"launch"});
  ASSERT_EQ(launched.exitCode, 0) << launched.err.toStdString();
  const QRect widget = frameOf(harness);
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  const QString state = x("xprop", {"-id", editor, "_NET_WM_STATE"});
  EXPECT_TRUE(state.contains("_ABOVE") && state.contains("_SKIP_TASKBAR") &&
              state.contains("_SKIP_PAGER"))
      << state.toStdString();
  EXPECT_TRUE(x("xprop", {"-id", editor, "_NET_WM_DESKTOP"}).contains("4294967295"));
  const QRect first = geometryOf(editor);
  EXPECT_FALSE(first.intersects(widget))
      << testing::PrintToString(first) << " over the widget at " << testing::PrintToString(widget);
  EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(first))
      << testing::PrintToString(first);
  EXPECT_TRUE(storedEditorFrame().isEmpty()) << "opening is not the user's placing";

  const QRect put(40, 300, first.width(), first.height());
  x("xdotool", {"windowmove", editor, QString::number(put.x()), QString::number(put.y())});
  const QString stored = platform::stringFromRect(QRectF(put));
  EXPECT_TRUE(eventually([&] { return storedEditorFrame() == stored; }))
      << storedEditorFrame().toStdString();
  x("xdotool", {"key", "--delay", "50", "alt+c"});
  ASSERT_TRUE(eventually([&] { return x("xdotool", kFindEditor).isEmpty(); }));
  const QString again = openEditor(harness);
  ASSERT_FALSE(again.isEmpty());
  QRect reopened;
  EXPECT_TRUE(eventually([&] { return (reopened = geometryOf(again)) == put; }))
      << testing::PrintToString(reopened);

  // X delivers the keys in order, so each acts on what the ones before did.
  x("xdotool", {"type", "--delay", "20", "echo e2e-ran"});
  x("xdotool", {"key", "--delay", "50", "alt+l", "ctrl+a"});
  x("xdotool", {"type", "--delay", "20", "2"});
  x("xdotool", {"key", "--delay", "50", "alt+r"});
  QString canvas;
  EXPECT_TRUE(eventually([&] { return (canvas = canvasOf(harness)) == "e2e-ran\n"; }))
      << canvas.toStdString();
  EXPECT_TRUE(x("xdotool", kFindEditor).isEmpty());
  platform::SettingsStore settings(kBuiltIn);
  EXPECT_EQ(settings.stringForKey("scriptValue"), QStringLiteral("echo e2e-ran"));
  EXPECT_EQ(settings.integerForKey("reloadAfter"), 2);
}

}  // namespace
}  // namespace pellimo::test
