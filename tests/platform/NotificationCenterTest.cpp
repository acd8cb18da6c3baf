#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "platform/NotificationCenter.h"

namespace pellimo::platform {
namespace {

TEST(NotificationCenter, CallsObserversOfTheNameInRegistrationOrder) {
  NotificationCenter center;
  QObject context;
  QStringList calls;
  center.addObserver(&context, "clearView", [&] { calls << "first"; });
  center.addObserver(&context, "unRaise", [&] { calls << "other name"; });
  center.addObserver(&context, "clearView", [&] { calls << "second"; });
  center.postNotificationName("clearView");
  EXPECT_EQ(calls, (QStringList{"first", "second"}));
}

TEST(NotificationCenter, ObserverGoesWithItsContextEvenDuringAPost) {
  NotificationCenter center;
  QObject keeper;
  auto doomed = std::make_unique<QObject>();
  auto gone = std::make_unique<QObject>();
  QStringList calls;
  center.addObserver(gone.get(), "n", [&] { calls << "gone"; });
  center.addObserver(&keeper, "n", [&] {
    calls << "keeper";
    doomed.reset();  // its observer, still due in this post, must not run
    center.addObserver(&keeper, "n", [&] { calls << "added"; });  // waits for the next post
  });
  center.addObserver(doomed.get(), "n", [&] { calls << "doomed"; });
  gone.reset();
  center.postNotificationName("n");
  EXPECT_EQ(calls, QStringList{"keeper"});
}

}  // namespace
}  // namespace pellimo::platform
