#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

#include "ModuleHarness.h"
#include "Processes.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

/// The built-in module, started on a private bus standing in for the system bus, on which this
/// process plays logind's manager.
class SleepAndWake : public ::testing::Test {
 protected:
  SleepAndWake() {
    logind_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (logind_.waitForReadyRead(5000)) {
      const QByteArray address = logind_.readLine().trimmed();
      // The harness passes it on to the modules it starts.
      qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
      QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), kBus);
      ready = bus.isConnected() && bus.registerService("org.freedesktop.login1");
    }
    harness.emplace();
  }
  ~SleepAndWake() override {
    harness.reset();
    QDBusConnection::disconnectFromBus(kBus);
    qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    logind_.kill();
    logind_.waitForFinished();
  }

  void prepareForSleep(bool sleeping) {
    QDBusMessage signal = QDBusMessage::createSignal(
        "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
    QDBusConnection(kBus).send(signal << sleeping);
  }

  /// The module's canvas text, as `pellimo status --json` reports it.
  QString canvas() {
    const Finished status = harness->host({"status", "--json"});
    return QJsonDocument::fromJson(status.out.toUtf8()).object().value("canvas").toString();
  }

  static inline const QString kBus = QStringLiteral("fake-system-bus");
  bool ready = false;
  std::optional<ModuleHarness> harness;

 private:
  QProcess logind_;
};

TEST_F(SleepAndWake, SleepStopsTheModulesScriptAndWakeRunsItAgain) {
  ASSERT_TRUE(ready);
  platform::SettingsStore store(QStringLiteral("org.pellimo.widget"));
  store.setValue(0, "modeValue");
  store.setValue(QStringLiteral("echo x >> '%1'; echo \"run $(wc -l < '%1')\"; "
                                "while :; do sleep 0.2; done")
                     .arg(harness->root() + "/runs"),
                 "scriptValue");
  store.synchronize();
  QProcess* module = harness->startWidget();
  const auto pid = static_cast<pid_t>(module->processId());
  ASSERT_TRUE(eventually([&] { return canvas() == "run 1\n"; }, 20000));
  ASSERT_EQ(liveChildrenOf(pid).size(), 1u);
  const pid_t first = liveChildrenOf(pid).front().pid;

  prepareForSleep(true);
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(first).empty(); }, 5000));
  EXPECT_EQ(canvas(), "run 1\n");

  prepareForSleep(false);
  EXPECT_TRUE(eventually([&] { return canvas() == "run 2\n"; }, 5000));
  const auto children = liveChildrenOf(pid);
  ASSERT_EQ(children.size(), 1u);

  // Quitting takes the script and the loop's `sleep` along.
  EXPECT_EQ(harness->host({"send", "kill"}).exitCode, 0);
  EXPECT_TRUE(module->waitForFinished(10000));
  EXPECT_TRUE(liveMembersOfGroup(children.front().pid).empty());
}

}  // namespace
}  // namespace pellimo::test
