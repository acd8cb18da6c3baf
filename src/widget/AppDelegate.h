// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

namespace pellimo::platform {
class InstanceControl;
}  // namespace pellimo::platform

namespace pellimo::runner {
class Canvas;
class CodeRunner;
}  // namespace pellimo::runner

namespace pellimo::widget {

class ViewController;

/// The application object: instance control, the announcement to the host, and the owner of
/// the process's one script runner. The main view controller registers itself here.
class AppDelegate : public QObject {
  Q_OBJECT

 public:
  AppDelegate();
  ~AppDelegate() override;

  static AppDelegate* shared();

  /// Instance control before launch completes. Returns false when an instance of the module
  /// that started earlier runs; this process must then quit at once. Otherwise it quits later
  /// should such an instance come onto the bus after all.
  bool applicationWillFinishLaunching();
  /// Announces the module to the host and schedules the script start 0.5 s later.
  void applicationDidFinishLaunching();
  /// Stops the script's child: nothing the module started outlives it.
  void applicationWillTerminate();

  ViewController* VC() const { return vc_; }
  void setVC(ViewController* vc) { vc_ = vc; }
  /// The process's one runner; the first call makes it from these values, later calls return
  /// it unchanged.
  runner::CodeRunner& initRunner(qint64 mode, const QString& code, runner::Canvas* canvas);
  /// The runner, or null before the script was first started.
  runner::CodeRunner* runner() const { return runner_.get(); }

 private:
  QPointer<ViewController> vc_;
  std::unique_ptr<runner::CodeRunner> runner_;
  std::unique_ptr<platform::InstanceControl> instances_;
};

}  // namespace pellimo::widget
