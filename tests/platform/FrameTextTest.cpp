#include <gtest/gtest.h>

#include "PlatformFiles.h"
#include "platform/FrameText.h"

namespace pellimo::platform {
namespace {

TEST(FrameText, WritesShortestNumbersAndReadsThemBack) {
  const struct {
    QRectF rect;
    const char* text;
  } cases[] = {
      {{10.5, -3, 300, 200}, "{{10.5, -3}, {300, 200}}"},
      {{}, "{{0, 0}, {0, 0}}"},
      {{0.1 + 0.2, 1.0 / 3, 1e21, 2.5e-7},
       "{{0.30000000000000004, 0.3333333333333333}, {1e+21, 2.5e-07}}"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(stringFromRect(c.rect), c.text);
    EXPECT_EQ(rectFromString(c.text), c.rect) << c.text;
  }
}

TEST(FrameText, ReadsLenientlyWithZeroForWhatItCannotRead) {
  const struct {
    const char* text;
    QRectF rect;
  } cases[] = {
      {"", {}},
      {"garbage", {}},
      {"{{a, 2}, {3, 4}}", {0, 2, 3, 4}},
      {"{{1, 2}}", {1, 2, 0, 0}},
      {"{{12px, 5.}, {+3, -.5}}", {12, 5, 3, -0.5}},
      {"{{1e2, 2E-1}, {3, 4}, {5, 6}}", {100, 0.2, 3, 4}},
      {"{{nan, inf}, {0x10, 4}}", {0, 0, 0, 4}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rectFromString(c.text), c.rect) << c.text;
}

}  // namespace
}  // namespace pellimo::platform
