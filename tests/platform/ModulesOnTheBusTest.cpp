#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>

#include "ModuleHelper.h"
#include "TestSupport.h"
#include "platform/BusContract.h"
#include "platform/InstanceControl.h"
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

// Clock ticks since boot, the unit of process start times.
quint64 ticksSinceBoot() {
  QFile uptime("/proc/uptime");
  if (!uptime.open(QIODevice::ReadOnly)) return 0;
  return quint64(uptime.readLine().split(' ').first().toDouble() * double(sysconf(_SC_CLK_TCK)));
}

TEST(ModuleObject, ProxyOfTheSameContractReadsWhatTheModuleShowsAndAsksItToQuit) {
  ModuleObject module;
  ASSERT_TRUE(module.exportOnBus("org.example.shown"));
  module.setReady(true);
  module.setCanvasSource([] { return QStringLiteral("line one\nline two"); });
  // The process's own connection: a second one would wait for this blocked thread to answer.
  ModuleProxy proxy(bus::moduleServiceName(QCoreApplication::applicationPid()), bus::kModulePath,
                    QDBusConnection::sessionBus());
  EXPECT_TRUE(proxy.ready() && !proxy.raised());
  EXPECT_EQ(proxy.canvas(), "line one\nline two");
  int quitRequests = 0;
  QObject::connect(&module, &ModuleObject::quitRequested, [&] { ++quitRequests; });
  QDBusPendingReply<> reply = proxy.Quit();
  reply.waitForFinished();
  EXPECT_FALSE(reply.isError());
  EXPECT_EQ(quitRequests, 0);  // answered first, acted on afterwards
  EXPECT_TRUE(test::eventually([&] { return quitRequests == 1; }));
}

TEST(RunningApplications, ListsTheAnsweringModulesOldestFirstAndTerminatesThemNormally) {
  test::ModuleHelper first("org.example.listed");
  ASSERT_TRUE(first.exported);
  // Start times count clock ticks: the next modules start a tick later.
  ASSERT_TRUE(test::eventually([&] { return ticksSinceBoot() > processStartTime(first.pid()); }));
  test::ModuleHelper second("org.example.other");
  test::ModuleHelper stuck("org.example.stuck");
  ASSERT_TRUE(second.exported && stuck.exported);
  ASSERT_EQ(::kill(pid_t(stuck.pid()), SIGSTOP), 0);
  QElapsedTimer clock;
  clock.start();
  const QList<RunningApplication> running = runningApplications();
  EXPECT_LT(clock.elapsed(), 3000);
  ::kill(pid_t(stuck.pid()), SIGCONT);

  ASSERT_EQ(pids(running), (QList<qint64>{first.pid(), second.pid()}));
  EXPECT_EQ(running[0],
            (RunningApplication{bus::moduleServiceName(first.pid()), "org.example.listed",
                                first.pid(), processStartTime(first.pid())}));
  EXPECT_EQ(running[1].bundleIdentifier, "org.example.other");
  EXPECT_NEAR(double(running[1].startTime), double(ticksSinceBoot()), 60.0 * sysconf(_SC_CLK_TCK))
      << "started within the last minute";

  running[1].terminate();
  ASSERT_TRUE(second.process.waitForFinished(5000));
  EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.process.exitCode(), 0);
}

TEST(InstanceControl, AsksAllButTheFirstToQuitLastFirst) {
  const QString self = "org.pellimo.widget";
  const auto instance = [](const QString& identifier, qint64 pid) {
    return RunningApplication{bus::moduleServiceName(pid), identifier, pid, 0};
  };
  const struct {
    QList<RunningApplication> running;
    QList<qint64> asked;
  } cases[] = {
      {{instance("org.other", 5), instance(self, 10)}, {}},
      {{instance(self, 10), instance("org.other", 11), instance(self, 12), instance(self, 13)},
       {13, 12}},
      {{instance(self, 30), instance(self, 20)}, {20}},  // the list's order, not the ids'
      {{instance(self, 10), instance("org.pellimo.Widget", 11)}, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(pids(instancesToTerminate(c.running, self)), c.asked);
}

}  // namespace
}  // namespace pellimo::platform
