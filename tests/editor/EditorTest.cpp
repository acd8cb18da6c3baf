// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <QTemporaryDir>
#include <QTest>

#include "PickerSupport.h"
#include "editor/CodeEditorView.h"
#include "editor/EditorView.h"
#include "editor/OutPut.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsStore.h"
#include "qtbridge/QtColor.h"
#include "runner/CodeRunner.h"
#include "widget/AppDelegate.h"
#include "widget/Interface.h"

namespace pellimo::test {
namespace {

platform::SettingsStore& settings() {
  return platform::SettingsStore::standard();
}

/// Counts the in-process notifications of one name.
struct NotificationCounter : QObject {
  explicit NotificationCounter(const QString& name) {
    platform::NotificationCenter::defaultCenter().addObserver(this, name, [this] { ++count; });
  }
  int count = 0;
};

/// When a widget was enabled or disabled, on a clock started with this: timed as it happens,
/// not as a poll notices it late on a loaded machine.
struct EnabledChanges : QObject {
  explicit EnabledChanges(QWidget* widget) {
    clock.start();
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange) at.append(clock.elapsed());
    return false;
  }
  QElapsedTimer clock;
  QList<qint64> at;
};

int lineCount(const QString& path) {
  return int(fileContents(path).count('\n'));
}

/// The widget's real window, views and controller, built as the module's start-up builds them,
/// with the editor the start-up registers; the shared runner draws on this widget's canvas.
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
  void TearDown() override { popover()->close(); }

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
  static QString lexer(editor::OutPut& out) {
    const QsciLexer* lexer = out.view()->controls().editor->textView()->lexer();
    return lexer ? QString::fromLatin1(lexer->language()) : QString();
  }

  widget::ViewController& host() { return *widget_->controller; }
  editor::OutPut& editor() { return editorOf(*widget_); }
  const editor::EditorView::Controls& ui() { return editor().view()->controls(); }
  QString canvasText() const { return widget_->canvas->plainText(); }
  /// As the Down key does.
  void pickNextLanguage() { QTest::keyClick(ui().LanguagePicker, Qt::Key_Down); }
  void store(const QString& script, const QString& arguments, qint64 reloadAfter) {
    settings().setValue(script, "scriptValue");
    settings().setValue(arguments, "args");
    settings().setValue(reloadAfter, "reloadAfter");
  }

  static inline int editorsMade = 0;
  widget::AppDelegate delegate_;
  std::unique_ptr<widget::Interface> widget_;
  runner::CodeRunner* runner_ = nullptr;
};

TEST_F(EditorTest, LoadingRestoresTheStoredLanguageScriptAndArgumentsOrTheDefaults) {
  const struct {
    qint64 mode;
    QString script, arguments, lexer;
    qint64 reloadAfter;
  } cases[] = {{0, "", "", "Bash", 0}, {2, "print(1)", "a,b", "Python", 7}};
  for (const auto& c : cases) {
    if (c.mode != 0) {
      settings().setValue(c.mode, "modeValue");
      store(c.script, c.arguments, c.reloadAfter);
    }
    auto made = makeWidget();
    editor::OutPut& out = editorOf(*made);
    // What the widget's script start reads from its editor.
    EXPECT_EQ(out.selectedLanguageTag(), c.mode);
    EXPECT_EQ(out.scriptText(), c.script);
    EXPECT_EQ(out.view()->controls().arguments->text(), c.arguments);
    EXPECT_EQ(lexer(out), c.lexer);
    out.present();
    EXPECT_EQ(out.view()->controls().reloadAfter->text(), QString::number(c.reloadAfter));
  }
}

TEST_F(EditorTest, AStoredUnknownLanguageIsPickedNowhereAndRunAsksForOne) {
  settings().setValue(7, "modeValue");
  store("echo kept", "", 0);
  auto restored = makeWidget();
  editor::OutPut& out = editorOf(*restored);
  const editor::EditorView::Controls& c = out.view()->controls();
  EXPECT_EQ(c.LanguagePicker->currentIndex(), -1);
  EXPECT_EQ(out.selectedLanguageTag(), 7) << "the widget's script start is told the stored tag";
  out.present();
  out.runCode(c.runBtn);
  EXPECT_TRUE(out.view()->isVisible());
  EXPECT_TRUE(c.message->isVisibleTo(out.view()));
  EXPECT_TRUE(c.message->text().contains("language"));
}

TEST_F(EditorTest, PickingALanguageEmptiesTheScriptStoresTheModeAndStopsReloading) {
  store("echo old", "x", 5);
  runner_->scheduleReload();
  ASSERT_TRUE(runner_->loper());
  ui().editor->setString("echo typed");
  ui().arguments->setText("x");
  pickNextLanguage();
  EXPECT_EQ(editor().scriptText(), QString());
  EXPECT_EQ(ui().arguments->text(), QString());
  EXPECT_EQ(settings().integerForKey("modeValue"), 1);
  EXPECT_EQ(settings().stringForKey("scriptValue"), QStringLiteral("echo old"));
  EXPECT_FALSE(runner_->loper());
  EXPECT_EQ(lexer(editor()), QStringLiteral("Ruby"));
}

TEST_F(EditorTest, RunStoresTheFieldsHandsThemToTheRunnerAndTheEditorShowsThemAgain) {
  const struct {
    QString arguments, reloadAfter;
    qint64 stored;
    QStringList passed;
    QString timeout;  // left empty: the default, stored as no value
    QString lineFormat;
  } cases[] = {{"", "5", 5, {}, "5", "menu"},
               {"a,b", "abc", 0, {"a", "b"}, "0", "plain"},
               {"x,,y", " 3", 3, {"x", "", "y"}, "", "plain"}};
  pickNextLanguage();
  pickNextLanguage();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.toStdString() + " / " + c.reloadAfter.toStdString());
    editor().present();
    ui().editor->setString("print('hi')\n");
    ui().arguments->setText(c.arguments);
    ui().reloadAfter->setText(c.reloadAfter);
    ui().timeout->setText(c.timeout);
    ui().lineFormat->setCurrentIndex(ui().lineFormat->findData(c.lineFormat));
    editor().runCode(ui().runBtn);
    EXPECT_EQ(settings().stringForKey("scriptValue"), QStringLiteral("print('hi')\n"));
    EXPECT_EQ(settings().stringForKey("args"), c.arguments);
    EXPECT_EQ(settings().integerForKey("reloadAfter"), c.stored);
    const QVariant timeout = settings().valueForKey("timeout");
    EXPECT_EQ(timeout.isValid() ? timeout.toString() : QString(), c.timeout);
    EXPECT_EQ(settings().stringForKey("lineFormat"), c.lineFormat);
    EXPECT_EQ(runner_->additinaolArguments(), c.passed);
    EXPECT_EQ(runner_->mode(), 2);
    EXPECT_FALSE(editor().view()->isVisible());
    editor().present();
    EXPECT_EQ(ui().timeout->text(), c.timeout);
  }
  // Shown as stored, not as last chosen; an unknown format as plain.
  settings().setValue(QStringLiteral("7"), QStringLiteral("timeout"));
  for (const auto& [stored, shown] : {std::pair{"menu", "menu"}, {"tabular", "plain"}}) {
    settings().setValue(QString(stored), QStringLiteral("lineFormat"));
    editor().present();
    EXPECT_EQ(ui().lineFormat->currentData().toString(), shown);
    EXPECT_EQ(ui().timeout->text(), QStringLiteral("7"));
  }
}

TEST_F(EditorTest, RunRunsOnceAfterTwoSecondsRaisesTheWidgetWhenDoneAndThenReloads) {
  QTemporaryDir dir;
  const QString runs = dir.filePath("runs");
  NotificationCounter raises("clearView");
  editor().present();
  ui().editor->setString(
      QString("echo run >> '%1'\necho started\nsleep 0.5\necho done\n").arg(runs));
  ui().reloadAfter->setText("1");
  QElapsedTimer clock;
  clock.start();
  editor().runCode(ui().runBtn);

  ASSERT_TRUE(eventually([&] { return raises.count > 0; }, 5000));
  // Not before the run has ended.
  EXPECT_GE(clock.elapsed(), 2400);
  EXPECT_EQ(canvasText(), QStringLiteral("started\ndone\n"));
  EXPECT_EQ(raises.count, 1);
  // Rescheduled, not rerun at once: a tick one interval later, and the run a second after it.
  clock.restart();
  EXPECT_TRUE(eventually([&] { return lineCount(runs) == 2; }, 5000));
  EXPECT_GE(clock.elapsed(), 1800);
}

TEST_F(EditorTest, CancelPutsBackWhatWasStoredRaisesTheWidgetAndReloadsTheScriptItHad) {
  QTemporaryDir dir;
  const QString runs = dir.filePath("runs");
  store("echo old", "o", 1);
  runner_->setScript(0, QString("echo run >> '%1'\necho old\n").arg(runs));
  ASSERT_TRUE(runner_->prepare());
  NotificationCounter raises("clearView");
  editor().present();
  pickNextLanguage();
  ui().editor->setString("puts 1");
  editor().cancelEdit(ui().cancelBtn);

  EXPECT_FALSE(editor().view()->isVisible());
  EXPECT_EQ(raises.count, 1);
  EXPECT_EQ(settings().stringForKey("scriptValue"), QStringLiteral("echo old"));
  // The language picked in between is taken back, in the store, the editor and the runner.
  EXPECT_EQ(settings().integerForKey("modeValue"), 0);
  EXPECT_EQ(editor().selectedLanguageTag(), 0);
  EXPECT_EQ(editor().scriptText(), QStringLiteral("echo old"));
  EXPECT_EQ(ui().arguments->text(), QStringLiteral("o"));
  EXPECT_EQ(runner_->additinaolArguments(), QStringList{"o"});
  EXPECT_EQ(lineCount(runs), 0);
  // The widget keeps running its old script, in its old language.
  EXPECT_TRUE(eventually([&] { return lineCount(runs) == 1; }, 3000));
  EXPECT_TRUE(eventually([&] { return canvasText() == QStringLiteral("old\n"); }, 1000));
}

TEST_F(EditorTest, AFailedPrepareRunsNothingAndKeepsTheEditorOpenWithTheReason) {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QByteArray savedTemp = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(runtime));
  const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
  // Script directories that others can read are refused: the runtime one and its fallback.
  const QString scripts[] = {runtime + "/pellimo",
                             runtime + QStringLiteral("/pellimo-%1").arg(::getuid())};
  for (const QString& directory : scripts) {
    QDir().mkpath(directory);
    ASSERT_TRUE(QFile::setPermissions(directory, ownerOnly | QFile::ReadOther | QFile::ExeOther));
  }
  NotificationCounter raises("clearView");
  settings().setValue(3, "reloadAfter");
  editor().present();
  ui().editor->setString("echo never");
  editor().runCode(ui().runBtn);
  for (const QString& directory : scripts)
    QFile::setPermissions(directory, ownerOnly);
  qputenv("TMPDIR", savedTemp);

  // The editor stays open and says why.
  EXPECT_TRUE(ui().message->isVisibleTo(editor().view()));
  EXPECT_TRUE(ui().message->text().contains("could not be written"));
  serveFor(2500);
  EXPECT_TRUE(editor().view()->isVisible());
  EXPECT_EQ(raises.count, 0);
  EXPECT_FALSE(runner_->loper());
  EXPECT_TRUE(canvasText().startsWith(QStringLiteral("Error creating temporary file. ")) &&
              canvasText().endsWith(QStringLiteral("is open to other users (mode 0705)")))
      << canvasText().toStdString();
}

TEST_F(EditorTest, TheFontDialogStartsAtTheEditorsFontAndStoresEachChangeWithinDrawableSizes) {
  widget_->canvas->setPlainText("some output");
  editor().present();
  editor().pickFont(ui().fontBtn);
  QFontDialog* dialog = editor().fontPanel();
  ASSERT_TRUE(dialog && dialog->isVisible());
  EXPECT_EQ(QFontInfo(dialog->currentFont()).family(), QFontInfo(ui().editor->textFont()).family());
  // Opening is not choosing.
  EXPECT_FALSE(settings().fontForKey("codeFont"));

  QFont font = dialog->currentFont();
  font.setPointSize(21);
  dialog->setCurrentFont(font);
  font.setItalic(true);
  dialog->setCurrentFont(font);
  const auto stored = settings().fontForKey("codeFont");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->pointSize, 21);
  EXPECT_TRUE(stored->italic);
  EXPECT_EQ(host().font(), *stored);
  const auto styled = widget_->canvas->styledText();
  ASSERT_TRUE(styled);
  EXPECT_EQ(styled->fonts().at(0, {0, styled->length()}).value, *stored);
  // Sizes outside what can be drawn are stored and shown at the nearest end.
  for (const auto& [chosen, drawn] : {std::pair{1000.0, 288.0}, {2.0, 4.0}}) {
    font.setPointSizeF(chosen);
    dialog->setCurrentFont(font);
    EXPECT_EQ(settings().fontForKey("codeFont")->pointSize, drawn) << chosen;
    EXPECT_EQ(host().font().pointSize, drawn) << chosen;
  }
}

TEST_F(EditorTest, ThePickerRaisesTheWidgetAndEveryColourPickedIsPaintedAndStored) {
  const ansi::Color background = ansi::Color::rgb(0.1, 0.2, 0.3, 0.9);
  host().setBackground(background);
  editor().present();
  editor().showPicker(ui().backgroundBtn);
  QVColorPickerPopover* popover = test::popover();
  EXPECT_TRUE(host().isRaised());
  ASSERT_TRUE(popover->isShown());
  EXPECT_EQ(popover->color(), background);
  for (const ansi::Color& chosen : {ansi::Color::rgb(1, 0, 0), ansi::Color::rgb(0, 0, 1)}) {
    popover->colorPanel()->setColor(chosen);
    EXPECT_EQ(settings().colorForKey("color"), chosen);
    const QImage painted = widget_->view->grab().toImage();
    EXPECT_EQ(painted.pixel(painted.rect().center()), qtbridge::toQColor(chosen).rgba());
  }
}

TEST_F(EditorTest, ThePickerClosingByAnyPathButTheDragOffPutsTheWidgetBackInItsMode) {
  enum class Closer { Escape, ClickOutside, CancelButton, DraggedOffPanelClosed };
  QVColorPickerPopover* popover = test::popover();
  ColorPanel* panel = test::panel();
  for (const bool raised : {false, true}) {
    for (const Closer closer : {Closer::Escape, Closer::ClickOutside, Closer::CancelButton,
                                Closer::DraggedOffPanelClosed}) {
      SCOPED_TRACE(testing::Message() << raised << ", " << int(closer));
      // A widget of its own each time: a widget ignores a second toggle within half a second.
      const auto widget = makeWidget();
      widget::ViewController& host = *widget->controller;
      editor::OutPut& editor = editorOf(*widget);
      if (raised) host.raiseMe();
      editor.present();
      editor.showPicker(editor.view()->controls().backgroundBtn);
      ASSERT_TRUE(popover->isShown());
      EXPECT_NE(host.isRaised(), raised);
      NotificationCounter unRaise("unRaise");
      if (closer == Closer::Escape) {
        popover->cancelOperation();
        EXPECT_EQ(unRaise.count, 1) << "once, however many widgets the process has";
      }
      if (closer == Closer::ClickOutside) {
        QTest::mouseClick(editor.view()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
      }
      if (closer == Closer::CancelButton) editor.view()->controls().cancelBtn->click();
      if (closer == Closer::DraggedOffPanelClosed) {
        QWidget* content = popover->contentViewController()->view();
        const QPoint start = content->mapToGlobal(content->rect().center());
        sendMouse(content, QEvent::MouseButtonPress, start, Qt::LeftButton);
        sendMouse(content, QEvent::MouseMove, start + QPoint(80, 0), Qt::LeftButton);
        sendMouse(content, QEvent::MouseButtonRelease, start + QPoint(80, 0), Qt::NoButton);
        ASSERT_TRUE(panel->isVisible());
        EXPECT_NE(host.isRaised(), raised) << "dragging off is not closing";
        panel->close();
      }
      EXPECT_FALSE(popover->isShown());
      EXPECT_EQ(host.isRaised(), raised);
    }
  }
}

TEST_F(EditorTest, ANewTextColourFromTheWellIsStoredAndRedrawsTheCanvasTheOneInUseIsNot) {
  widget_->canvas->setPlainText(QStringLiteral("some output"));
  editor().present();
  editor().chosenColor(ui().fontColor);
  EXPECT_FALSE(settings().colorForKey("fontColor"));
  EXPECT_EQ(widget_->canvas->styledText(), nullptr);
  ui().fontColor->activate(true);
  const ansi::Color orange = ansi::Color::rgb(1, 0.5, 0);
  panel()->setColor(orange);
  EXPECT_EQ(settings().colorForKey("fontColor"), orange);
  EXPECT_EQ(widget_->canvas->styledText()->foregrounds().at(0, {0, 11}).value, orange);
}

TEST_F(EditorTest, OnlyTheFirstEditorOfTheProcessGetsTheGutterAndLineHighlight) {
  if (editorsMade != 1) GTEST_SKIP() << "needs a process of its own, as ctest runs each test";
  using Sci = QsciScintillaBase;
  const auto send = [](editor::OutPut& out, unsigned int message, unsigned long argument = 0) {
    return out.view()->controls().editor->textView()->SendScintilla(message, argument);
  };
  // A new language's lexer resets the styles; the gutter keeps its colours all the same.
  pickNextLanguage();
  // Scintilla keeps colours as 0xBBGGRR.
  EXPECT_EQ(send(editor(), Sci::SCI_STYLEGETBACK, Sci::STYLE_LINENUMBER), 0x000000);
  EXPECT_TRUE(send(editor(), Sci::SCI_GETCARETLINEVISIBLE));
  // 50 of 255 grey at alpha 0.8, as it shows over the paper.
  EXPECT_EQ(send(editor(), Sci::SCI_GETCARETLINEBACK), 0x2e2e2e);
  auto later = makeWidget();
  EXPECT_NE(send(editorOf(*later), Sci::SCI_STYLEGETBACK, Sci::STYLE_LINENUMBER), 0x000000);
  EXPECT_FALSE(send(editorOf(*later), Sci::SCI_GETCARETLINEVISIBLE));
}

TEST_F(EditorTest, TheFramelessEditorWindowTurnsResizingOffForHalfASecondAfterEachResize) {
  editor().present();
  editor::EditorView* window = editor().view();
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  const EnabledChanges grip(window->sizeGrip());
  // Steps of one resize, closer together than its end, turn resizing off once.
  for (int step = 1; step <= 3; ++step)
    window->resize(window->size() + QSize(10, 10));
  EXPECT_TRUE(window->isResizable());
  ASSERT_TRUE(eventually([&] { return !window->isResizable(); }));
  EXPECT_FALSE(window->sizeGrip()->isEnabled());
  ASSERT_TRUE(eventually([&] { return window->isResizable(); }));
  EXPECT_TRUE(window->sizeGrip()->isEnabled());
  ASSERT_EQ(grip.at.size(), 2);
  EXPECT_GE(grip.at[1] - grip.at[0], 450);
}

}  // namespace
}  // namespace pellimo::test
