// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "widget/ScreenChanges.h"

namespace pellimo::widget {
namespace {

// Two monitors side by side, a panel along the top of the primary one.
const ScreenArea kLeft{QRect(0, 0, 1280, 800), QRect(0, 30, 1280, 770)};
const ScreenArea kRight{QRect(1280, 0, 1280, 800), QRect(1280, 0, 1280, 800)};
const ScreenAreas kBoth{kLeft, kRight};
const ScreenAreas kLeftOnly{kLeft};

const QRect kOnRight(1500, 100, 300, 200);

TEST(ScreenPlacement, AFrameStaysOnItsMonitorAndGoesToThePrimaryWhenThatIsGone) {
  EXPECT_EQ(placedFrame(kOnRight, {}, kBoth), kOnRight);
  EXPECT_EQ(placedFrame(kOnRight, {}, kLeftOnly), QRect(0, 30, 300, 200)) << "same size";
  EXPECT_EQ(placedFrame(QRect(1200, 100, 300, 200), {}, kBoth), QRect(1280, 100, 300, 200))
      << "mostly on the right: wholly onto it";
  EXPECT_EQ(placedFrame(QRect(1500, 100, 3000, 2000), {}, kLeftOnly), QRect(0, 30, 1280, 770));
}

TEST(ScreenPlacement, AnUnpluggedMonitorsWidgetMovesAwayAndBackUnlessTheUserPlacedIt) {
  ScreenChanges changes;
  EXPECT_EQ(changes.placedAfterChange(kOnRight, kBoth), std::nullopt);
  const auto away = changes.placedAfterChange(kOnRight, kLeftOnly);
  ASSERT_EQ(away, QRect(0, 30, 300, 200));
  EXPECT_TRUE(changes.isForced(*away)) << "neither stored nor reported";
  EXPECT_EQ(changes.placedAfterChange(*away, kLeftOnly), std::nullopt) << "a second change";
  EXPECT_EQ(changes.placedAfterChange(*away, kBoth), kOnRight) << "the monitor is back";
  EXPECT_TRUE(changes.isForced(kOnRight));
  EXPECT_EQ(changes.placedAfterChange(kOnRight, kBoth), std::nullopt);

  // Moved by the user while its monitor was away: it stays where the user put it.
  const auto awayAgain = changes.placedAfterChange(kOnRight, kLeftOnly);
  ASSERT_TRUE(awayAgain);
  changes.userPlaced();
  const QRect placedByUser(400, 300, 300, 200);
  EXPECT_FALSE(changes.isForced(placedByUser));
  EXPECT_EQ(changes.placedAfterChange(placedByUser, kBoth), std::nullopt);

  // A monitor the widget is not on comes and goes without moving it.
  EXPECT_EQ(changes.placedAfterChange(placedByUser, kLeftOnly), std::nullopt);
}

}  // namespace
}  // namespace pellimo::widget
