// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

namespace pellimo::platform {

/// What a running module shows of itself on the session bus (interface org.pellimo.Module):
/// its identity and start time, which the instance control and the host list modules by, and
/// the state a user or a test wants to see. The properties carry the bus names.
class ModuleObject : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_PROPERTY(QString BundleIdentifier READ bundleIdentifier)
  Q_PROPERTY(qlonglong ProcessId READ processId)
  Q_PROPERTY(qulonglong StartTime READ startTime)
  Q_PROPERTY(bool Ready READ isReady)
  Q_PROPERTY(bool Raised READ isRaised)
  Q_PROPERTY(QString Frame READ frame)
  Q_PROPERTY(QString Canvas READ canvas)
  Q_PROPERTY(bool Running READ isRunning)
  Q_PROPERTY(QVariantMap LastRun READ lastRun)
  Q_PROPERTY(QString NextReload READ nextReload)
  Q_PROPERTY(QString DisplayPath READ displayPath)

 public:
  explicit ModuleObject(QObject* parent = nullptr);

  /// Registers the object at /org/pellimo/Module and takes this process's bus name
  /// (`bus::moduleServiceName`), in that order, so that a listed module can answer.
  bool exportOnBus(const QString& bundleIdentifier);

  QString bundleIdentifier() const { return bundleIdentifier_; }
  qlonglong processId() const { return processId_; }
  qulonglong startTime() const { return startTime_; }
  /// Whether the host commands are registered yet.
  bool isReady() const { return ready_; }
  bool isRaised() const { return raised_; }
  /// The widget window's frame text, read from the window when asked.
  QString frame() const { return frame_ ? frame_() : QString(); }
  /// The canvas's plain text, read from the canvas when asked: output grows too often to copy
  /// it here at every change.
  QString canvas() const { return canvas_ ? canvas_() : QString(); }

  /// The script runner's state, read from the runner when asked.
  struct RunState {
    bool running = false;
    QVariantMap lastRun;
    QString nextReload;
  };
  bool isRunning() const { return runState().running; }
  QVariantMap lastRun() const { return runState().lastRun; }
  QString nextReload() const { return runState().nextReload; }
  /// How the widget's windows reach the screen ("x11", "xwayland", …).
  QString displayPath() const { return displayPath_; }

  void setReady(bool ready) { ready_ = ready; }
  void setRaised(bool raised) { raised_ = raised; }
  void setFrameSource(std::function<QString()> source) { frame_ = std::move(source); }
  void setCanvasSource(std::function<QString()> source) { canvas_ = std::move(source); }
  void setRunSource(std::function<RunState()> source) { run_ = std::move(source); }
  void setDisplayPath(const QString& path) { displayPath_ = path; }

 public slots:
  /// The bus method: logs who asked, answers the caller, then emits `quitRequested`.
  void Quit();
  /// The bus method: answers the caller first, then emits `refreshRequested`.
  void Refresh();

 signals:
  void quitRequested();
  void refreshRequested();

 private:
  QString bundleIdentifier_;
  QString displayPath_;
  qlonglong processId_;
  qulonglong startTime_;
  bool ready_ = false;
  bool raised_ = false;
  std::function<QString()> frame_;
  std::function<QString()> canvas_;
  std::function<RunState()> run_;

  RunState runState() const { return run_ ? run_() : RunState(); }
};

}  // namespace pellimo::platform
