#include <Qsci/qsciscintilla.h>

#include <QElapsedTimer>
#include <QSizeGrip>

#include "EditorFixture.h"

namespace pellimo::test {
namespace {

/// Scintilla keeps colours as 0xBBGGRR.
long bgr(int red, int green, int blue) {
  return red | (green << 8) | (blue << 16);
}

long send(editor::OutPut& out, unsigned int message, unsigned long argument = 0) {
  return out.view()->controls().editor->textView()->SendScintilla(message, argument);
}

TEST_F(EditorTest, OnlyTheFirstEditorOfTheProcessGetsTheGutterAndLineHighlight) {
  if (editorsMade != 1) GTEST_SKIP() << "needs a process of its own, as ctest runs each test";
  using Sci = QsciScintillaBase;
  editor::OutPut& first = editor();
  // A new language's lexer resets the styles; the gutter keeps its colours all the same.
  pickNextLanguage();
  EXPECT_EQ(send(first, Sci::SCI_STYLEGETBACK, Sci::STYLE_LINENUMBER), bgr(0, 0, 0));
  EXPECT_EQ(send(first, Sci::SCI_STYLEGETFORE, Sci::STYLE_LINENUMBER), bgr(255, 255, 255));
  EXPECT_TRUE(send(first, Sci::SCI_GETCARETLINEVISIBLE));
  EXPECT_EQ(send(first, Sci::SCI_GETCARETLINEBACK), bgr(50, 50, 50));
  EXPECT_EQ(send(first, Sci::SCI_GETCARETLINEBACKALPHA), 204);

  auto later = makeWidget();
  editor::OutPut& second = editorOf(*later);
  EXPECT_NE(send(second, Sci::SCI_STYLEGETBACK, Sci::STYLE_LINENUMBER), bgr(0, 0, 0));
  EXPECT_FALSE(send(second, Sci::SCI_GETCARETLINEVISIBLE));
}

TEST_F(EditorTest, TheFramelessEditorWindowTurnsResizingOffForHalfASecondAfterEachResize) {
  editor().present();
  editor::EditorView* window = editor().view();
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Pellimo editor"));
  EXPECT_TRUE(window->sizeGrip()->isVisible());
  EXPECT_EQ(window->focusWidget(), ui().editor->textView());

  // Steps of one resize, closer together than its end, turn resizing off once.
  for (int step = 1; step <= 3; ++step)
    window->resize(window->size() + QSize(10, 10));
  EXPECT_TRUE(window->isResizable());
  ASSERT_TRUE(eventually([&] { return !window->isResizable(); }));
  EXPECT_FALSE(window->sizeGrip()->isEnabled());
  QElapsedTimer off;
  off.start();
  ASSERT_TRUE(eventually([&] { return window->isResizable(); }));
  EXPECT_GE(off.elapsed(), 450);
  EXPECT_TRUE(window->sizeGrip()->isEnabled());
}

}  // namespace
}  // namespace pellimo::test
