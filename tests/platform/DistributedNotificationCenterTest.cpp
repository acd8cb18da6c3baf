#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <memory>

#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"

namespace pellimo::platform {
namespace {

using UserInfo = DistributedNotificationCenter::UserInfo;
using Dictionary = QMap<QString, QString>;

class DistributedNotificationCenterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(center.isConnected()); }

  // Sends the notification signal with whatever arguments a foreign sender might use.
  static void sendRaw(const QVariantList& arguments) {
    QDBusMessage signal = QDBusMessage::createSignal(
        bus::kNotificationPath, bus::kNotificationInterface, bus::kNotificationMember);
    signal.setArguments(arguments);
    QDBusConnection::sessionBus().send(signal);
  }

  // Waits for a marker posted last: the bus keeps one sender's order, so everything sent
  // before it has been delivered by then.
  void settle() {
    bool seen = false;
    QObject scope;
    ASSERT_TRUE(center.addObserver(&scope, "test.marker", [&] { seen = true; }));
    center.postNotificationName("test.marker");
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen; }, 5000));
  }

  DistributedNotificationCenter& center = DistributedNotificationCenter::defaultCenter();
  QObject context;
};

TEST_F(DistributedNotificationCenterTest, NoUserInformationAndAnEmptyDictionaryStayDistinct) {
  QList<UserInfo> received;
  ASSERT_TRUE(center.addObserverWithUserInfo(&context, "test.frame",
                                             [&](const UserInfo& info) { received << info; }));
  center.postNotificationName("test.frame", std::nullopt);
  center.postNotificationName("test.frame", Dictionary{});
  center.postNotificationName("test.frame", Dictionary{{"frame", "{{1, 2}, {3, 4}}"}});
  settle();
  // QtDBus may hand over signals of different signatures out of their order on the bus.
  ASSERT_EQ(received.size(), 3);
  EXPECT_TRUE(received.contains(std::nullopt));
  EXPECT_TRUE(received.contains(Dictionary{}));
  EXPECT_TRUE(received.contains(Dictionary{{"frame", "{{1, 2}, {3, 4}}"}}));
}

TEST_F(DistributedNotificationCenterTest, ObserversSeeOnlyTheirNamesUntilTheirContextGoes) {
  QStringList calls;
  auto gone = std::make_unique<QObject>();
  ASSERT_TRUE(center.addObserver(&context, "test.a.edit", [&] { calls << "a.edit"; }));
  ASSERT_TRUE(center.addObserver(&context, "test.b.edit", [&] { calls << "b.edit"; }));
  ASSERT_TRUE(center.addObserver(gone.get(), "test.a.kill", [&] { calls << "a.kill"; }));
  center.postNotificationName("test.b.edit");
  center.postNotificationName("test.a.edit", Dictionary{{"ignored", "x"}});
  center.postNotificationName("test.a");
  center.postNotificationName("test.a.kill");
  gone.reset();  // before the notification has arrived
  settle();
  calls.sort();
  EXPECT_EQ(calls, (QStringList{"a.edit", "b.edit"}));
}

TEST_F(DistributedNotificationCenterTest, UnexpectedPayloadsCountAsNoUserInformation) {
  int commands = 0;
  QList<UserInfo> received;
  ASSERT_TRUE(center.addObserver(&context, "test.odd", [&] { ++commands; }));
  ASSERT_TRUE(center.addObserverWithUserInfo(&context, "test.odd",
                                             [&](const UserInfo& info) { received << info; }));
  sendRaw({"test.odd", 42});
  sendRaw({"test.odd", QStringList{"a", "b"}});
  sendRaw({"test.odd", QVariantMap{{"frame", 1}}});
  sendRaw({"test.odd", QVariant::fromValue(Dictionary{{"k", "v"}}), "extra"});
  sendRaw({42, "test.odd"});  // the name must be the first argument
  settle();
  EXPECT_EQ(commands, 4);
  EXPECT_EQ(received, QList<UserInfo>(4, std::nullopt));
}

TEST_F(DistributedNotificationCenterTest, CommandFromTheShellReachesAnObserver) {
  int calls = 0;
  ASSERT_TRUE(center.addObserver(&context, "test.shell", [&] { ++calls; }));
  ASSERT_EQ(
      QProcess::execute("gdbus",
                        {"emit", "--session", "--object-path", bus::kNotificationPath, "--signal",
                         "org.pellimo.DistributedNotificationCenter.Notification", "'test.shell'"}),
      0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000));
}

}  // namespace
}  // namespace pellimo::platform
