// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>

#include "Desktop.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

QString storedEditorFrame() {
  return platform::SettingsStore(QStringLiteral("org.pellimo.widget"))
      .stringForKey(QStringLiteral("editorFrame"));
}

// A user's journey through the editor on a real desktop: the host's "config" opens it as a
// floating window on every desktop, and what is typed there runs on the widget and is stored.
TEST(EditorEndToEnd, ConfigShowsTheEditorAndARunTypedThereReachesTheWidget) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  const Finished launched = harness.host({"launch"});
  ASSERT_EQ(launched.exitCode, 0) << launched.err.toStdString();
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  const QString state = x("xprop", {"-id", editor, "_NET_WM_STATE"});
  EXPECT_TRUE(state.contains("_ABOVE") && state.contains("_SKIP_TASKBAR") &&
              state.contains("_SKIP_PAGER"))
      << state.toStdString();
  EXPECT_TRUE(x("xprop", {"-id", editor, "_NET_WM_DESKTOP"}).contains("4294967295"));

  // X delivers the keys in order, so each acts on what the ones before did.
  x("xdotool", {"type", "--delay", "20", "echo e2e-ran"});
  x("xdotool", {"key", "--delay", "50", "alt+l", "ctrl+a"});
  x("xdotool", {"type", "--delay", "20", "2"});
  x("xdotool", {"key", "--delay", "50", "alt+r"});

  QString canvas;
  EXPECT_TRUE(eventually([&] { return (canvas = canvasOf(harness)) == "e2e-ran\n"; }))
      << canvas.toStdString();
  EXPECT_TRUE(x("xdotool", kFindEditor).isEmpty());
  platform::SettingsStore stored(QStringLiteral("org.pellimo.widget"));
  EXPECT_EQ(stored.stringForKey("scriptValue"), QStringLiteral("echo e2e-ran"));
  EXPECT_EQ(stored.integerForKey("reloadAfter"), 2);
}

TEST(EditorEndToEnd, TheEditorOpensBesideTheWidgetAndAgainWhereTheUserLastPutIt) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
  const QRect widget = frameOf(harness);
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  const QRect first = geometryOf(editor);
  EXPECT_FALSE(first.intersects(widget))
      << testing::PrintToString(first) << " over the widget at " << testing::PrintToString(widget);
  EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(first))
      << testing::PrintToString(first);
  EXPECT_TRUE(storedEditorFrame().isEmpty()) << "opening is not the user's placing";

  const QRect put(40, 300, first.width(), first.height());
  x("xdotool", {"windowmove", editor, QString::number(put.x()), QString::number(put.y())});
  const QString stored = platform::stringFromRect(QRectF(put));
  EXPECT_TRUE(eventually([&] { return storedEditorFrame() == stored; }))
      << storedEditorFrame().toStdString();
  x("xdotool", {"key", "--delay", "50", "alt+c"});
  ASSERT_TRUE(eventually([&] { return x("xdotool", kFindEditor).isEmpty(); }));
  const QString again = openEditor(harness);
  ASSERT_FALSE(again.isEmpty());
  QRect reopened;
  EXPECT_TRUE(eventually([&] { return (reopened = geometryOf(again)) == put; }))
      << testing::PrintToString(reopened);
}

/// The bands of a code editor's lines in a screenshot of it: `paper` and `highlight` rows, from
/// a column right of the text, where the caret's line (the third) shows between two lines above
/// and the lines below.
struct LineBands {
  int top = 0;  // of the first line
  int height = 0;
  QRgb paper = 0;
  QRgb highlight = 0;
};

std::optional<LineBands> lineBandsIn(const QImage& shot, int column) {
  struct Run {
    QRgb colour;
    int start, length;
  };
  QList<Run> runs;
  for (int y = 0; y < shot.height(); ++y) {
    const QRgb pixel = shot.pixel(column, y);
    if (runs.isEmpty() || runs.last().colour != pixel) runs.append({pixel, y, 0});
    ++runs.last().length;
  }
  for (qsizetype i = 1; i + 1 < runs.size(); ++i) {
    const Run& above = runs.at(i - 1);
    const Run& caret = runs.at(i);
    if (caret.length >= 8 && caret.length <= 60 && above.colour == runs.at(i + 1).colour &&
        qAbs(above.length - 2 * caret.length) <= 1) {
      return LineBands{caret.start - 2 * caret.length, caret.length, above.colour, caret.colour};
    }
  }
  return std::nullopt;
}

/// The brightest pixel of an area: where a glyph covers a whole pixel, the text's own colour.
QRgb brightestIn(const QImage& shot, const QRect& area) {
  QRgb brightest = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(shot.pixel(x, y)) > qGray(brightest)) brightest = shot.pixel(x, y);
    }
  }
  return brightest;
}

TEST(EditorEndToEnd, TheCaretLinesTextShowsInTheSameColourAsTheOtherLines) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
  ModuleHarness harness;
  ASSERT_EQ(harness.host({"launch"}).exitCode, 0);
  const QString editor = openEditor(harness);
  ASSERT_FALSE(editor.isEmpty());
  // The caret ends past the third line's text, clear of the glyphs compared.
  const QString line = QStringLiteral("EEEE====");
  for (const QString& typed : {line, line}) {
    x("xdotool", {"type", "--delay", "20", typed});
    x("xdotool", {"key", "Return"});
  }
  x("xdotool", {"type", "--delay", "20", line + "    "});

  QString seen = "nothing";
  EXPECT_TRUE(eventually([&] {
    const QImage shot = screenshot(geometryOf(editor));
    const int column = shot.width() * 3 / 4;
    const std::optional<LineBands> bands = lineBandsIn(shot, column);
    if (!bands) return false;
    // The text starts right of the gutter, which is darker than the paper.
    const int middle = bands->top + bands->height / 2;
    int left = column;
    while (left > 0 && qGray(shot.pixel(left - 1, middle)) >= qGray(bands->paper))
      --left;
    QRect text;
    for (int y = bands->top; y < bands->top + bands->height; ++y) {
      for (int x = left; x < column; ++x) {
        if (shot.pixel(x, y) != bands->paper) text |= QRect(x, y, 1, 1);
      }
    }
    if (text.isEmpty()) return false;
    const QRgb first = brightestIn(shot, text);
    const QRgb caretLine = brightestIn(shot, text.translated(0, 2 * bands->height));
    seen =
        QStringLiteral("first line %1, caret line %2 on %3")
            .arg(QColor(first).name(), QColor(caretLine).name(), QColor(bands->highlight).name());
    return qGray(first) > qGray(bands->highlight) + 64 && caretLine == first;
  })) << seen.toStdString();
}

}  // namespace
}  // namespace pellimo::test
