// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <optional>

namespace pellimo::runner {

/// A process group made for one run, which a signal reaches as a whole for as long as this
/// object lives: also after the run's interpreter has exited, when only its background
/// processes are left.
///
/// A group's number is the process ID of its first member, and the kernel gives that number to
/// no other process or group while any member of the group, live or zombie, remains (POSIX: "a
/// process group ID shall not be reused by the system until the process group lifetime ends").
/// The first member here is a keeper: a child of this process that makes the group and exits at
/// once, and that is reaped only when the object is destroyed. Until then its zombie holds the
/// number, so a signal to the group never reaches a stranger's group that got the number after
/// every process of the run had gone. The keeper costs one process table entry, nothing else;
/// it relies on nothing else in this process reaping children it did not start (Qt waits for
/// its own children by their IDs).
class ProcessGroup {
 public:
  /// A new group, or nullopt when no process can be made (errno says why).
  static std::optional<ProcessGroup> make();
  ProcessGroup(ProcessGroup&& other) noexcept;
  ProcessGroup& operator=(ProcessGroup&& other) noexcept;
  ProcessGroup(const ProcessGroup&) = delete;
  ProcessGroup& operator=(const ProcessGroup&) = delete;
  /// Reaps the keeper; the number is free again once the group's last process has gone.
  ~ProcessGroup();

  /// The group's number, for `setpgid` in a child that joins it.
  pid_t id() const { return keeper_; }
  void signal(int signal) const;
  /// Whether a process of the group is still alive (zombies, the keeper among them, left out).
  bool hasLiveMembers() const;

 private:
  explicit ProcessGroup(pid_t keeper) : keeper_(keeper) {}
  void release();

  pid_t keeper_ = 0;
};

}  // namespace pellimo::runner
