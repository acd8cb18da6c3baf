// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <optional>

#include "ModuleHarness.h"
#include "Processes.h"

namespace pellimo::test {
namespace {

/// The built-in module, started with a private bus standing in for the system bus, on which
/// this process plays logind's manager.
class SleepAndWake : public ::testing::Test {
 protected:
  void SetUp() override {
    logind.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(logind.waitForReadyRead(5000));
    const QByteArray address = logind.readLine().trimmed();
    // The harness passes it on to the module.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), kBus);
    ASSERT_TRUE(bus.registerService("org.freedesktop.login1"));
    harness.emplace();
  }
  void TearDown() override {
    harness.reset();
    logind.kill();
    logind.waitForFinished();
  }

  void prepareForSleep(bool sleeping) {
    QDBusMessage signal = QDBusMessage::createSignal(
        "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
    QDBusConnection(kBus).send(signal << sleeping);
  }

  QString canvas() { return statusOf(*harness).value("canvas").toString(); }

  static inline const QString kBus = QStringLiteral("fake-system-bus");
  QProcess logind;
  std::optional<ModuleHarness> harness;
};

TEST_F(SleepAndWake, SleepStopsTheModulesScriptAndWakeRunsItAgain) {
  const QString runs = harness->root() + "/runs";
  ASSERT_TRUE(storeSettings(
      {{"scriptValue", QStringLiteral(R"sh(echo x >> '%1'; echo "run $(wc -l < '%1')"; )sh"
                                      "while :; do sleep 0.2; done")
                           .arg(runs)}}));
  QProcess* module = harness->startWidget();
  const auto pid = static_cast<pid_t>(module->processId());
  ASSERT_TRUE(eventually([&] { return canvas() == "run 1\n"; }, 20000));
  ASSERT_EQ(liveChildrenOf(pid).size(), 1u);
  const pid_t first = liveChildrenOf(pid).front().group;

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
  EXPECT_TRUE(liveMembersOfGroup(children.front().group).empty());
}

}  // namespace
}  // namespace pellimo::test
