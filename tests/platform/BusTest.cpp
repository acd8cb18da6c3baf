// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <memory>

#include "TestSupport.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/InstanceControl.h"
#include "platform/ModuleObject.h"
#include "platform/ModuleProxy.h"
#include "platform/NotificationCenter.h"
#include "platform/ProcessInfo.h"
#include "platform/RunningApplications.h"

namespace pellimo::platform {
namespace {

using Dictionary = QMap<QString, QString>;

// A stand-in module process (ModuleStub.cpp), started with its module object on the bus.
struct ModuleProcess : QProcess {
  explicit ModuleProcess(const QString& bundleIdentifier) {
    setProcessChannelMode(ForwardedErrorChannel);
    start(QStringLiteral(PELLIMO_MODULE_STUB), {bundleIdentifier});
    exported = waitForReadyRead(10000) && readLine() == "exported\n";  // written in one piece
  }
  ~ModuleProcess() override { kill(), waitForFinished(); }
  bool exported = false;
};

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
  ModuleProxy proxy(bus::moduleServiceName("org.example.shown", QCoreApplication::applicationPid()),
                    bus::kModulePath, QDBusConnection::sessionBus());
  EXPECT_TRUE(proxy.ready() && !proxy.raised());
  EXPECT_EQ(proxy.canvas(), "line one\nline two");
  int quitRequests = 0;
  QObject::connect(&module, &ModuleObject::quitRequested, [&] { ++quitRequests; });
  EXPECT_TRUE(QDBusReply<void>(proxy.Quit()).isValid());
  EXPECT_EQ(quitRequests, 0);  // answered first, acted on afterwards
  EXPECT_TRUE(test::eventually([&] { return quitRequests == 1; }));
}

TEST(RunningApplications, ListsAModulesInstancesOldestFirstWhetherTheyAnswerOrNot) {
  ModuleProcess first("org.example.listed");
  ASSERT_TRUE(first.exported);
  // Start times count clock ticks: the next modules start a tick later.
  ASSERT_TRUE(
      test::eventually([&] { return ticksSinceBoot() > processStartTime(first.processId()); }));
  ModuleProcess other("org.example.other");
  ModuleProcess stuck("org.example.listed");
  ASSERT_TRUE(other.exported && stuck.exported);
  ASSERT_EQ(::kill(pid_t(stuck.processId()), SIGSTOP), 0);
  QElapsedTimer clock;
  clock.start();
  const QList<RunningApplication> listed =
      runningApplicationsWithBundleIdentifier("org.example.listed");
  const QList<RunningApplication> all = runningApplications();
  EXPECT_LT(clock.elapsed(), 1000) << "no module is asked anything";
  ::kill(pid_t(stuck.processId()), SIGCONT);

  ASSERT_EQ(pids(listed), (QList<qint64>{first.processId(), stuck.processId()}));
  EXPECT_EQ(pids(all), (QList<qint64>{first.processId(), other.processId(), stuck.processId()}));
  EXPECT_EQ(listed[0].service, bus::moduleServiceName("org.example.listed", first.processId()));
  EXPECT_NEAR(double(listed[1].startTime), double(ticksSinceBoot()), 60.0 * sysconf(_SC_CLK_TCK))
      << "started within the last minute";
  listed[1].terminate();
  ASSERT_TRUE(stuck.waitForFinished(5000));
  EXPECT_EQ(stuck.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(stuck.exitCode(), 0);
}

TEST(RunningApplications, AnyIdentifierGivesABusNameOfItsOwn) {
  // Elements a bus name may not hold, a leading digit, any character, and more than its 255.
  const QString identifiers[] = {"1.2.3", "org.example.a b/ü", QString(300, u'x'), "org.example."};
  for (const QString& identifier : identifiers) {
    ModuleProcess module(identifier);
    ASSERT_TRUE(module.exported) << identifier.toStdString();
    EXPECT_EQ(pids(runningApplicationsWithBundleIdentifier(identifier)),
              QList<qint64>{module.processId()})
        << identifier.toStdString();
  }
}

TEST(InstanceControl, TheEarliestStartedStaysTheLowerProcessIdOnATie) {
  const auto instance = [](qint64 pid, quint64 started) {
    return RunningApplication{QStringLiteral("p%1").arg(pid), pid, started};
  };
  const RunningApplication self = instance(200, 5000);
  const struct {
    const char* name;
    QList<RunningApplication> running;
    std::optional<qint64> stays;  // when not self
  } cases[] = {
      {"alone", {self}, std::nullopt},
      {"not yet listed itself", {}, std::nullopt},
      {"the others started later", {instance(100, 5001), self, instance(300, 6000)}, std::nullopt},
      {"one started a tick earlier", {self, instance(300, 4999)}, 300},
      {"same tick, lower pid", {instance(300, 5000), self, instance(199, 5000)}, 199},
      {"same tick, higher pid", {instance(201, 5000), self}, std::nullopt},
      {"the earliest of several, in any order",
       {instance(50, 4000), self, instance(40, 3000), instance(60, 3000)},
       40},
  };
  for (const auto& c : cases) {
    const auto older = olderInstance(c.running, self);
    EXPECT_EQ(older ? std::optional(older->processIdentifier) : std::nullopt, c.stays) << c.name;
  }
}

TEST(NotificationCenter, CallsTheObserversOfTheNameInOrderWhileTheirContextsLive) {
  NotificationCenter center;
  QObject keeper;
  auto doomed = std::make_unique<QObject>();
  auto gone = std::make_unique<QObject>();
  QStringList calls;
  center.addObserver(gone.get(), "n", [&] { calls << "gone"; });
  center.addObserver(&keeper, "n", [&] { calls << "first"; });
  center.addObserver(&keeper, "other", [&] { calls << "other name"; });
  center.addObserver(&keeper, "n", [&] {
    calls << "second";
    doomed.reset();  // its observer, still due in this post, must not run
    center.addObserver(&keeper, "n", [&] { calls << "added"; });  // waits for the next post
  });
  center.addObserver(doomed.get(), "n", [&] { calls << "doomed"; });
  gone.reset();
  center.postNotificationName("n");
  EXPECT_EQ(calls, (QStringList{"first", "second"}));
  center.postNotificationName("n");
  EXPECT_EQ(calls, (QStringList{"first", "second", "first", "second", "added"}));
}

TEST(DistributedNotificationCenterTest, ObserversGetTheirNamesWithADictionaryOfStringsOrNothing) {
  auto& center = DistributedNotificationCenter::defaultCenter();
  QObject context;
  auto gone = std::make_unique<QObject>();
  QList<DistributedNotificationCenter::UserInfo> received;
  QStringList calls;
  ASSERT_TRUE(center.addObserverWithUserInfo(&context, "test.info",
                                             [&](const auto& info) { received << info; }));
  ASSERT_TRUE(center.addObserver(&context, "test.other", [&] { calls << "other"; }));
  ASSERT_TRUE(center.addObserver(gone.get(), "test.info", [&] { calls << "gone"; }));
  center.postNotificationName("test.info", std::nullopt);
  center.postNotificationName("test.info", Dictionary{});
  center.postNotificationName("test.info", Dictionary{{"key", "{{1, 2}, {3, 4}}"}});
  center.postNotificationName("test");
  gone.reset();  // before the notifications have arrived
  // What a foreign sender might put on the wire: anything after the name other than the
  // dictionary counts as no user information, and the name must come first.
  const QVariantList odd[] = {
      {"test.info", QVariantMap{{"key", 1}}}, {42, "test.info"}, {"test.other"}};
  for (const QVariantList& arguments : odd) {
    QDBusMessage signal = QDBusMessage::createSignal(
        bus::kNotificationPath, bus::kNotificationInterface, bus::kNotificationMember);
    signal.setArguments(arguments);
    QDBusConnection::sessionBus().send(signal);
  }
  // The bus keeps one sender's order: once the last has arrived, all the others have.
  ASSERT_TRUE(test::eventually([&] { return received.size() == 4 && calls.contains("other"); }));
  EXPECT_EQ(calls, QStringList{"other"});
  // QtDBus may hand over signals of different signatures out of their order on the bus.
  EXPECT_EQ(received.count(std::nullopt), 2);
  EXPECT_TRUE(received.contains(Dictionary{}));
  EXPECT_TRUE(received.contains(Dictionary{{"key", "{{1, 2}, {3, 4}}"}}));
}

}  // namespace
}  // namespace pellimo::platform
