// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace pellimo::platform {

/// The system's sleep and wake, as logind announces them with PrepareForSleep on the system
/// bus. Without a system bus nothing is ever reported. Tests emit the two signals themselves.
class SleepMonitor : public QObject {
  Q_OBJECT

 public:
  static SleepMonitor& shared();

 signals:
  void willSleep();
  void didWake();

 private:
  SleepMonitor();
  Q_SLOT void prepareForSleep(bool sleeping);
};

}  // namespace pellimo::platform
