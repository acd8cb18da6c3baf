#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <ostream>

#include "TestSupport.h"
#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "editor/CodeEditorView.h"
#include "editor/EditorView.h"
#include "editor/OutPut.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsStore.h"
#include "runner/CodeRunner.h"
#include "widget/AppDelegate.h"
#include "widget/Interface.h"

namespace pellimo::test {

inline platform::SettingsStore& settings() {
  return platform::SettingsStore::standard();
}

/// Counts the in-process notifications of one name.
class NotificationCounter : public QObject {
 public:
  explicit NotificationCounter(const QString& name, std::function<void()> also = {}) {
    platform::NotificationCenter::defaultCenter().addObserver(this, name, [this, also] {
      ++count;
      if (also) also();
    });
  }
  int count = 0;
};

/// The widget's real window, views and controller, built as the module's start-up builds them,
/// with the editor made by the factory the start-up registers; the shared runner draws on this
/// widget's canvas. Settings start empty.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings().clear();
    settings().synchronize();
    widget::ViewController::setEditorFactory(
        [](widget::ViewController& host) { return std::make_unique<editor::OutPut>(&host); });
    widget_ = makeWidget();
    runner_ = &delegate_.initRunner(0, QString(), widget_->canvas);
    runner_->setAppearanceSource([this] {
      return runner::Appearance{host().font(), host().fontColor()};
    });
  }

  void TearDown() override {
    colorpicker::QVColorPickerPopover::sharedPopover()->close();
    colorpicker::ColorWell::deactivateAll();
    colorpicker::ColorPanel::sharedColorPanel()->orderOut();
  }

  /// One more widget of the same process, made from the settings as they are now.
  static std::unique_ptr<widget::Interface> makeWidget() {
    auto made = std::make_unique<widget::Interface>();
    made->controller->viewDidLoad();
    ++editorsMade;
    return made;
  }

  static editor::OutPut& editorOf(widget::Interface& widget) {
    return static_cast<editor::OutPut&>(*widget.controller->configVC());
  }

  widget::ViewController& host() { return *widget_->controller; }
  editor::OutPut& editor() { return editorOf(*widget_); }
  const editor::EditorView::Controls& ui() { return editor().view()->controls(); }
  QString canvasText() const { return widget_->canvas->plainText(); }

  /// Makes the editor's picker pick the next language, as the Down key does.
  void pickNextLanguage() { QTest::keyClick(ui().LanguagePicker, Qt::Key_Down); }

  static inline int editorsMade = 0;

  widget::AppDelegate delegate_;
  std::unique_ptr<widget::Interface> widget_;
  runner::CodeRunner* runner_ = nullptr;
};

inline int lineCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  return file.readAll().count('\n');
}

}  // namespace pellimo::test
