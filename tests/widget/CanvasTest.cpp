#include <gtest/gtest.h>

#include "CanvasSupport.h"

namespace pellimo::test {
namespace {

bool isRed(const QColor& c) {
  return c.red() > 150 && c.green() < 80 && c.blue() < 80;
}

/// Where two drawings differ: how many separate bands of rows, and the widest row.
struct Difference {
  int bands = 0;
  int widestRow = 0;
};

Difference differenceOf(const QImage& a, const QImage& b) {
  Difference difference;
  bool previousRowDiffers = false;
  for (int y = 0; y < a.height(); ++y) {
    int width = 0;
    for (int x = 0; x < a.width(); ++x)
      width += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    if (width > 0 && !previousRowDiffers) ++difference.bands;
    previousRowDiffers = width > 0;
    difference.widestRow = std::max(difference.widestRow, width);
  }
  return difference;
}

class Canvas : public ::testing::Test {
 protected:
  Canvas() { canvas.resize(480, 90); }

  QImage drawn(std::u16string_view output) {
    canvas.setStyledText(translated(output));
    return rendered(canvas);
  }

  widget::lbl canvas;
};

TEST_F(Canvas, DrawsColoursBackgroundsAndUnderlines) {
  EXPECT_GT(countPixels(drawn(u"\x1b[31mRED RED\x1b[0m white"), isRed), 50);
  EXPECT_EQ(countPixels(drawn(u"RED RED white"), isRed), 0);
  EXPECT_GT(countPixels(drawn(u"\x1b[44m        \x1b[0m"),
                        [](const QColor& c) { return c.blue() > 120 && c.red() < 60; }),
            500);

  const QImage plain = drawn(u"underlined");
  const Difference single = differenceOf(drawn(u"\x1b[4munderlined\x1b[24m"), plain);
  EXPECT_EQ(single.bands, 1);
  EXPECT_GT(single.widestRow, 60) << "a line under the whole word";
  const Difference twice = differenceOf(drawn(u"\x1b[21munderlined\x1b[24m"), plain);
  EXPECT_EQ(twice.bands, 2);
  EXPECT_GT(twice.widestRow, 60);
}

TEST_F(Canvas, ALongLineIsClippedAtTheEdge) {
  // Narrow letters with a colour change every few, and wide characters outside the BMP: the
  // first 300 units already run past the edge.
  std::u16string narrow;
  std::u16string wide;
  for (int i = 0; i < 100000; ++i) {
    narrow += i % 7 == 0 ? u"\x1b[31mi\x1b[0m" : u"il";
    wide += u"\U0001F600";
  }
  for (const std::u16string& line : {narrow, wide}) {
    EXPECT_EQ(drawn(line + u"\nnext"), drawn(line.substr(0, 300) + u"\nnext"));
  }
  // Thousands of zero-width spaces take no room: the text after them still shows.
  const std::u16string invisible(5000, u'\u200B');
  EXPECT_GT(countPixels(drawn(invisible + u"\x1b[31mRED RED"), isRed), 50);
}

TEST_F(Canvas, MessagesAreDrawnInTheBaseColour) {
  canvas.setStyledText(translated(u"\x1b[31mold output"));
  canvas.setPlainText(QStringLiteral("Error in Script:\n\nboom"));
  EXPECT_EQ(canvas.styledText(), nullptr);
  EXPECT_EQ(canvas.plainText(), QStringLiteral("Error in Script:\n\nboom"));
  const QImage image = rendered(canvas);
  EXPECT_EQ(countPixels(image, isRed), 0);
  EXPECT_GT(countPixels(image, [](const QColor& c) { return c.lightness() > 200; }), 20);
}

}  // namespace
}  // namespace pellimo::test
