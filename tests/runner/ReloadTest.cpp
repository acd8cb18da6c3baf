#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include "RunnerFixture.h"

namespace pellimo::test {
namespace {

int linesIn(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count('\n')) : 0;
}

/// The reload timers of the runner that are still ticking.
int tickingTimers(CodeRunner& runner) {
  int ticking = 0;
  for (const QTimer* timer : runner.findChildren<QTimer*>()) {
    if (timer->isActive() && !timer->isSingleShot()) ++ticking;
  }
  return ticking;
}

TEST_F(RunnerTest, ReloadTicksRunTheScriptAgain) {
  const QString log = runtimePath() + "/runs";
  setSetting(platform::keys::kReloadAfter, 1);
  ASSERT_TRUE(load(QStringLiteral("echo run >> '%1'").arg(log)));
  runner().start();
  EXPECT_TRUE(eventually([&] { return linesIn(log) >= 2; }, 4000)) << linesIn(log) << " runs";
}

TEST_F(RunnerTest, OnlyAPositiveIntervalSchedulesReloads) {
  ASSERT_TRUE(load(QStringLiteral("true")));
  const QVariant intervals[] = {QVariant(), 0, -3, QStringLiteral("soon")};
  for (const QVariant& interval : intervals) {
    setSetting(platform::keys::kReloadAfter, interval);
    runner().start();
    EXPECT_EQ(runner().loper(), nullptr) << interval.toString().toStdString();
  }
  setSetting(platform::keys::kReloadAfter, 30);
  runner().start();
  runner().start();
  serveFor(100);
  EXPECT_EQ(tickingTimers(runner()), 1);
  ASSERT_TRUE(runner().loper());
  EXPECT_EQ(runner().loper()->interval(), 30000);
}

TEST_F(RunnerTest, AScriptSlowerThanItsIntervalFinishesEveryRun) {
  const QString log = runtimePath() + "/log";
  setSetting(platform::keys::kReloadAfter, 1);
  ASSERT_TRUE(load(QStringLiteral("echo begin $$ >> '%1'; echo begin; sleep 2.5; echo end; "
                                  "echo end $$ >> '%1'")
                       .arg(log)));
  runner().start();
  std::size_t most = 0;
  auto ends = [&] {
    QFile file(log);
    return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count("end")) : 0;
  };
  EXPECT_TRUE(eventually(
      [&] {
        most = std::max(most, children().size());
        return ends() >= 2;
      },
      12000));
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray lines = file.readAll();
  // The next run begins no sooner than a tick and a second after this one ended.
  EXPECT_EQ(lines.count("begin"), lines.count("end")) << lines.toStdString();
  EXPECT_EQ(most, 1u);
  EXPECT_TRUE(canvas.shown.contains(QStringLiteral("begin\nend\n")));
}

TEST_F(RunnerTest, ShutDownLeavesNoDescendant) {
  struct Case {
    const char* what;
    QString script;
    bool replacedJustBefore;
  };
  const QString loop = QStringLiteral("while :; do sleep 0.2; done");
  const QString stubborn = QStringLiteral("trap '' TERM; ") + loop;
  const Case cases[] = {
      {"a shell loop", loop, false},
      {"a loop that ignores SIGTERM", stubborn, false},
      {"a loop ignoring SIGTERM, replaced by a new run just before", stubborn, true},
  };
  for (const Case& script : cases) {
    ASSERT_TRUE(load(script.script));
    QList<pid_t> groups;
    for (int run = 0; run < (script.replacedJustBefore ? 2 : 1); ++run) {
      runner().run();
      pid_t started = 0;
      ASSERT_TRUE(eventually(
          [&] {
            for (const ProcessEntry& child : children()) {
              if (!groups.contains(child.pid)) started = child.pid;
            }
            return started != 0;
          },
          3000));
      groups.append(started);
      // Let the loop start its `sleep`.
      serveFor(300);
    }
    runner().shutDown();
    // No event loop runs after quitting: poll the process table without serving one.
    QDeadlineTimer deadline(1000);
    auto leftOver = [&] {
      std::size_t count = liveDescendantsOf(::getpid()).size();
      for (const pid_t group : groups)
        count += liveMembersOfGroup(group).size();
      return count;
    };
    while (leftOver() > 0 && !deadline.hasExpired())
      QThread::msleep(20);
    EXPECT_EQ(leftOver(), 0u) << script.what;
    runner().resetTask();
    serveFor(100);
  }
}

}  // namespace
}  // namespace pellimo::test
