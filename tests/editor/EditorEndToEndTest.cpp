#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "ModuleHarness.h"
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

// A user's journey through the editor on a real desktop: the host's "config" opens it as a
// floating window on every desktop, and what is typed there runs on the widget and is stored.
TEST(EditorEndToEnd, ConfigShowsTheEditorAndARunTypedThereReachesTheWidget) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  const QStringList findEditor{"search", "--onlyvisible", "--name", "^Pellimo editor$"};
  ModuleHarness harness;
  const Finished launched = harness.host({"launch"});
  ASSERT_EQ(launched.exitCode, 0) << launched.err.toStdString();
  ASSERT_EQ(harness.host({"send", "config"}).exitCode, 0);
  QString editor;
  ASSERT_TRUE(eventually(
      [&] { return !(editor = x("xdotool", findEditor).section('\n', 0, 0)).isEmpty(); }));
  // Asked again until it holds: a window manager may pass over a request for a window it is
  // still taking in.
  ASSERT_TRUE(eventually([&] {
    x("xdotool", {"windowactivate", editor});
    return x("xdotool", {"getactivewindow"}) == editor;
  }));
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
  EXPECT_TRUE(eventually([&] {
    const Finished status = harness.host({"status", "--json"});
    canvas = QJsonDocument::fromJson(status.out.toUtf8()).object().value("canvas").toString();
    return canvas == QStringLiteral("e2e-ran\n");
  })) << canvas.toStdString();
  EXPECT_TRUE(x("xdotool", findEditor).isEmpty());
  platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
  EXPECT_EQ(stored.stringForKey("scriptValue"), QStringLiteral("echo e2e-ran"));
  EXPECT_EQ(stored.integerForKey("reloadAfter"), 2);
}

}  // namespace
}  // namespace pellimo::test
