// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace pellimo::platform {

/// Turns SIGTERM, SIGINT and SIGHUP (a logout) into a normal quit, so that the module stops its
/// script's children as it does for the "kill" command. A signal handler may do next to nothing
/// safely: it only writes the signal's number to a pipe, and the event loop reads it there (the
/// self-pipe technique). A SIGINT or SIGHUP that was ignored when the module started (`nohup`,
/// a background job of a shell) stays ignored.
class QuitSignals : public QObject {
  Q_OBJECT

 public:
  /// Handles the signals from now until destroyed; one at a time.
  QuitSignals();
  /// Puts back the handling there was before.
  ~QuitSignals() override;

 signals:
  /// The first of the signals has come, and its quit line is in the log; later ones are
  /// ignored, the quit being under way.
  void quitRequested();

 private:
  void readSignals();

  std::unique_ptr<QSocketNotifier> notifier_;
  bool quitting_ = false;
};

}  // namespace pellimo::platform
