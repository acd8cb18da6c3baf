// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/CodeRunner.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <malloc.h>

#include <utility>

#include "platform/NotificationCenter.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"
#include "platform/SleepMonitor.h"
#include "runner/Interpreter.h"
#include "runner/ScriptFile.h"

namespace pellimo::runner {

namespace {

constexpr int kTickToRunMs = 1000;
constexpr int kFrameMs = 16;
// Error output goes on being read this long after its first piece before the child is stopped.
constexpr int kErrorGraceMs = 250;
constexpr qsizetype kMaxErrorBytes = 64 * 1024;
// A run shows its pieces as they come only once it has gone on this long, and a frame only once
// it has grown this long; a quicker run is shown whole when it ends, so a reload never shows
// half of its output.
constexpr int kPiecesAfterMs = 500;
// The allocator keeps freed memory for later; after the output of a run this large has gone, it
// is asked to give back what it keeps.
constexpr std::size_t kReleaseAfterBytes = 4 * 1024 * 1024;

}  // namespace

std::unique_ptr<CodeRunner> CodeRunner::initWithLanguage(qint64 mode, const QString& andCode,
                                                         Canvas* andCanvas) {
  return std::unique_ptr<CodeRunner>(new CodeRunner(mode, andCode, andCanvas));
}

CodeRunner::CodeRunner(qint64 mode, const QString& code, Canvas* canvas)
    : mode_(mode), code_(code), canvas_(canvas) {
  freshOutput();
  // A failure has put its message on the canvas already; the first run then finds no file.
  prepare();
  frame_.setSingleShot(true);
  frame_.setInterval(kFrameMs);
  connect(&frame_, &QTimer::timeout, this, &CodeRunner::render);
  errorGrace_.setSingleShot(true);
  errorGrace_.setInterval(kErrorGraceMs);
  connect(&errorGrace_, &QTimer::timeout, this, [this] {
    if (child_) child_->terminate();
  });
  showPieces_.setSingleShot(true);
  connect(&showPieces_, &QTimer::timeout, this, &CodeRunner::piecesDue);
  runLimit_.setSingleShot(true);
  // A coarse timer may fire early: a run stopped "after 1 s" must have had its second.
  runLimit_.setTimerType(Qt::PreciseTimer);
  connect(&runLimit_, &QTimer::timeout, this, [this] {
    // Stopped as any run is; the next tick starts a fresh one.
    timedOut_ = true;
    if (child_) child_->terminate();
  });
  auto& sleep = platform::SleepMonitor::shared();
  connect(&sleep, &platform::SleepMonitor::willSleep, this, &CodeRunner::resetTask);
  connect(&sleep, &platform::SleepMonitor::didWake, this, &CodeRunner::start);
}

CodeRunner::~CodeRunner() {
  shutDown();
}

void CodeRunner::setScript(qint64 mode, const QString& code) {
  mode_ = mode;
  code_ = code;
}

void CodeRunner::setArguments(std::optional<QStringList> arguments) {
  additinaolArguments_ = std::move(arguments);
}

bool CodeRunner::isRunning() const {
  return child_ && child_->isRunning();
}

bool CodeRunner::prepare() {
  const QString extension = extensionForMode(mode_);
  if (extension.isEmpty()) {
    scriptWritten_ = false;
    showUnknownLanguage();
    return false;
  }
  return compile(code_, extension);
}

void CodeRunner::showUnknownLanguage() {
  if (canvas_) {
    canvas_->setPlainText(
        QStringLiteral("Unknown language %1: choose one in the editor").arg(mode_));
  }
}

bool CodeRunner::compile(const QString& script, const QString& extension) {
  if (extension.isEmpty()) return false;
  QString why;
  const auto path = writeScriptFile(script, extension, &why);
  scriptWritten_ = path.has_value();
  if (!path) {
    qWarning().noquote() << "pellimo-widget: cannot write the script file:" << why;
    if (canvas_) canvas_->setPlainText(QStringLiteral("Error creating temporary file. ") + why);
    return false;
  }
  // Runs of the script it replaces have been stopped, and an interpreter that has the file open
  // reads on after it is gone.
  if (sourceFileName_ && *sourceFileName_ != *path) QFile::remove(*sourceFileName_);
  sourceFileName_ = *path;
  return true;
}

void CodeRunner::start() {
  scheduleReload();
  run();
}

void CodeRunner::scheduleReload() {
  const qint64 interval =
      platform::SettingsStore::standard().integerForKey(platform::keys::kReloadAfter);
  if (interval > 0) {
    stopReloading();
    loper_ = new QTimer(this);
    connect(loper_, &QTimer::timeout, this, &CodeRunner::reloadTick);
    loper_->start(static_cast<int>(qMin<qint64>(interval, INT_MAX / 1000) * 1000));
  }
}

void CodeRunner::stopReloading() {
  if (loper_) loper_->deleteLater();
  loper_ = nullptr;
  pendingRun_ = {};
  ++tickRuns_;
}

QDateTime CodeRunner::nextReload() const {
  if (!loper_) return {};
  const QDateTime now = QDateTime::currentDateTimeUtc();
  if (pendingRun_.isValid() && pendingRun_ > now) return pendingRun_;
  return now.addMSecs(loper_->remainingTime() + kTickToRunMs);
}

void CodeRunner::reloadTick() {
  // Each tick asks for its own run a second later, and a run still in progress when it comes is
  // left to finish, so slow scripts are shown whole. Whether one runs is decided then, not now:
  // with a one-second interval the previous tick's run starts at about this moment, and either
  // order of the two must keep runs a second apart.
  pendingRun_ = QDateTime::currentDateTimeUtc().addMSecs(kTickToRunMs);
  QTimer::singleShot(kTickToRunMs, this, [this, asked = tickRuns_] {
    if (asked == tickRuns_ && !isRunning()) startRun();
  });
}

void CodeRunner::run() {
  ++tickRuns_;
  startRun();
}

void CodeRunner::startRun() {
  pendingRun_ = {};
  resetTask();
  if (!additinaolArguments_) {
    const QVariant stored = platform::SettingsStore::standard().valueForKey(platform::keys::kArgs);
    if (stored.isValid()) additinaolArguments_ = splitArguments(stored.toString());
  }
  gotError_ = false;
  timedOut_ = false;
  errorText_.clear();
  const QString interpreter = interpreterForMode(mode_);
  if (interpreter.isEmpty()) showUnknownLanguage();
  // A script file that could not be written (a full disk) or is gone ("clear" deletes it) is
  // written again: the script is still this runner's to run, and no earlier one is.
  const bool written = scriptWritten_ && sourceFileName_ && QFileInfo::exists(*sourceFileName_);
  if (interpreter.isEmpty() || (!written && !prepare())) {
    emit runFinished();
    return;
  }

  QStringList arguments{*sourceFileName_};
  if (additinaolArguments_) arguments += *additinaolArguments_;
  auto* child = new ChildProcess(this);
  child_ = child;
  connect(child, &ChildProcess::output, this, &CodeRunner::takeOutput);
  connect(child, &ChildProcess::errorOutput, this, &CodeRunner::showError);
  connect(child, &ChildProcess::failedToStart, this, &CodeRunner::showFailure);
  connect(child, &ChildProcess::finished, this, &CodeRunner::childFinished);
  runClock_.start();
  child->start(interpreter, arguments);
  frameClock_.start();
  piecesShown_ = false;
  showPieces_.start(kPiecesAfterMs);
  limitRun();
}

void CodeRunner::limitRun() {
  if (!loper_) return;
  const auto& settings = platform::SettingsStore::standard();
  const QVariant stored = settings.valueForKey(platform::keys::kTimeout);
  const qint64 seconds =
      stored.isValid() ? settings.integerForKey(platform::keys::kTimeout)
                       : qMax<qint64>(60, settings.integerForKey(platform::keys::kReloadAfter));
  if (seconds <= 0) return;
  runLimit_.setInterval(static_cast<int>(qMin<qint64>(seconds, INT_MAX / 1000) * 1000));
  runLimit_.start();
}

void CodeRunner::takeOutput(const QByteArray& bytes) {
  const quint64 frames = taskOutput_->endedFrames();
  taskOutput_->append(bytes);
  if (taskOutput_->endedFrames() == frames) {
    drawOutput();
    return;
  }
  frameClock_.start();
  // Before the run's first half second is over, its end or that half second decides.
  if (!piecesShown_) return;
  // Drawn before the next paint: the canvas may still share the text of the frame that ended,
  // which now holds the start of the next one.
  showPieces_.start(kPiecesAfterMs);
  render();
}

void CodeRunner::piecesDue() {
  piecesShown_ = true;
  const qint64 age = frameClock_.elapsed();
  if (age < kPiecesAfterMs) showPieces_.start(static_cast<int>(kPiecesAfterMs - age));
  render();
}

void CodeRunner::showError(const QByteArray& bytes) {
  // Error output ends the run, but the whole of it is shown: a traceback comes in several
  // pieces. The child is stopped a moment after the first one; what is left in the pipe is
  // read until it exits.
  if (bytes.isEmpty()) return;
  errorText_.append(bytes.left(kMaxErrorBytes - errorText_.size()));
  if (!gotError_) {
    gotError_ = true;
    frame_.stop();
    platform::NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("clearView"));
    errorGrace_.start();
  }
  const QString text = QString::fromStdU16String(
      ansi::decodeUtf8(std::string_view(errorText_.constData(), errorText_.size())));
  showScriptError(text);
}

void CodeRunner::showScriptError(const QString& text) {
  if (canvas_) canvas_->setPlainText(QStringLiteral("Error in Script:\n\n") + text);
}

void CodeRunner::stopRunTimers() {
  frame_.stop();
  errorGrace_.stop();
  runLimit_.stop();
  showPieces_.stop();
}

void CodeRunner::showFailure(const QString& reason) {
  showScriptError(reason);
  child_->stop();
  child_ = nullptr;
  report(std::nullopt, std::nullopt, QStringLiteral("failed to start"));
  emit runFinished();
}

void CodeRunner::report(std::optional<int> exitStatus, std::optional<int> signal,
                        const QString& stoppedFor) {
  lastRun_ = RunReport{exitStatus, signal, runClock_.elapsed(), stoppedFor,
                       QDateTime::currentDateTimeUtc()};
}

void CodeRunner::childFinished(int exitCode, QProcess::ExitStatus status) {
  taskOutput_->finish();
  stopRunTimers();
  render();
  // Kept while big runs follow each other, as the next one would take the memory again.
  const bool big = taskOutput_->receivedBytes() >= kReleaseAfterBytes;
  if (std::exchange(releaseAfterRun_, big) && !big) ::malloc_trim(0);
  if (timedOut_ && !gotError_ && taskOutput_->isEmpty()) {
    showScriptError(
        QStringLiteral("stopped after %1 s without finishing").arg(runLimit_.interval() / 1000));
  }
  const bool exited = status == QProcess::NormalExit;
  report(exited ? std::optional(exitCode) : std::nullopt,
         exited ? std::nullopt : std::optional(exitCode),
         timedOut_   ? QStringLiteral("time limit")
         : gotError_ ? QStringLiteral("error output")
                     : QString());
  actoveTasks_.append(child_);
  child_ = nullptr;
  emit runFinished();
}

void CodeRunner::resetTask() {
  if (child_) child_->stop();
  child_ = nullptr;
  // A run whose interpreter has exited may have left processes running: they end with it.
  for (const auto& finished : actoveTasks_) {
    if (finished) finished->stop();
  }
  actoveTasks_.clear();
  stopRunTimers();
  freshOutput();
}

void CodeRunner::freshOutput() {
  const Appearance look = appearance();
  helper_.setDefaultStringColor(look.fontColor);
  const bool menu =
      platform::SettingsStore::standard().valueForKey(platform::keys::kLineFormat).toString() ==
      QLatin1String("menu");
  taskOutput_ = std::make_unique<RunOutput>(
      helper_, look, menu ? RunOutput::LineFormat::Menu : RunOutput::LineFormat::Plain);
}

void CodeRunner::drawOutput() {
  if (!frame_.isActive()) frame_.start();
}

void CodeRunner::render() {
  // A run that wrote error output shows the error, whatever else it printed.
  if (gotError_) return;
  // Every drawing uses the widget's current look, also for what arrived before a change.
  const Appearance look = appearance();
  helper_.setDefaultStringColor(look.fontColor);
  taskOutput_->restyle(look);
  // The previous run's output stays until this run ends or has gone on a while; then the
  // last complete frame shows until the one being written has grown a while too.
  std::shared_ptr<const ansi::StyledText> shown = taskOutput_->styledText();
  if (isRunning() && showPieces_.isActive()) {
    if (!piecesShown_) return;
    shown = taskOutput_->lastFrame();
  } else if (shown->length() == 0) {
    shown = taskOutput_->lastFrame();
  }
  // Text that translates to nothing leaves the canvas as it is.
  if (!canvas_ || !shown || shown->length() == 0) return;
  if (canvas_->styledText() != shown) canvas_->setStyledText(shown);
  canvas_->setScriptMenu(shown == taskOutput_->lastFrame() ? taskOutput_->lastMenu()
                                                           : taskOutput_->menu());
  canvas_->setNeedsDisplay();
}

void CodeRunner::shutDown() {
  stopReloading();
  // Every run's group ends, also of runs that have ended and of runs an earlier reset stopped
  // that still wait for their SIGKILL, which no event loop will deliver once the process quits.
  // All are asked at once, so that together they take no longer than one.
  const auto children = findChildren<ChildProcess*>(Qt::FindDirectChildrenOnly);
  for (auto* child : children) {
    child->disconnect(this);
    child->terminate();
  }
  const QDeadlineTimer deadline(ChildProcess::kKillDelayMs);
  for (auto* child : children)
    child->stopAndWait(deadline);
  if (sourceFileName_) QFile::remove(*sourceFileName_);
  scriptWritten_ = false;
}

Appearance CodeRunner::appearance() const {
  if (appearance_) return appearance_();
  return Appearance{ansi::Font{"", 12, ansi::Font::kRegularWeight, false}, ansi::Color::white()};
}

}  // namespace pellimo::runner
