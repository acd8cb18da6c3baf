// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <algorithm>

#include "Desktop.h"
#include "platform/ProcessInfo.h"
#include "platform/RunningApplications.h"

namespace pellimo::test {
namespace {

/// The processes owning a mapped widget window.
QList<qint64> mappedWidgetOwners() {
  QList<qint64> owners;
  for (const QString& window : x("xdotool", {"search", "--onlyvisible", "--name", "^Pellimo$"})
                                   .split('\n', Qt::SkipEmptyParts))
    owners.append(x("xdotool", {"getwindowpid", window}).toLongLong());
  return owners;
}

TEST(InstancesEndToEnd, OfFiveStartedAtOnceTheEarliestStaysWithTheOneMappedWindow) {
  ModuleHarness harness;
  for (int round = 1; round <= 20; ++round) {
    QList<QProcess*> widgets;
    QList<platform::RunningApplication> started;
    for (int i = 0; i < 5; ++i) {
      QProcess* widget = widgets.emplace_back(harness.startWidget());
      started.append({{}, widget->processId(), platform::processStartTime(widget->processId())});
    }
    const qint64 earliest =
        std::min_element(started.begin(), started.end(), platform::startedBefore)
            ->processIdentifier;
    const auto settled = [&] {
      const auto alive = std::count_if(widgets.begin(), widgets.end(), [](QProcess* widget) {
        return widget->state() != QProcess::NotRunning;
      });
      return alive == 1 && runningPids() == QList<qint64>{earliest} &&
             mappedWidgetOwners() == QList<qint64>{earliest};
    };
    ASSERT_TRUE(eventually(settled, 20000))
        << "round " << round << ": earliest " << earliest << ", on the bus "
        << testing::PrintToString(runningPids()) << ", mapped by "
        << testing::PrintToString(mappedWidgetOwners());
    ::kill(pid_t(earliest), SIGKILL);
    ASSERT_TRUE(eventually([&] {
      return runningPids().isEmpty() && mappedWidgetOwners().isEmpty();
    })) << "round "
        << round;
  }
}

}  // namespace
}  // namespace pellimo::test
