// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/ActionProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace pellimo::runner {

namespace {

/// How much of the end of the error output is kept for the report.
constexpr off_t kErrorTail = 4096;

QString reasonOf(int error) {
  return QString::fromLocal8Bit(::strerror(error));
}

}  // namespace

std::unique_ptr<ActionProcess> ActionProcess::start(const QString& program,
                                                    const QStringList& arguments, QString* why) {
  const int errorFd = ::memfd_create("pellimo-action-errors", MFD_CLOEXEC);
  if (errorFd < 0) {
    *why = reasonOf(errno);
    return nullptr;
  }
  std::vector<std::string> words{program.toStdString()};
  for (const QString& argument : arguments)
    words.push_back(argument.toStdString());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t files;
  ::posix_spawn_file_actions_init(&files);
  ::posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  ::posix_spawn_file_actions_adddup2(&files, errorFd, STDERR_FILENO);
  // Nothing of the widget's own, a pipe or its display connection left open by a library, is
  // kept alive by an action that outlives it.
  ::posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  // A session of its own: no signal to the widget's process group or to a run's reaches it.
  sigset_t none;
  sigset_t all;
  ::sigemptyset(&none);
  ::sigfillset(&all);
  ::posix_spawnattr_setsigmask(&attributes, &none);
  ::posix_spawnattr_setsigdefault(&attributes, &all);
  ::posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int failed = ::posix_spawnp(&pid, argv[0], &files, &attributes, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&files);
  ::posix_spawnattr_destroy(&attributes);
  if (failed != 0) {
    ::close(errorFd);
    *why = reasonOf(failed);
    return nullptr;
  }
  // Through syscall: Debian 12's <sys/pidfd.h> declares pidfd_open without C linkage.
  const int pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (pidFd < 0) {
    // A kernel older than 5.3: the action runs, but its end, and a failure, would go unheard.
    *why = QStringLiteral("started, but cannot be watched: ") + reasonOf(errno);
    ::close(errorFd);
    return nullptr;
  }
  return std::unique_ptr<ActionProcess>(new ActionProcess(pid, pidFd, errorFd));
}

ActionProcess::ActionProcess(pid_t pid, int pidFd, int errorFd)
    : pid_(pid),
      pidFd_(pidFd),
      errorFd_(errorFd),
      exitNotifier_(std::make_unique<QSocketNotifier>(pidFd, QSocketNotifier::Read)) {
  connect(exitNotifier_.get(), &QSocketNotifier::activated, this, &ActionProcess::reap);
}

ActionProcess::~ActionProcess() {
  exitNotifier_.reset();
  ::close(pidFd_);
  ::close(errorFd_);
}

void ActionProcess::reap() {
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) != pid_) return;
  exitNotifier_->setEnabled(false);
  const off_t size = ::lseek(errorFd_, 0, SEEK_END);
  const off_t from = size > kErrorTail ? size - kErrorTail : 0;
  std::string text(static_cast<std::size_t>(size - from), '\0');
  const ssize_t read = ::pread(errorFd_, text.data(), text.size(), from);
  text.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
  emit finished(WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt,
                WIFSIGNALED(status) ? std::optional(WTERMSIG(status)) : std::nullopt,
                QString::fromUtf8(text));
}

}  // namespace pellimo::runner
