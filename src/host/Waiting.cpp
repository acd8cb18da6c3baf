// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/Waiting.h"

#include <signal.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace pellimo::host {

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
  constexpr int kPollMs = 50;
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QEventLoop loop;
    QTimer::singleShot(kPollMs, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

bool processAlive(qint64 pid) {
  return ::kill(static_cast<pid_t>(pid), 0) == 0;
}

}  // namespace pellimo::host
