#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>

#include "ModuleHarness.h"
#include "ModuleSettings.h"
#include "Processes.h"

namespace pellimo::test {
namespace {

using test::liveChildrenOf;
using test::liveMembersOfGroup;

/// A private bus standing in for the system bus, on which this process plays logind's manager.
/// Modules started after it find the bus through DBUS_SYSTEM_BUS_ADDRESS.
class FakeLogind {
 public:
  FakeLogind() {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    if (!daemon_.waitForReadyRead(5000)) return;
    const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
    bus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, kName));
    owned_ = bus_->isConnected() && bus_->registerService(QStringLiteral("org.freedesktop.login1"));
  }
  ~FakeLogind() {
    bus_.reset();
    QDBusConnection::disconnectFromBus(kName);
    qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    daemon_.kill();
    daemon_.waitForFinished();
  }

  bool ready() const { return owned_; }

  void prepareForSleep(bool sleeping) {
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("PrepareForSleep"));
    signal << sleeping;
    bus_->send(signal);
  }

 private:
  static inline const QString kName = QStringLiteral("fake-system-bus");
  QProcess daemon_;
  std::unique_ptr<QDBusConnection> bus_;
  bool owned_ = false;
};

class SleepAndWake : public ::testing::Test {
 protected:
  FakeLogind logind;  // first: the harness takes the environment it sets
  ModuleHarness harness;
};

TEST_F(SleepAndWake, SleepStopsTheModulesScriptAndWakeRunsItAgain) {
  ASSERT_TRUE(logind.ready());
  const QString runs = harness.root() + "/runs";
  seedBuiltInSettings(
      {{"modeValue", 0},
       {"scriptValue", QStringLiteral("echo x >> '%1'; echo \"run $(wc -l < '%1')\"; "
                                      "while :; do sleep 0.2; done")
                           .arg(runs)}});
  QProcess* module = harness.startWidget();
  const auto pid = static_cast<pid_t>(module->processId());
  ASSERT_TRUE(eventually([&] { return moduleCanvas(harness) == "run 1\n"; }, 20000));
  ASSERT_EQ(liveChildrenOf(pid).size(), 1u);
  const pid_t first = liveChildrenOf(pid).front().pid;

  logind.prepareForSleep(true);
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(first).empty(); }, 5000));
  EXPECT_EQ(moduleCanvas(harness), "run 1\n");

  logind.prepareForSleep(false);
  EXPECT_TRUE(eventually([&] { return moduleCanvas(harness) == "run 2\n"; }, 5000));
  const auto children = liveChildrenOf(pid);
  ASSERT_EQ(children.size(), 1u);

  // Quitting takes the script and the loop's `sleep` along.
  EXPECT_EQ(harness.host({"send", "kill"}).exitCode, 0);
  EXPECT_TRUE(module->waitForFinished(10000));
  EXPECT_TRUE(liveMembersOfGroup(children.front().pid).empty());
}

}  // namespace
}  // namespace pellimo::test
