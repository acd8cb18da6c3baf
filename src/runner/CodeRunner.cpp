#include "runner/CodeRunner.h"

#include "platform/NotificationCenter.h"
#include "platform/SettingsStore.h"
#include "platform/SleepMonitor.h"
#include "runner/Interpreter.h"
#include "runner/ScriptFile.h"

namespace pellimo::runner {

namespace {

CodeRunner* sharedRunner = nullptr;
constexpr int kTickToRunMs = 1000;
constexpr int kFrameMs = 16;

}  // namespace

CodeRunner* CodeRunner::initWithLanguage(qint64 mode, const QString& andCode, Canvas* andCanvas) {
  if (!sharedRunner) sharedRunner = new CodeRunner(mode, andCode, andCanvas);
  return sharedRunner;
}

CodeRunner* CodeRunner::RunnerSingleton() {
  return sharedRunner;
}

CodeRunner::CodeRunner(qint64 mode, const QString& code, Canvas* canvas)
    : mode(mode), code(code), canvas(canvas) {
  freshOutput();
  // A failure has put its message on the canvas already; the first run then finds no file.
  prepare();
  frame_.setSingleShot(true);
  frame_.setInterval(kFrameMs);
  connect(&frame_, &QTimer::timeout, this, &CodeRunner::render);
  tickToRun_.setSingleShot(true);
  tickToRun_.setInterval(kTickToRunMs);
  connect(&tickToRun_, &QTimer::timeout, this, &CodeRunner::run);
  auto& sleep = platform::SleepMonitor::shared();
  connect(&sleep, &platform::SleepMonitor::willSleep, this, &CodeRunner::resetTask);
  connect(&sleep, &platform::SleepMonitor::didWake, this, &CodeRunner::start);
}

bool CodeRunner::prepare() {
  return compile(code, extensionForMode(mode));
}

bool CodeRunner::compile(const QString& script, const QString& extension) {
  if (extension.isEmpty()) return false;
  const auto path = writeScriptFile(script, extension);
  if (!path) {
    if (canvas) canvas->setPlainText(QStringLiteral("Error creating temporary file."));
    return false;
  }
  sourceFileName = *path;
  return true;
}

void CodeRunner::start() {
  scheduleReload();
  run();
}

void CodeRunner::scheduleReload() {
  const qint64 interval =
      platform::SettingsStore::standard().integerForKey(QStringLiteral("reloadAfter"));
  if (interval > 0) {
    stopReloading();
    loper = new QTimer(this);
    connect(loper, &QTimer::timeout, this, &CodeRunner::reloadTick);
    loper->start(static_cast<int>(qMin<qint64>(interval, INT_MAX / 1000) * 1000));
  }
}

void CodeRunner::stopReloading() {
  if (loper) loper->deleteLater();
  loper = nullptr;
  tickToRun_.stop();
}

void CodeRunner::reloadTick() {
  // A run still in progress, or about to start, is left to finish, so slow scripts are shown
  // whole: a second pending run would stop the child the first one starts.
  if ((child_ && child_->isRunning()) || tickToRun_.isActive()) return;
  resetTask();
  tickToRun_.start();
}

void CodeRunner::run() {
  tickToRun_.stop();
  if (!sourceFileName) {
    emit runFinished();
    return;
  }
  resetTask();
  if (!additinaolArguments) {
    const QVariant stored = platform::SettingsStore::standard().valueForKey(QStringLiteral("args"));
    if (stored.isValid()) additinaolArguments = splitArguments(stored.toString());
  }
  gotError = false;
  const QString interpreter = interpreterForMode(mode);
  if (interpreter.isEmpty()) {
    emit runFinished();
    return;
  }

  QStringList arguments{*sourceFileName};
  if (additinaolArguments) arguments += *additinaolArguments;
  auto* child = new ChildProcess(this);
  child_ = child;
  connect(child, &ChildProcess::output, this, [this](const QByteArray& bytes) {
    taskOutput->append(bytes);
    drawOutput();
  });
  connect(child, &ChildProcess::errorOutput, this, &CodeRunner::showError);
  connect(child, &ChildProcess::failedToStart, this, &CodeRunner::showFailure);
  connect(child, &ChildProcess::finished, this, &CodeRunner::childFinished);
  child->start(interpreter, arguments);
}

void CodeRunner::showError(const QByteArray& bytes) {
  // Only the first piece of error output is read.
  child_->closeErrorOutput();
  const QString text = QString::fromStdU16String(
      ansi::decodeUtf8(std::string_view(bytes.constData(), bytes.size())));
  if (text.isEmpty()) return;
  platform::NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("clearView"));
  if (canvas) canvas->setPlainText(QStringLiteral("Error in Script:\n\n") + text);
  // Its exit still draws what it printed, which then replaces the message.
  child_->terminate();
}

void CodeRunner::showFailure(const QString& reason) {
  if (canvas) canvas->setPlainText(QStringLiteral("Error in Script:\n\n") + reason);
  child_->stop();
  child_ = nullptr;
  emit runFinished();
}

void CodeRunner::childFinished() {
  taskOutput->finish();
  frame_.stop();
  render();
  actoveTasks.append(child_);
  child_ = nullptr;
  emit runFinished();
}

void CodeRunner::resetTask() {
  if (child_) child_->stop();
  child_ = nullptr;
  for (const auto& finished : actoveTasks) {
    if (finished) finished->deleteLater();
  }
  actoveTasks.clear();
  frame_.stop();
  freshOutput();
}

void CodeRunner::freshOutput() {
  const Appearance look = appearance();
  helper.setDefaultStringColor(look.fontColor);
  taskOutput = std::make_unique<RunOutput>(helper, look);
}

void CodeRunner::drawOutput() {
  if (!frame_.isActive()) frame_.start();
}

void CodeRunner::render() {
  // Every drawing uses the widget's current look, also for what arrived before a change.
  const Appearance look = appearance();
  helper.setDefaultStringColor(look.fontColor);
  taskOutput->restyle(look);
  const auto& styled = taskOutput->styledText();
  // Text that translates to nothing leaves the canvas as it is.
  if (!canvas || styled->length() == 0) return;
  if (canvas->styledText() != styled) canvas->setStyledText(styled);
  canvas->setNeedsDisplay();
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
