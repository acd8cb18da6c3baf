#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include "ModuleHelper.h"
#include "PlatformFiles.h"
#include "platform/BusContract.h"
#include "platform/ModuleObject.h"
#include "platform/ModuleProxy.h"
#include "platform/ProcessInfo.h"
#include "platform/RunningApplications.h"

namespace pellimo::platform {
namespace {

QList<qint64> pids(const QList<RunningApplication>& applications) {
  QList<qint64> result;
  for (const auto& application : applications)
    result << application.processIdentifier;
  return result;
}

TEST(ModuleObject, ProxyOfTheSameContractReadsWhatTheModuleShows) {
  ModuleObject module;
  ASSERT_TRUE(module.exportOnBus("org.example.shown"));
  module.setReady(true);
  module.setRaised(true);
  module.setFrameSource([] { return QStringLiteral("{{1, 2}, {3, 4}}"); });
  module.setCanvasSource([] { return QStringLiteral("line one\nline two"); });
  const qint64 pid = QCoreApplication::applicationPid();
  // The process's own connection: a second one would wait for this blocked thread to answer.
  ModuleProxy proxy(bus::moduleServiceName(pid), bus::kModulePath, QDBusConnection::sessionBus());
  EXPECT_EQ(proxy.bundleIdentifier(), "org.example.shown");
  EXPECT_EQ(proxy.processId(), pid);
  EXPECT_EQ(proxy.startTime(), processStartTime(pid));
  EXPECT_GT(proxy.startTime(), 0u);
  EXPECT_TRUE(proxy.ready() && proxy.raised());
  EXPECT_EQ(proxy.frame(), "{{1, 2}, {3, 4}}");
  EXPECT_EQ(proxy.canvas(), "line one\nline two");

  int quitRequests = 0;
  QObject::connect(&module, &ModuleObject::quitRequested, [&] { ++quitRequests; });
  QDBusPendingReply<> reply = proxy.Quit();
  reply.waitForFinished();
  EXPECT_FALSE(reply.isError());
  EXPECT_EQ(quitRequests, 0);  // answered first, acted on afterwards
  EXPECT_TRUE(QTest::qWaitFor([&] { return quitRequests == 1; }, 5000));
}

TEST(RunningApplications, ListsModulesOldestFirstAndTerminatesThemNormally) {
  test::ModuleHelper first("org.example.listed");
  QThread::msleep(30);  // distinct start times: the clock counts hundredths of a second
  test::ModuleHelper second("org.example.other");
  ASSERT_TRUE(first.exported && second.exported);

  const QList<RunningApplication> running = runningApplications();
  ASSERT_EQ(pids(running), (QList<qint64>{first.pid(), second.pid()}));
  EXPECT_EQ(running[0].service, bus::moduleServiceName(first.pid()));
  EXPECT_EQ(running[0].bundleIdentifier, "org.example.listed");
  EXPECT_EQ(running[1].bundleIdentifier, "org.example.other");
  EXPECT_LT(running[0].startTime, running[1].startTime);

  running[1].terminate();
  ASSERT_TRUE(second.process.waitForFinished(5000));
  EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.process.exitCode(), 0);
  EXPECT_EQ(pids(runningApplications()), QList<qint64>{first.pid()});
}

TEST(RunningApplications, ModuleThatDoesNotAnswerIsLeftOut) {
  test::ModuleHelper answering("org.example.answering");
  test::ModuleHelper stuck("org.example.stuck");
  ASSERT_TRUE(answering.exported && stuck.exported);
  ASSERT_EQ(::kill(pid_t(stuck.pid()), SIGSTOP), 0);
  QElapsedTimer clock;
  clock.start();
  const QList<RunningApplication> running = runningApplications();
  EXPECT_LT(clock.elapsed(), 3000);
  ::kill(pid_t(stuck.pid()), SIGCONT);
  EXPECT_EQ(pids(running), QList<qint64>{answering.pid()});
}

}  // namespace
}  // namespace pellimo::platform
