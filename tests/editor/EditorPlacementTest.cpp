// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "editor/EditorPlacement.h"

namespace pellimo::test {
namespace {

using editor::editorFrame;

const QRect kScreen(0, 0, 1280, 800);
const QSize kEditor(560, 420);
const QSize kMinimum(500, 170);

TEST(EditorPlacement, TheEditorOpensBesideTheWidgetWhollyOnItsScreen) {
  const struct {
    const char* where;
    QRect widget, expected;
  } cases[] = {
      {"right of it", {100, 50, 480, 270}, {588, 50, 560, 420}},
      {"left of it where the right has no room", {700, 50, 480, 270}, {132, 50, 560, 420}},
      {"pushed up from the bottom", {100, 700, 480, 100}, {588, 380, 560, 420}},
      {"narrower on the right where neither side has room at its size",
       {180, 0, 560, 200},
       {748, 0, 532, 420}},
      {"lower below where neither side has room", {400, 265, 480, 270}, {400, 543, 560, 257}},
      {"lower above where neither side nor below has room",
       {400, 400, 480, 270},
       {400, 0, 560, 392}},
      {"on the roomier side, overlapping where there is no room",
       {200, 100, 700, 600},
       {720, 100, 560, 420}},
      {"on a second screen right of the first", {1380, 40, 200, 100}, {1588, 40, 560, 420}},
  };
  for (const auto& c : cases) {
    const QRect screen = c.widget.left() >= 1280 ? kScreen.translated(1280, 0) : kScreen;
    EXPECT_EQ(editorFrame(QRectF(), c.widget, kEditor, kMinimum, screen), c.expected) << c.where;
  }
  EXPECT_EQ(editorFrame(QRectF(), {10, 10, 100, 100}, {2000, 1000}, kMinimum, kScreen),
            QRect(118, 0, 1162, 800))
      << "no larger than the room beside it";
  EXPECT_EQ(editorFrame(QRectF(), {10, 10, 100, 100}, {200, 100}, kMinimum, kScreen),
            QRect(118, 10, 500, 170))
      << "no smaller than its minimum";
}

TEST(EditorPlacement, TheStoredFrameIsUsedOnlyWhileItLiesWhollyOnTheWidgetsScreen) {
  const QRect widget(100, 50, 480, 270);
  const QRect beside(588, 50, 560, 420);
  const struct {
    QRectF stored;
    QRect expected;
  } cases[] = {
      {{20, 400, 700, 300}, {20, 400, 700, 300}},
      {{0, 0, 1280, 800}, {0, 0, 1280, 800}},
      {{900, 400, 700, 300}, beside},   // partly off the screen
      {{1400, 100, 700, 300}, beside},  // on another screen
      {{0, 0, 0, 0}, beside},           // none, or garbage
      {{1e300, 1e300, 1e300, 1e300}, beside},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editorFrame(c.stored, widget, kEditor, kMinimum, kScreen), c.expected)
        << c.stored.x() << "," << c.stored.y();
  }
}

}  // namespace
}  // namespace pellimo::test
