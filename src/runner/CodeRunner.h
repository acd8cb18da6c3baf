// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
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
#include "runner/RunReport.h"

namespace pellimo::runner {

/// The script runner of a widget: writes the script to a file, runs it with its interpreter
/// once at start and on every reload tick, and draws its output on the canvas. A widget has at
/// most one child at a time. The application owns one runner; its state is its own and changes
/// only through these operations.
class CodeRunner : public QObject {
  Q_OBJECT

 public:
  /// A runner of `andCode` in language `mode`, drawing on `andCanvas` (which must outlive it).
  /// The script file is written at once; a failure shows on the canvas and leaves nothing to run.
  static std::unique_ptr<CodeRunner> initWithLanguage(qint64 mode, const QString& andCode,
                                                      Canvas* andCanvas);
  ~CodeRunner() override;

  /// The script of the next `prepare`: its language tag and its text.
  void setScript(qint64 mode, const QString& code);
  /// The arguments of the next runs; none means they are read from "args" at the next run.
  void setArguments(std::optional<QStringList> arguments);
  void setUuid(const QString& uuid) { uuid_ = uuid; }

  /// Writes the script to a new script file for its mode, which replaces (and removes) the
  /// previous one; false when the mode names no known language or the file cannot be created
  /// (the canvas then says so, and the next run tries again).
  bool prepare();
  bool compile(const QString& script, const QString& extension);

  /// Schedules the reload timer from "reloadAfter" (when positive), then runs the script once.
  void start();
  /// Schedules the reload timer from "reloadAfter" (when positive), first tick one interval
  /// from now, without running the script.
  void scheduleReload();
  /// One run: drops the runs reload ticks asked for, stops the earlier runs, writes the script
  /// file when it is missing, then starts the interpreter on it.
  void run();
  /// Stops the current run and the ended ones, each with its process group, and forgets the
  /// output collected so far.
  void resetTask();
  /// Shows the output collected so far, at the next display frame.
  void drawOutput();
  /// Stops the reload timer; nothing reruns the script until the next `start`.
  void stopReloading();
  /// Where the widget's font and text colour are read at every drawing.
  void setAppearanceSource(std::function<Appearance()> source) { appearance_ = std::move(source); }
  /// Ends every run's process group and waits for them, and removes the script file: the
  /// process is about to end.
  void shutDown();

  qint64 mode() const { return mode_; }
  const QString& code() const { return code_; }
  /// The script file of the last successful `prepare`.
  const std::optional<QString>& sourceFileName() const { return sourceFileName_; }
  const std::optional<QStringList>& additinaolArguments() const { return additinaolArguments_; }
  /// The reload timer; null while the script is not reloaded.
  const QTimer* loper() const { return loper_; }
  /// Whether a child of the current run is still running.
  bool isRunning() const;
  /// How the last run that ended went; none before the first one ends.
  const std::optional<RunReport>& lastRun() const { return lastRun_; }
  /// When a reload tick's run will start next; null while the script is not reloaded.
  QDateTime nextReload() const;

 signals:
  /// A run has ended: its child exited, or it could not start one.
  void runFinished();

 private:
  CodeRunner(qint64 mode, const QString& code, Canvas* canvas);

  void reloadTick();
  /// One run, whoever asked for it.
  void startRun();
  /// "Error in Script:" and the text, in the canvas's own look.
  void showScriptError(const QString& text);
  /// The timers that belong to the current run.
  void stopRunTimers();
  /// Nothing runs in a language the runner does not know; the canvas says so.
  void showUnknownLanguage();
  /// Starts the current run's time limit from "timeout", while reloading is on.
  void limitRun();
  void showError(const QByteArray& bytes);
  void showFailure(const QString& reason);
  void childFinished(int exitCode, QProcess::ExitStatus status);
  /// Takes in what the child printed: a frame that has just ended shows at once.
  void takeOutput(const QByteArray& bytes);
  /// The run, or its newest frame, has gone on long enough to show.
  void piecesDue();
  /// Records how the current run ended.
  void report(std::optional<int> exitStatus, std::optional<int> signal, const QString& stoppedFor);
  void render();
  /// A new, empty output for the next run, in the widget's current look.
  void freshOutput();
  Appearance appearance() const;

  bool gotError_ = false;
  qint64 mode_ = 0;
  QString code_;
  Canvas* canvas_ = nullptr;
  std::optional<QString> sourceFileName_;
  /// Whether the last `prepare` wrote the script file; a run writes it first when not.
  bool scriptWritten_ = false;
  ansi::VXL_ANSIEscapeHelper helper_;
  std::optional<QStringList> additinaolArguments_;
  std::unique_ptr<RunOutput> taskOutput_;
  QPointer<QTimer> loper_;
  /// Children of recent runs that have ended, kept until the next reset.
  QList<QPointer<ChildProcess>> actoveTasks_;
  /// An identifier the widget's controller gives the runner; the runner only keeps it.
  QString uuid_;

  /// The error output of the current run, up to 64 KiB.
  QByteArray errorText_;
  QTimer errorGrace_;
  /// The time limit of the current run, and whether it was reached.
  QTimer runLimit_;
  /// Runs until the frame being written may show as it grows: half a second after the run
  /// starts, then after each frame starts.
  QTimer showPieces_;
  /// Whether this run has gone on long enough to show anything before it ends.
  bool piecesShown_ = false;
  /// The run shown before this one printed a lot: once a short output replaces it, the memory
  /// it held goes back to the system.
  bool releaseAfterRun_ = false;
  QElapsedTimer runClock_;
  QElapsedTimer frameClock_;
  std::optional<RunReport> lastRun_;
  /// When the run a reload tick asked for starts; null when none waits.
  QDateTime pendingRun_;
  bool timedOut_ = false;
  QPointer<ChildProcess> child_;
  QTimer frame_;
  /// Counts the runs asked for from outside and the stops of reloading: a tick's run that was
  /// asked for before either is dropped.
  quint64 tickRuns_ = 0;
  std::function<Appearance()> appearance_;
};

}  // namespace pellimo::runner
