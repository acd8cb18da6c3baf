// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {
namespace {

TEST(ColorTable, EveryCodeHasItsColourOnBothGrounds) {
  VXL_ANSIEscapeHelper helper;
  const struct {
    int code;
    double r, g, b;
  } cases[] = {{30, 0, 0, 0},     {31, 1, 0, 0},     {32, 0, 1, 0},
               {33, 1, 1, 0},     {34, 0, 0, 1},     {35, 1, 0, 1},
               {36, 0, 1, 1},     {37, 1, 1, 1},     {90, 0.337, 0.337, 0.337},
               {91, 1, 0.6, 0.6}, {92, 0.6, 1, 0.6}, {93, 1, 1, 0.6},
               {94, 0.6, 0.6, 1}, {95, 1, 0.6, 1},   {96, 0.6, 1, 1},
               {97, 1, 1, 1}};
  for (const auto& c : cases) {
    const Color color = helper.colorForSGRCode(c.code);
    EXPECT_NEAR(color.redComponent(), c.r, 1e-12) << c.code;
    EXPECT_NEAR(color.greenComponent(), c.g, 1e-12) << c.code;
    EXPECT_NEAR(color.blueComponent(), c.b, 1e-12) << c.code;
    EXPECT_EQ(helper.colorForSGRCode(c.code + 10), color) << c.code;
  }
  // A grey, as 37 is: the encoder finds table colours by exact equality.
  EXPECT_EQ(helper.colorForSGRCode(97), Color::white());
  for (int code : {38, 39, 48, 49, 0, 1000, -1}) {
    EXPECT_EQ(helper.colorForSGRCode(code), Color::black()) << code;
  }
}

TEST(EndRelation, MatchesTheTable) {
  const struct {
    int later, opener;
    bool ends;
  } cases[] = {{0, 31, true},  {39, 91, true}, {49, 31, false}, {31, 41, false}, {22, 2, false},
               {2, 1, true},   {31, 31, true}, {24, 21, true},  {0, 24, false},  {107, 40, true},
               {0, -1, false}, {1, 22, true},  {0, 1, true},    {0, 4, true},    {0, 21, true},
               {0, 41, true},  {22, 4, false}, {39, 41, false}, {49, 100, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(VXL_ANSIEscapeHelper::VXL_SGRCodeEndsFormattingIntroducedByCode(c.later, c.opener),
              c.ends)
        << c.later << " after " << c.opener;
  }
}

}  // namespace
}  // namespace pellimo::ansi
