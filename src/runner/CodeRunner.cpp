#include "runner/CodeRunner.h"

#include <QFileInfo>

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
// A run shows its pieces as they come only once it has gone on this long; a quicker run is
// shown whole when it ends, so a reload never shows half of its output.
constexpr int kPiecesAfterMs = 500;

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
  showPieces_.setInterval(kPiecesAfterMs);
  connect(&showPieces_, &QTimer::timeout, this, &CodeRunner::drawOutput);
  runLimit_.setSingleShot(true);
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
  const auto path = writeScriptFile(script, extension);
  if (!path) {
    if (canvas_) canvas_->setPlainText(QStringLiteral("Error creating temporary file."));
    return false;
  }
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
  ++tickRuns_;
}

void CodeRunner::reloadTick() {
  // A run still in progress is left to finish, so slow scripts are shown whole. Each tick asks
  // for its own run a second later: a run of the previous tick still about to start must not
  // cost this one, or a one-second interval would run every other second.
  if (isRunning()) return;
  QTimer::singleShot(kTickToRunMs, this, [this, asked = tickRuns_] {
    if (asked == tickRuns_ && !isRunning()) startRun();
  });
}

void CodeRunner::run() {
  ++tickRuns_;
  startRun();
}

void CodeRunner::startRun() {
  if (!sourceFileName_) {
    emit runFinished();
    return;
  }
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
  // "clear" deletes the script file, but the script is still this runner's to run.
  if (interpreter.isEmpty() || (!QFileInfo::exists(*sourceFileName_) && !prepare())) {
    emit runFinished();
    return;
  }

  QStringList arguments{*sourceFileName_};
  if (additinaolArguments_) arguments += *additinaolArguments_;
  auto* child = new ChildProcess(this);
  child_ = child;
  connect(child, &ChildProcess::output, this, [this](const QByteArray& bytes) {
    taskOutput_->append(bytes);
    drawOutput();
  });
  connect(child, &ChildProcess::errorOutput, this, &CodeRunner::showError);
  connect(child, &ChildProcess::failedToStart, this, &CodeRunner::showFailure);
  connect(child, &ChildProcess::finished, this, &CodeRunner::childFinished);
  child->start(interpreter, arguments);
  showPieces_.start();
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
  emit runFinished();
}

void CodeRunner::childFinished() {
  taskOutput_->finish();
  stopRunTimers();
  render();
  if (timedOut_ && !gotError_ && taskOutput_->styledText()->length() == 0) {
    showScriptError(
        QStringLiteral("stopped after %1 s without finishing").arg(runLimit_.interval() / 1000));
  }
  actoveTasks_.append(child_);
  child_ = nullptr;
  emit runFinished();
}

void CodeRunner::resetTask() {
  if (child_) child_->stop();
  child_ = nullptr;
  for (const auto& finished : actoveTasks_) {
    if (finished) finished->deleteLater();
  }
  actoveTasks_.clear();
  stopRunTimers();
  freshOutput();
}

void CodeRunner::freshOutput() {
  const Appearance look = appearance();
  helper_.setDefaultStringColor(look.fontColor);
  taskOutput_ = std::make_unique<RunOutput>(helper_, look);
}

void CodeRunner::drawOutput() {
  if (!frame_.isActive()) frame_.start();
}

void CodeRunner::render() {
  // A run that wrote error output shows the error, whatever else it printed.
  if (gotError_) return;
  // Until then the previous run's output stays.
  if (isRunning() && showPieces_.isActive()) return;
  // Every drawing uses the widget's current look, also for what arrived before a change.
  const Appearance look = appearance();
  helper_.setDefaultStringColor(look.fontColor);
  taskOutput_->restyle(look);
  const auto& styled = taskOutput_->styledText();
  // Text that translates to nothing leaves the canvas as it is.
  if (!canvas_ || styled->length() == 0) return;
  if (canvas_->styledText() != styled) canvas_->setStyledText(styled);
  canvas_->setNeedsDisplay();
}

void CodeRunner::shutDown() {
  stopReloading();
  // Children stopped by an earlier reset may still wait for their SIGKILL, which no event loop
  // will deliver once the process quits.
  for (auto* child : findChildren<ChildProcess*>(Qt::FindDirectChildrenOnly)) {
    child->disconnect(this);
    if (child->isRunning()) child->stopAndWait();
  }
}

Appearance CodeRunner::appearance() const {
  if (appearance_) return appearance_();
  return Appearance{ansi::Font{"", 12, ansi::Font::kRegularWeight, false}, ansi::Color::white()};
}

}  // namespace pellimo::runner
