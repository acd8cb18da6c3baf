#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <memory>

#include "TestSupport.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/NotificationCenter.h"

namespace pellimo::platform {
namespace {

using UserInfo = DistributedNotificationCenter::UserInfo;
using Dictionary = QMap<QString, QString>;

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

class DistributedNotificationCenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(center.isConnected());
    ASSERT_TRUE(center.addObserverWithUserInfo(&context, "test.info",
                                               [&](const UserInfo& info) { received << info; }));
  }

  DistributedNotificationCenter& center = DistributedNotificationCenter::defaultCenter();
  QObject context;
  QList<UserInfo> received;
};

TEST_F(DistributedNotificationCenterTest, ObserversGetTheirNamesWithADictionaryOfStringsOrNothing) {
  QStringList calls;
  auto gone = std::make_unique<QObject>();
  ASSERT_TRUE(center.addObserver(&context, "test.other", [&] { calls << "other"; }));
  ASSERT_TRUE(center.addObserver(gone.get(), "test.info", [&] { calls << "gone"; }));
  center.postNotificationName("test.info", std::nullopt);
  center.postNotificationName("test.info", Dictionary{});
  center.postNotificationName("test.info", Dictionary{{"key", "{{1, 2}, {3, 4}}"}});
  center.postNotificationName("test");
  gone.reset();  // before the notifications have arrived
  // What a foreign sender might put on the wire: anything after the name other than the
  // dictionary counts as no user information, and the name must come first.
  const QVariantList odd[] = {{"test.info", 42},
                              {"test.info", QVariantMap{{"key", 1}}},
                              {"test.info", QVariant::fromValue(Dictionary{{"k", "v"}}), "extra"},
                              {42, "test.info"},
                              {"test.other"}};
  for (const QVariantList& arguments : odd) {
    QDBusMessage signal = QDBusMessage::createSignal(
        bus::kNotificationPath, bus::kNotificationInterface, bus::kNotificationMember);
    signal.setArguments(arguments);
    QDBusConnection::sessionBus().send(signal);
  }
  // The bus keeps one sender's order: once the last has arrived, all the others have.
  ASSERT_TRUE(test::eventually([&] { return received.size() == 6 && calls.contains("other"); }));
  EXPECT_EQ(calls, QStringList{"other"});
  // QtDBus may hand over signals of different signatures out of their order on the bus.
  ASSERT_EQ(received.size(), 6);
  EXPECT_EQ(received.count(std::nullopt), 4);
  EXPECT_TRUE(received.contains(Dictionary{}));
  EXPECT_TRUE(received.contains(Dictionary{{"key", "{{1, 2}, {3, 4}}"}}));
}

TEST_F(DistributedNotificationCenterTest, NotificationsFromTheShellArrive) {
  // The signal as the documentation tells users to send it, with and without a dictionary.
  for (const char* userInfo : {"", "{'key': 'value'}"}) {
    QStringList arguments{"emit",          "--session",
                          "--object-path", "/org/pellimo/DistributedNotificationCenter",
                          "--signal",      "org.pellimo.DistributedNotificationCenter.Notification",
                          "'test.info'"};
    if (*userInfo) arguments << userInfo;
    ASSERT_EQ(QProcess::execute("gdbus", arguments), 0);
  }
  ASSERT_TRUE(test::eventually([&] { return received.size() == 2; }));
  EXPECT_TRUE(received.contains(std::nullopt));
  EXPECT_TRUE(received.contains(Dictionary{{"key", "value"}}));
}

}  // namespace
}  // namespace pellimo::platform
