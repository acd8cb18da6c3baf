#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include "RunnerFixture.h"

namespace pellimo::test {
namespace {

TEST_F(RunnerTest, OnlyAPositiveIntervalSchedulesReloads) {
  ASSERT_TRUE(load("true"));
  for (const QVariant& interval : {QVariant(0), QVariant(-3), QVariant("soon")}) {
    setSetting(platform::keys::kReloadAfter, interval);
    runner->start();
    EXPECT_EQ(runner->loper(), nullptr);
  }
  setSetting(platform::keys::kReloadAfter, 30);
  runner->start();
  runner->start();
  serveFor(100);
  // The second start replaced the first one's timer.
  EXPECT_EQ(runner->findChildren<QTimer*>(Qt::FindDirectChildrenOnly).size(), 1);
  ASSERT_TRUE(runner->loper());
  EXPECT_EQ(runner->loper()->interval(), 30000);
}

TEST_F(RunnerTest, AScriptSlowerThanItsIntervalFinishesEveryRun) {
  const QString log = runtime.path() + "/log";
  setSetting(platform::keys::kReloadAfter, 1);
  ASSERT_TRUE(
      load(QStringLiteral("echo begin >> '%1'; echo begin; sleep 2.5; echo end; echo end >> '%1'")
               .arg(log)));
  runner->start();
  std::size_t most = 0;
  QByteArray lines;
  EXPECT_TRUE(eventually(
      [&] {
        most = std::max(most, children().size());
        QFile file(log);
        lines = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return lines.count("end") >= 2;
      },
      12000));
  // No tick stopped a run: each one that began ended, one child at a time.
  EXPECT_EQ(lines.count("begin"), lines.count("end")) << lines.toStdString();
  EXPECT_EQ(most, 1u);
  EXPECT_TRUE(canvas.shown.contains("begin\nend\n"));
}

TEST_F(RunnerTest, ShutDownLeavesNoDescendantEvenOfALoopIgnoringSigterm) {
  ASSERT_TRUE(load("trap '' TERM; while :; do sleep 0.2; done"));
  // The first run's child, stopped by the second run, still waits for its SIGKILL.
  QList<pid_t> groups;
  for (int run = 0; run < 2; ++run) {
    runner->run();
    ASSERT_TRUE(eventually([&] {
      for (const ProcessEntry& child : children()) {
        if (!groups.contains(child.pid)) groups.append(child.pid);
      }
      return groups.size() > run && liveMembersOfGroup(groups.last()).size() == 2;
    }));
  }
  runner->shutDown();
  auto leftOver = [&] {
    std::size_t count = children().size();
    for (const pid_t group : groups)
      count += liveMembersOfGroup(group).size();
    return count;
  };
  // No event loop runs after quitting: poll the process table without serving one.
  const QDeadlineTimer deadline(1000);
  while (leftOver() > 0 && !deadline.hasExpired())
    QThread::msleep(20);
  EXPECT_EQ(leftOver(), 0u);
}

}  // namespace
}  // namespace pellimo::test
