#pragma once

#include <QObject>
#include <QPointer>

namespace pellimo::runner {
class CodeRunner;
}

namespace pellimo::widget {

class ViewController;

/// The registry of the process: the main view controller and the script runner.
class AppDelegate : public QObject {
  Q_OBJECT

 public:
  AppDelegate();
  ~AppDelegate() override;

  static AppDelegate* shared();

  /// Instance control before launch completes. Returns false when this process is one of the
  /// instances asked to quit; it must then quit at once.
  bool applicationWillFinishLaunching();
  /// Announces the module to the host and schedules the script start 0.5 s later.
  void applicationDidFinishLaunching();
  /// Stops the script's child: nothing the module started outlives it.
  void applicationWillTerminate();

  ViewController* VC() const { return vc_; }
  void setVC(ViewController* vc) { vc_ = vc; }
  runner::CodeRunner* runner() const { return runner_; }
  void setRunner(runner::CodeRunner* runner) { runner_ = runner; }

 private:
  QPointer<ViewController> vc_;
  runner::CodeRunner* runner_ = nullptr;
};

}  // namespace pellimo::widget
