#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include "EditorFixture.h"

namespace pellimo::test {
namespace {

QString lexerLanguage(editor::OutPut& out) {
  const QsciLexer* lexer = out.view()->controls().editor->textView()->lexer();
  return lexer ? QString::fromLatin1(lexer->language()) : QString();
}

TEST_F(EditorTest, LoadingRestoresTheStoredLanguageScriptAndArgumentsOrTheDefaults) {
  // Nothing stored: shell, empty fields.
  EXPECT_EQ(editor().selectedLanguageTag(), 0);
  EXPECT_EQ(editor().scriptText(), QString());
  EXPECT_EQ(ui().arguments->text(), QString());
  EXPECT_EQ(lexerLanguage(editor()), QStringLiteral("Bash"));
  editor().present();
  EXPECT_EQ(ui().reloadAfter->text(), QStringLiteral("0"));

  settings().setValue(2, QStringLiteral("modeValue"));
  settings().setValue(QStringLiteral("print(1)"), QStringLiteral("scriptValue"));
  settings().setValue(QStringLiteral("a,b"), QStringLiteral("args"));
  settings().setValue(7, QStringLiteral("reloadAfter"));
  auto restored = makeWidget();
  editor::OutPut& out = editorOf(*restored);
  // What the widget's script start reads from its editor.
  EXPECT_EQ(out.selectedLanguageTag(), 2);
  EXPECT_EQ(out.scriptText(), QStringLiteral("print(1)"));
  EXPECT_EQ(out.view()->controls().arguments->text(), QStringLiteral("a,b"));
  EXPECT_EQ(lexerLanguage(out), QStringLiteral("Python"));
  out.present();
  EXPECT_EQ(out.view()->controls().reloadAfter->text(), QStringLiteral("7"));
}

TEST_F(EditorTest, PickingALanguageEmptiesTheScriptStoresTheModeAndStopsReloading) {
  settings().setValue(QStringLiteral("echo old"), QStringLiteral("scriptValue"));
  settings().setValue(QStringLiteral("x"), QStringLiteral("args"));
  settings().setValue(5, QStringLiteral("reloadAfter"));
  runner_->scheduleReload();
  ASSERT_TRUE(runner_->loper());
  ui().editor->setString(QStringLiteral("echo typed"));
  ui().arguments->setText(QStringLiteral("x"));
  widget_->canvas->setPlainText(QStringLiteral("on show"));

  pickNextLanguage();

  EXPECT_EQ(editor().scriptText(), QString());
  EXPECT_EQ(ui().arguments->text(), QString());
  EXPECT_EQ(editor().selectedLanguageTag(), 1);
  EXPECT_EQ(settings().integerForKey(QStringLiteral("modeValue")), 1);
  EXPECT_EQ(settings().stringForKey(QStringLiteral("scriptValue")), QStringLiteral("echo old"));
  EXPECT_EQ(settings().stringForKey(QStringLiteral("args")), QStringLiteral("x"));
  EXPECT_FALSE(runner_->loper());
  EXPECT_EQ(runner_->additinaolArguments(), QStringList());
  EXPECT_EQ(runner_->mode(), 0);
  EXPECT_EQ(canvasText(), QStringLiteral("on show"));
  EXPECT_EQ(lexerLanguage(editor()), QStringLiteral("Ruby"));

  pickNextLanguage();
  EXPECT_EQ(settings().integerForKey(QStringLiteral("modeValue")), 2);
  EXPECT_EQ(lexerLanguage(editor()), QStringLiteral("Python"));
}

TEST_F(EditorTest, RunStoresTheFieldsAndHandsThemToTheRunner) {
  struct Case {
    QString arguments;
    QString reload;
    qint64 storedReload;
    QStringList passed;
  };
  const Case cases[] = {
      {"", "5", 5, {}},
      {"a", "10", 10, {"a"}},
      {"a,b", "abc", 0, {"a", "b"}},
      {"x,,y", " 3", 3, {"x", "", "y"}},
  };
  pickNextLanguage();
  pickNextLanguage();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.toStdString() + " / " + c.reload.toStdString());
    editor().present();
    ui().editor->setString(QStringLiteral("print('hi')\n"));
    ui().arguments->setText(c.arguments);
    ui().reloadAfter->setText(c.reload);
    editor().runCode(ui().runBtn);

    EXPECT_EQ(settings().stringForKey(QStringLiteral("scriptValue")),
              QStringLiteral("print('hi')\n"));
    EXPECT_EQ(settings().stringForKey(QStringLiteral("args")), c.arguments);
    EXPECT_EQ(settings().integerForKey(QStringLiteral("reloadAfter")), c.storedReload);
    EXPECT_EQ(runner_->additinaolArguments(), c.passed);
    EXPECT_EQ(runner_->mode(), 2);
    EXPECT_EQ(runner_->code(), QStringLiteral("print('hi')\n"));
    ASSERT_TRUE(runner_->sourceFileName());
    EXPECT_TRUE(runner_->sourceFileName()->endsWith(QStringLiteral(".py")));
    EXPECT_FALSE(runner_->loper());
    EXPECT_FALSE(editor().view()->isVisible());
  }
}

TEST_F(EditorTest, RunRunsOnceAfterTwoSecondsRaisesTheWidgetWhenDoneAndThenReloads) {
  QTemporaryDir dir;
  const QString runs = dir.filePath(QStringLiteral("runs"));
  QString canvasAtRaise;
  NotificationCounter raises(QStringLiteral("clearView"), [&] { canvasAtRaise = canvasText(); });
  editor().present();
  ui().editor->setString(
      QStringLiteral("echo run >> '%1'\necho started\nsleep 0.5\necho finished\n").arg(runs));
  ui().reloadAfter->setText(QStringLiteral("1"));
  QElapsedTimer clock;
  clock.start();
  editor().runCode(ui().runBtn);

  ASSERT_TRUE(QTest::qWaitFor([&] { return raises.count > 0; }, 5000));
  EXPECT_GE(clock.elapsed(), 2400);
  // The widget comes back only once the run has ended.
  EXPECT_EQ(canvasAtRaise, QStringLiteral("started\nfinished\n"));
  EXPECT_EQ(raises.count, 1);
  ASSERT_TRUE(runner_->loper());
  EXPECT_EQ(runner_->loper()->interval(), 1000);

  // Rescheduled, not rerun at once: the next run follows a tick one interval later, and the
  // run a second after the tick.
  QElapsedTimer sinceRaise;
  sinceRaise.start();
  EXPECT_TRUE(eventually([&] { return lineCount(runs) == 2; }, 5000));
  EXPECT_GE(sinceRaise.elapsed(), 1800);
}

TEST_F(EditorTest, CancelStoresNothingRaisesTheWidgetAndReloadsTheScriptItHad) {
  QTemporaryDir dir;
  const QString runs = dir.filePath(QStringLiteral("runs"));
  settings().setValue(QStringLiteral("echo old"), QStringLiteral("scriptValue"));
  settings().setValue(QStringLiteral("o"), QStringLiteral("args"));
  settings().setValue(1, QStringLiteral("reloadAfter"));
  runner_->setScript(0, QStringLiteral("echo run >> '%1'\necho old\n").arg(runs));
  ASSERT_TRUE(runner_->prepare());
  NotificationCounter raises(QStringLiteral("clearView"));

  editor().present();
  pickNextLanguage();
  EXPECT_FALSE(runner_->loper());
  ui().editor->setString(QStringLiteral("puts 1"));
  ui().arguments->setText(QStringLiteral("new"));
  ui().reloadAfter->setText(QStringLiteral("9"));
  editor().cancelEdit(ui().cancelBtn);

  EXPECT_FALSE(editor().view()->isVisible());
  EXPECT_EQ(raises.count, 1);
  EXPECT_EQ(settings().stringForKey(QStringLiteral("scriptValue")), QStringLiteral("echo old"));
  EXPECT_EQ(settings().stringForKey(QStringLiteral("args")), QStringLiteral("o"));
  EXPECT_EQ(settings().integerForKey(QStringLiteral("reloadAfter")), 1);
  ASSERT_TRUE(runner_->loper());
  EXPECT_EQ(runner_->loper()->interval(), 1000);
  EXPECT_EQ(lineCount(runs), 0);
  // The widget keeps running its old script, in its old language.
  EXPECT_TRUE(QTest::qWaitFor([&] { return lineCount(runs) == 1; }, 3000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return canvasText() == QStringLiteral("old\n"); }, 1000));
}

TEST_F(EditorTest, AFailedPrepareRunsNothingAndLeavesEditorAndWidgetAlone) {
  const QString scripts = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/pellimo");
  // A script directory that others can read is refused.
  ASSERT_TRUE(QFile::setPermissions(scripts, QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther));
  NotificationCounter raises(QStringLiteral("clearView"));
  settings().setValue(3, QStringLiteral("reloadAfter"));
  editor().present();
  ui().editor->setString(QStringLiteral("echo never"));
  ui().reloadAfter->setText(QStringLiteral("3"));
  editor().runCode(ui().runBtn);
  QFile::setPermissions(scripts, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  EXPECT_EQ(canvasText(), QStringLiteral("Error creating temporary file."));
  QTest::qWait(2500);
  EXPECT_FALSE(editor().view()->isVisible());
  EXPECT_EQ(raises.count, 0);
  EXPECT_FALSE(runner_->loper());
  EXPECT_EQ(canvasText(), QStringLiteral("Error creating temporary file."));
}

}  // namespace
}  // namespace pellimo::test
