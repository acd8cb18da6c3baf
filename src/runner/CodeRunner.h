#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "ansi/VXL_ANSIEscapeHelper.h"
#include "runner/Canvas.h"
#include "runner/ChildProcess.h"
#include "runner/RunOutput.h"

namespace pellimo::runner {

/// The one script runner of the process: writes the script to a file, runs it with its
/// interpreter once at start and on every reload tick, and draws its output on the canvas.
/// A widget has at most one child at a time.
class CodeRunner : public QObject {
  Q_OBJECT

 public:
  /// The first call makes the shared runner from these values; every later call returns that
  /// runner unchanged and ignores its arguments.
  static CodeRunner* initWithLanguage(qint64 mode, const QString& andCode, Canvas* andCanvas);
  /// The shared runner, or null before the first initialisation.
  static CodeRunner* RunnerSingleton();

  /// Writes `code` to a new script file for `mode`; false when there is nothing to write for
  /// the mode or the file cannot be created (the canvas then says so).
  bool prepare();
  bool compile(const QString& script, const QString& extension);

  /// Schedules the reload timer from "reloadAfter" (when positive), then runs the script once.
  void start();
  /// Schedules the reload timer from "reloadAfter" (when positive), first tick one interval
  /// from now, without running the script.
  void scheduleReload();
  /// One run: stops the current child, then starts the interpreter on the script file.
  void run();
  /// Stops the running child and forgets the output collected so far.
  void resetTask();
  /// Shows the output collected so far, at the next display frame.
  void drawOutput();
  /// Stops the reload timer; nothing reruns the script until the next `start`.
  void stopReloading();
  /// Where the widget's font and text colour are read at every drawing.
  void setAppearanceSource(std::function<Appearance()> source) { appearance_ = std::move(source); }
  /// Stops every child still running and waits for them: the process is about to end.
  void shutDown();

  bool gotError = false;
  qint64 mode = 0;
  QString code;
  Canvas* canvas = nullptr;
  std::optional<QString> sourceFileName;
  ansi::VXL_ANSIEscapeHelper helper;
  std::optional<QStringList> additinaolArguments;
  std::unique_ptr<RunOutput> taskOutput;
  QPointer<QTimer> loper;
  /// Children of recent runs that have ended, kept until the next reset.
  QList<QPointer<ChildProcess>> actoveTasks;
  QString uuid;

 signals:
  /// A run has ended: its child exited, or it could not start one.
  void runFinished();

 private:
  CodeRunner(qint64 mode, const QString& code, Canvas* canvas);

  void reloadTick();
  void showError(const QByteArray& bytes);
  void showFailure(const QString& reason);
  void childFinished();
  void render();
  /// A new, empty output for the next run, in the widget's current look.
  void freshOutput();
  Appearance appearance() const;

  QPointer<ChildProcess> child_;
  QTimer frame_;
  /// The run a reload tick asks for, a second after the tick.
  QTimer tickToRun_;
  std::function<Appearance()> appearance_;
};

}  // namespace pellimo::runner
