// SPDX-License-Identifier: GPL-3.0-or-later
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

/// Records each text it shows, in order, without repeats.
class RecordingCanvas : public runner::Canvas {
 public:
  void setPlainText(const QString& text) override { show(nullptr, text); }
  void setStyledText(std::shared_ptr<const ansi::StyledText> text) override { show(text, {}); }
  std::shared_ptr<const ansi::StyledText> styledText() const override { return styled_; }
  QString plainText() const override {
    return styled_ ? QString::fromStdU16String(styled_->string()) : message_;
  }
  void setNeedsDisplay() override { show(styled_, message_); }

  QStringList shown;

 private:
  void show(std::shared_ptr<const ansi::StyledText> styled, const QString& message) {
    styled_ = std::move(styled);
    message_ = message;
    if (shown.isEmpty() || shown.constLast() != plainText()) shown.append(plainText());
  }

  QString message_;
  std::shared_ptr<const ansi::StyledText> styled_;
};

inline const runner::Appearance kLook{ansi::Font{"DejaVu Sans Mono", 11, 5, false},
                                      ansi::Color::grey(0.9)};

/// A runner of its own for each test, drawing on a recording canvas, with a private runtime
/// directory and no stored settings.
class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    platform::SettingsStore::standard().clear();
    runner = CodeRunner::initWithLanguage(0, QString(), &canvas);
    runner->setAppearanceSource([] { return kLook; });
    QObject::connect(runner.get(), &CodeRunner::runFinished, [this] { ++finishedRuns_; });
  }

  /// Writes the script for `mode` without running it.
  bool load(const QString& script, qint64 mode = 0) {
    runner->setScript(mode, script);
    return runner->prepare();
  }

  /// Writes the script, runs it and serves the event loop until the run has ended.
  bool runToEnd(const QString& script, qint64 mode = 0) {
    return load(script, mode) && runAgainToEnd();
  }

  /// Runs the script loaded last and serves the event loop until the run has ended.
  bool runAgainToEnd() {
    const int before = finishedRuns_;
    runner->run();
    return eventually([&] { return finishedRuns_ > before; });
  }

  /// The interpreter processes this test process runs now.
  static std::vector<ProcessEntry> children() { return liveChildrenOf(::getpid()); }

  QTemporaryDir runtime;
  RecordingCanvas canvas;
  std::unique_ptr<CodeRunner> runner;

 private:
  int finishedRuns_ = 0;
};

}  // namespace pellimo::test
