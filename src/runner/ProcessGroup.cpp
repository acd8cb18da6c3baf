// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/ProcessGroup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

namespace pellimo::runner {

namespace {

/// The state and process group of /proc/<pid>/stat, read with system calls only: a scan reads
/// one file per process of the system.
bool readStat(const char* pid, char* state, pid_t* group) {
  char path[64];
  std::string_view name(pid);
  if (name.size() > sizeof(path) - 12) return false;
  std::memcpy(path, "/proc/", 6);
  std::memcpy(path + 6, name.data(), name.size());
  std::memcpy(path + 6 + name.size(), "/stat", 6);
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // The fields wanted come well before the end of the line's first 256 bytes.
  char line[256];
  const ssize_t size = ::read(fd, line, sizeof(line));
  ::close(fd);
  if (size <= 0) return false;
  // "pid (name) state ppid pgrp ...": the name may hold spaces and parentheses.
  const std::string_view text(line, static_cast<std::size_t>(size));
  const std::size_t nameEnd = text.rfind(')');
  if (nameEnd == std::string_view::npos || nameEnd + 4 >= text.size()) return false;
  *state = text[nameEnd + 2];
  const char* field = text.data() + nameEnd + 4;
  const char* end = text.data() + text.size();
  pid_t parent = 0;
  auto parsed = std::from_chars(field, end, parent);
  if (parsed.ec != std::errc() || parsed.ptr == end) return false;
  parsed = std::from_chars(parsed.ptr + 1, end, *group);
  return parsed.ec == std::errc();
}

}  // namespace

std::optional<ProcessGroup> ProcessGroup::make() {
  // No handler of this process may run in the keeper: signals stay blocked across the fork,
  // and in the keeper until it exits. The keeper only makes the group and exits, so it borrows
  // this process's memory (vfork) rather than copying its page tables, which for a process
  // of this size costs more than the rest of a run.
  sigset_t all;
  sigset_t previous;
  ::sigfillset(&all);
  ::pthread_sigmask(SIG_SETMASK, &all, &previous);
  const pid_t keeper = ::vfork();
  if (keeper == 0) ::_exit(::setpgid(0, 0) == 0 ? 0 : 1);
  const int forkError = errno;
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (keeper < 0) {
    errno = forkError;
    return std::nullopt;
  }
  // The group exists once the keeper has exited, which it does right after making it. Waited
  // for without reaping: the zombie is what holds the number.
  siginfo_t info{};
  int waited = 0;
  do {
    waited = ::waitid(P_PID, static_cast<id_t>(keeper), &info, WEXITED | WNOWAIT);
  } while (waited != 0 && errno == EINTR);
  ProcessGroup group(keeper);
  if (waited != 0 || info.si_code != CLD_EXITED || info.si_status != 0) {
    // Reaped by someone else already (SIGCHLD ignored), or no group made: nothing holds it.
    const int error = waited != 0 ? errno : EPERM;
    group.release();
    errno = error;
    return std::nullopt;
  }
  return group;
}

ProcessGroup::ProcessGroup(ProcessGroup&& other) noexcept
    : keeper_(std::exchange(other.keeper_, 0)) {}

ProcessGroup& ProcessGroup::operator=(ProcessGroup&& other) noexcept {
  if (this != &other) {
    release();
    keeper_ = std::exchange(other.keeper_, 0);
  }
  return *this;
}

ProcessGroup::~ProcessGroup() {
  release();
}

void ProcessGroup::release() {
  if (keeper_ <= 0) return;
  while (::waitpid(keeper_, nullptr, 0) < 0 && errno == EINTR) {
  }
  keeper_ = 0;
}

void ProcessGroup::signal(int signal) const {
  if (keeper_ > 0) ::kill(-keeper_, signal);
}

bool ProcessGroup::hasLiveMembers() const {
  if (keeper_ <= 0) return false;
  DIR* proc = ::opendir("/proc");
  // Unknown: the group is this run's, so a signal to it can do no harm.
  if (!proc) return true;
  bool found = false;
  while (const dirent* entry = ::readdir(proc)) {
    if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
    char state = 0;
    pid_t group = 0;
    if (readStat(entry->d_name, &state, &group) && group == keeper_ && state != 'Z' &&
        state != 'X') {
      found = true;
      break;
    }
  }
  ::closedir(proc);
  return found;
}

}  // namespace pellimo::runner
