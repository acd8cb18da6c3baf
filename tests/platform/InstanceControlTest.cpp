#include <gtest/gtest.h>

#include "platform/InstanceControl.h"

namespace pellimo::platform {
namespace {

TEST(InstanceControl, AsksAllButTheFirstToQuitLastFirst) {
  const QString self = "org.pellimo.widget";
  const auto instance = [](const QString& identifier, qint64 pid) {
    return RunningApplication{"org.pellimo.Module.p" + QString::number(pid), identifier, pid, 0};
  };
  const struct {
    const char* name;
    QList<RunningApplication> running;
    QList<qint64> asked;
  } cases[] = {
      {"one instance among others", {instance("org.other", 5), instance(self, 10)}, {}},
      {"the current instance second asks itself", {instance(self, 10), instance(self, 11)}, {11}},
      {"three instances between others",
       {instance(self, 10), instance("org.other", 11), instance(self, 12), instance(self, 13)},
       {13, 12}},
      {"order of the list, not of the ids", {instance(self, 30), instance(self, 20)}, {20}},
      {"identifiers compared exactly",
       {instance(self, 10), instance("org.pellimo.Widget", 11)},
       {}},
  };
  for (const auto& c : cases) {
    QList<qint64> asked;
    for (const auto& application : instancesToTerminate(c.running, self)) {
      asked << application.processIdentifier;
    }
    EXPECT_EQ(asked, c.asked) << c.name;
  }
}

}  // namespace
}  // namespace pellimo::platform
