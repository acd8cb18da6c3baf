// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <cerrno>

#include "Processes.h"
#include "runner/ProcessGroup.h"

namespace pellimo::test {
namespace {

using runner::ProcessGroup;

TEST(ProcessGroup, KeepsItsNumberForAsLongAsItLivesAlsoWithNothingLeftRunning) {
  auto group = ProcessGroup::make();
  ASSERT_TRUE(group);
  const pid_t id = group->id();
  EXPECT_FALSE(group->hasLiveMembers()) << "the keeper has exited";
  // Yet the group exists, held by the keeper's zombie: the system gives its number to no one.
  EXPECT_EQ(::kill(-id, 0), 0);

  QProcess joined;
  joined.setChildProcessModifier([id] { ::setpgid(0, id); });
  joined.start("sleep", {"299"});
  ASSERT_TRUE(joined.waitForStarted());
  EXPECT_EQ(liveMembersOfGroup(id).size(), 1u);
  EXPECT_TRUE(group->hasLiveMembers());
  group->signal(SIGTERM);
  ASSERT_TRUE(joined.waitForFinished());
  EXPECT_EQ(joined.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(joined.exitCode(), SIGTERM);
  EXPECT_FALSE(group->hasLiveMembers());
  EXPECT_EQ(::kill(-id, 0), 0);

  // Released, the group is gone and its number is free.
  group.reset();
  EXPECT_EQ(::kill(-id, 0), -1);
  EXPECT_EQ(errno, ESRCH);
}

TEST(ProcessGroup, EachGroupIsNewAndMovingOneKeepsItsNumber) {
  auto first = ProcessGroup::make();
  auto second = ProcessGroup::make();
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->id(), second->id());
  const pid_t id = first->id();
  ProcessGroup moved = std::move(*first);
  first.reset();
  EXPECT_EQ(moved.id(), id);
  EXPECT_EQ(::kill(-id, 0), 0);
}

}  // namespace
}  // namespace pellimo::test
