#pragma once

#include <QObject>
#include <QProcess>

namespace pellimo::runner {

/// One run of a script: an interpreter in a process group of its own, so that stopping it
/// also stops whatever it started (a `sleep` in a shell loop).
class ChildProcess : public QObject {
  Q_OBJECT

 public:
  explicit ChildProcess(QObject* parent = nullptr);
  ~ChildProcess() override;

  void start(const QString& program, const QStringList& arguments);
  bool isRunning() const { return process_.state() != QProcess::NotRunning; }
  /// SIGTERM to the group now, SIGKILL 2 s later if the child is still there. The child then
  /// reports nothing more; it deletes itself once it has gone.
  void stop();
  /// SIGTERM to the group now, SIGKILL 2 s later; the child goes on reporting until it exits.
  void terminate();
  /// At quit: the same, but waits for the child in place, since no event loop runs any more.
  void stopAndWait();

 signals:
  void output(const QByteArray& bytes);
  void errorOutput(const QByteArray& bytes);
  /// The child exited: `status` says whether by itself (`exitCode` its status) or by a signal
  /// (`exitCode` the signal's number).
  void finished(int exitCode, QProcess::ExitStatus status);
  /// The interpreter could not be started; the text says why.
  void failedToStart(const QString& reason);

 private:
  void signalGroup(int signal);

  QProcess process_;
  qint64 group_ = 0;
};

}  // namespace pellimo::runner
