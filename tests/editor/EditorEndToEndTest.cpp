#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "DesktopDriver.h"
#include "ModuleHarness.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

namespace d = desktop;

const QString kEditorName = QStringLiteral("^Pellimo editor$");

// A user's journey through the editor on a real desktop: the host's "config" opens it as a
// floating window on every desktop, and what is typed there runs on the widget and is stored.
TEST(EditorEndToEnd, ConfigShowsTheEditorAndARunTypedThereReachesTheWidget) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  const Finished launched = harness.host({"launch"});
  ASSERT_EQ(launched.exitCode, 0) << launched.err.toStdString();
  ASSERT_EQ(harness.host({"send", "config"}).exitCode, 0);
  const auto editor = d::waitForWindow(kEditorName);
  ASSERT_TRUE(editor);
  ASSERT_TRUE(d::activate(*editor));
  const QString state = d::property(*editor, "_NET_WM_STATE");
  EXPECT_TRUE(state.contains("_NET_WM_STATE_ABOVE")) << state.toStdString();
  EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state.toStdString();
  EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_PAGER")) << state.toStdString();
  EXPECT_TRUE(d::property(*editor, "_NET_WM_DESKTOP").contains("4294967295"));

  d::type("echo e2e-ran");
  d::key("alt+l");
  d::key("ctrl+a");
  d::type("2");
  d::key("alt+r");

  QString canvas;
  EXPECT_TRUE(eventually([&] {
    const Finished status = harness.host({"status", "--json"});
    canvas = QJsonDocument::fromJson(status.out.toUtf8()).object().value("canvas").toString();
    return canvas == QStringLiteral("e2e-ran\n");
  })) << canvas.toStdString();
  EXPECT_TRUE(d::visibleWindows({"--name", kEditorName}).isEmpty());
  platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
  EXPECT_EQ(stored.stringForKey("scriptValue"), QStringLiteral("echo e2e-ran"));
  EXPECT_EQ(stored.integerForKey("reloadAfter"), 2);
}

}  // namespace
}  // namespace pellimo::test
