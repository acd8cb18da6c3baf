#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <ostream>

#include "Processes.h"
#include "TestSupport.h"
#include "platform/SettingsStore.h"
#include "runner/Canvas.h"
#include "runner/CodeRunner.h"

namespace pellimo::test {

using runner::CodeRunner;

/// Records what the canvas would show after each change or repaint request.
class RecordingCanvas : public runner::Canvas {
 public:
  void setPlainText(const QString& text) override {
    styled_.reset();
    message_ = text;
    record();
  }
  void setStyledText(std::shared_ptr<const ansi::StyledText> text) override {
    styled_ = std::move(text);
    message_.clear();
    record();
  }
  std::shared_ptr<const ansi::StyledText> styledText() const override { return styled_; }
  QString plainText() const override {
    return styled_ ? QString::fromStdU16String(styled_->string()) : message_;
  }
  void setNeedsDisplay() override { record(); }

  /// Each text the canvas showed, in order, without repeats.
  QStringList shown;
  /// Off for outputs too large to copy at every repaint.
  bool recording = true;

 private:
  void record() {
    if (!recording) return;
    const QString now = plainText();
    if (shown.isEmpty() || shown.constLast() != now) shown.append(now);
  }

  QString message_;
  std::shared_ptr<const ansi::StyledText> styled_;
};

/// The widget's look as the runner reads it at every drawing.
inline const runner::Appearance kLook{ansi::Font{"DejaVu Sans Mono", 11, 5, false},
                                      ansi::Color::grey(0.9)};

/// The shared runner, drawing on a recording canvas, with a private script directory and no
/// stored settings for each test. The runner outlives the tests: each one leaves it idle.
class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    clearSettings();
    runner_ = CodeRunner::initWithLanguage(0, QString(), &canvas);
    runner_->canvas = &canvas;
    runner_->setAppearanceSource([] { return kLook; });
  }

  void TearDown() override {
    runner_->shutDown();
    runner_->resetTask();
    runner_->canvas = nullptr;
    runner_->additinaolArguments.reset();
    runner_->sourceFileName.reset();
    runner_->mode = 0;
    clearSettings();
    serveFor(50);
  }

  CodeRunner& runner() { return *runner_; }

  static void setSetting(const QString& key, const QVariant& value) {
    platform::SettingsStore::standard().setValue(value, key);
  }

  /// Writes the script for `mode` without running it.
  bool load(const QString& script, qint64 mode = 0) {
    runner_->mode = mode;
    runner_->code = script;
    return runner_->prepare();
  }

  /// Writes the script, runs it and serves the event loop until the run has ended.
  bool runToEnd(const QString& script, qint64 mode = 0, int timeoutMs = 10000) {
    if (!load(script, mode)) return false;
    runner_->run();
    return eventually([this] { return !runner_->actoveTasks.isEmpty(); }, timeoutMs);
  }

  /// The interpreter processes this test process runs now.
  static std::vector<ProcessEntry> children() { return liveChildrenOf(::getpid()); }

  QString runtimePath() const { return runtime_.path(); }

  RecordingCanvas canvas;

 private:
  static void clearSettings() {
    auto& settings = platform::SettingsStore::standard();
    for (const char* key : {"args", "reloadAfter", "modeValue", "scriptValue"}) {
      settings.removeObjectForKey(QString::fromLatin1(key));
    }
  }

  QTemporaryDir runtime_;
  CodeRunner* runner_ = nullptr;
};

}  // namespace pellimo::test
