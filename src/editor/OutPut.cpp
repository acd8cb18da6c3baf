#include "editor/OutPut.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "editor/CodeEditorView.h"
#include "editor/EditorView.h"
#include "platform/DesktopWindow.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsStore.h"
#include "runner/CodeRunner.h"
#include "runner/Interpreter.h"
#include "widget/AppDelegate.h"
#include "widget/ViewController.h"
#include "widget/lbl.h"

namespace pellimo::editor {

namespace {

constexpr int kRunDelayMs = 2000;
// 50 of 255 on each component: a dim grey that lets the line's text show through.
const QColor kCurrentLineHighlight = QColor::fromRgbF(50 / 255.0f, 50 / 255.0f, 50 / 255.0f, 0.8f);

runner::CodeRunner* sharedRunner() {
  return runner::CodeRunner::RunnerSingleton();
}

/// A text field's integer value; 0 for text that is not a number.
qint64 integerValue(const QLineEdit* field) {
  bool ok = false;
  const qint64 value = field->text().trimmed().toLongLong(&ok);
  return ok ? value : 0;
}

/// What the editor does to the runner before it changes the script: no timer, no child, no error,
/// no arguments.
void resetRunner(runner::CodeRunner* runner) {
  runner->stopReloading();
  runner->resetTask();
  runner->gotError = false;
  runner->additinaolArguments = QStringList();
}

}  // namespace

OutPut::OutPut(widget::ViewController* host) : host(host) {
  // The popover's notifications belong to the application's notification centre.
  connect(colorpicker::QVColorPickerPopover::sharedPopover(),
          &colorpicker::QVColorPickerPopover::notificationPosted,
          &platform::NotificationCenter::defaultCenter(),
          &platform::NotificationCenter::postNotificationName, Qt::UniqueConnection);
}

OutPut::~OutPut() = default;

EditorView* OutPut::view() {
  if (!view_) loadView();
  return view_.get();
}

void OutPut::viewDidLoad() {
  view();
  static bool configured = false;
  if (!configured) {
    configured = true;
    configEditor();
  }
  auto& settings = platform::SettingsStore::standard();
  mode = settings.integerForKey(QStringLiteral("modeValue"));
  selectItemWithTag(mode);
  editor->setString(settings.stringForKey(QStringLiteral("scriptValue")));
  arguments->setText(settings.stringForKey(QStringLiteral("args")));
  syntaxDefinition = LanguagePicker->currentText();
  editor->setSyntaxDefinitionName(syntaxDefinition);
  if (auto* delegate = widget::AppDelegate::shared(); delegate && delegate->VC()) {
    host = delegate->VC();
  }
}

void OutPut::selectItemWithTag(qint64 tag) {
  const int index = LanguagePicker->findData(tag);
  if (index >= 0) LanguagePicker->setCurrentIndex(index);
}

qint64 OutPut::selectedLanguageTag() const {
  return LanguagePicker ? LanguagePicker->currentData().toLongLong() : mode;
}

QString OutPut::scriptText() const {
  return editor ? editor->string() : QString();
}

void OutPut::configEditor() {
  editor->setGutterBackgroundColour(Qt::black);
  editor->setGutterTextColour(Qt::white);
  editor->setHighlightsCurrentLine(true);
  editor->setCurrentLineHighlightColour(kCurrentLineHighlight);
}

void OutPut::present() {
  EditorView* window = view();
  // The window manager maps a window with the hints it has before it is mapped.
  config();
  window->show();
  window->raise();
  window->activateWindow();
  viewDidAppear();
}

void OutPut::viewDidAppear() {
  if (host) fontColor->setColor(host->fontColor);
  reloadAfter->setText(QString::number(
      platform::SettingsStore::standard().integerForKey(QStringLiteral("reloadAfter"))));
  editor->setFocus();
}

void OutPut::config() {
  view()->winId();
  QWindow* window = view()->windowHandle();
  platform::setWindowLevel(window, platform::WindowLevel::Floating);
  platform::joinAllDesktops(window);
}

void OutPut::pickLanguage(QComboBox* sender) {
  if (auto* runner = sharedRunner()) resetRunner(runner);
  arguments->clear();
  mode = sender->currentData().toLongLong();
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(mode, QStringLiteral("modeValue"));
  settings.synchronize();
  syntaxDefinition = sender->currentText();
  editor->setSyntaxDefinitionName(syntaxDefinition);
  // A script in one language means nothing in another.
  editor->setString(QString());
}

void OutPut::runCode(QObject*) {
  runner::CodeRunner* runner = sharedRunner();
  if (runner) resetRunner(runner);
  const QString script = editor->string();
  reloadAfterValue = integerValue(reloadAfter);
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(script, QStringLiteral("scriptValue"));
  settings.setValue(reloadAfterValue, QStringLiteral("reloadAfter"));
  settings.setValue(arguments->text(), QStringLiteral("args"));
  settings.synchronize();
  if (runner) {
    runner->mode = mode;
    runner->code = script;
    runner->additinaolArguments = runner::splitArguments(arguments->text());
  }
  view()->hide();
  const bool prepared = runner && runner->prepare();
  QTimer::singleShot(kRunDelayMs, this, [this, prepared] {
    if (prepared) {
      runPrepared();
    } else {
      QApplication::beep();
    }
  });
}

void OutPut::runPrepared() {
  runner::CodeRunner* runner = sharedRunner();
  connect(
      runner, &runner::CodeRunner::runFinished, this,
      [this] {
        dismissController();
        if (host) host->raise();
      },
      Qt::SingleShotConnection);
  runner->run();
}

void OutPut::cancelEdit(QObject*) {
  dismissController();
  performReturnSegue();
  if (host) host->raise();
}

void OutPut::dismissController() {
  view()->hide();
  // Picking a language or running stopped the timer; without this the widget would not
  // refresh again until the next launch.
  if (auto* runner = sharedRunner()) runner->scheduleReload();
}

void OutPut::performReturnSegue() {
  if (host && host->canvas) host->canvas->window()->activateWindow();
}

}  // namespace pellimo::editor
