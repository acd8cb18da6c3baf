#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "Processes.h"
#include "TestSupport.h"
#include "platform/SettingsKeys.h"
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

/// A runner of its own for each test, drawing on a recording canvas, with a private script
/// directory and no stored settings.
class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    platform::SettingsStore::standard().clear();
    runner_ = CodeRunner::initWithLanguage(0, QString(), &canvas);
    runner_->setAppearanceSource([] { return kLook; });
    connect();
  }

  void TearDown() override {
    runner_.reset();
    platform::SettingsStore::standard().clear();
    serveFor(50);
  }

  CodeRunner& runner() { return *runner_; }

  static void setSetting(QLatin1String key, const QVariant& value) {
    platform::SettingsStore::standard().setValue(value, key);
  }

  /// Writes the script for `mode` without running it.
  bool load(const QString& script, qint64 mode = 0) {
    runner_->setScript(mode, script);
    return runner_->prepare();
  }

  /// Writes the script, runs it and serves the event loop until the run has ended.
  bool runToEnd(const QString& script, qint64 mode = 0, int timeoutMs = 10000) {
    if (!load(script, mode)) return false;
    const int before = finishedRuns_;
    runner_->run();
    return eventually([&] { return finishedRuns_ > before; }, timeoutMs);
  }

  /// The interpreter processes this test process runs now.
  static std::vector<ProcessEntry> children() { return liveChildrenOf(::getpid()); }

  QString runtimePath() const { return runtime_.path(); }

  RecordingCanvas canvas;

 private:
  void connect() {
    QObject::connect(runner_.get(), &CodeRunner::runFinished, [this] { ++finishedRuns_; });
  }

  QTemporaryDir runtime_;
  std::unique_ptr<CodeRunner> runner_;
  int finishedRuns_ = 0;
};

}  // namespace pellimo::test
