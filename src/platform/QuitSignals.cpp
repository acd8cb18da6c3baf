// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QuitSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QDebug>
#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace pellimo::platform {

namespace {

struct Handled {
  int number;
  const char* name;
  /// Whether an ignored disposition inherited from the starting process is kept.
  bool keepIgnored;
};

constexpr std::array<Handled, 3> kSignals{{
    {SIGTERM, "SIGTERM", false},
    {SIGINT, "SIGINT", true},
    {SIGHUP, "SIGHUP", true},
}};

// The pipe's ends; -1 while no QuitSignals lives. Read by the handler, so plain ints.
int readEnd = -1;
int writeEnd = -1;
std::array<struct sigaction, kSignals.size()> previous{};
std::array<bool, kSignals.size()> installed{};

void onSignal(int number) {
  const int saved = errno;
  // One byte per signal; a full pipe already holds a byte that will be read.
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
  errno = saved;
}

}  // namespace

QuitSignals::QuitSignals() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
    qWarning().noquote() << "pellimo-widget: cannot watch for quit signals:" << qt_error_string();
    return;
  }
  readEnd = ends[0];
  writeEnd = ends[1];
  notifier_ = std::make_unique<QSocketNotifier>(readEnd, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &QuitSignals::readSignals);

  struct sigaction action {};
  action.sa_handler = &onSignal;
  ::sigemptyset(&action.sa_mask);
  // Interrupted system calls resume; the event loop learns of the signal through the pipe.
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    struct sigaction current {};
    ::sigaction(kSignals[i].number, nullptr, &current);
    if (kSignals[i].keepIgnored && current.sa_handler == SIG_IGN) continue;
    installed[i] = ::sigaction(kSignals[i].number, &action, &previous[i]) == 0;
  }
}

QuitSignals::~QuitSignals() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (installed[i]) ::sigaction(kSignals[i].number, &previous[i], nullptr);
    installed[i] = false;
  }
  notifier_.reset();
  if (readEnd >= 0) ::close(readEnd);
  if (writeEnd >= 0) ::close(writeEnd);
  readEnd = writeEnd = -1;
}

void QuitSignals::readSignals() {
  char bytes[16];
  ssize_t size = 0;
  while ((size = ::read(readEnd, bytes, sizeof(bytes))) > 0) {
    for (ssize_t i = 0; i < size && !quitting_; ++i) {
      for (const Handled& handled : kSignals) {
        if (handled.number != bytes[i]) continue;
        quitting_ = true;
        // A module that vanishes must say why in its log.
        qInfo().noquote() << "pellimo-widget: quitting: signal" << handled.name;
        emit quitRequested();
      }
    }
  }
}

}  // namespace pellimo::platform
