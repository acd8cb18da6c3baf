// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <optional>
#include <tuple>

#include "PickerSupport.h"

namespace pellimo::test {
namespace {

using colorpicker::QVIconTabBarItem;
using IndexSet = QVIconTabBar::IndexSet;

QVIconTabBar::Items makeItems(int count) {
  QVIconTabBar::Items items;
  for (int i = 0; i < count; ++i) {
    QPixmap icon(16, 16);
    icon.fill(Qt::blue);
    items.push_back(QVIconTabBarItem::itemWithIcon(icon, QStringLiteral("tab %1").arg(i)));
  }
  return items;
}

TEST(IconTabBarHitTest, FindsTabsFromTheInsetInWholeTabWidths) {
  QVIconTabBar bar;
  bar.setItems(makeItems(3));
  const struct {
    double x;
    std::optional<std::size_t> index;
  } cases[] = {{3.9, {}}, {4.0, 0}, {35.9, 0}, {36.0, 1}, {99.9, 2}, {100.0, {}}, {-28.0, {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(bar.itemAtX(c.x), c.index ? bar.items()[*c.index] : nullptr) << "x = " << c.x;
  }
}

TEST(IconTabBarSelection, TakingItemsSelectsTheFirstOnlyWhenNothingIsSelected) {
  QVIconTabBar fresh, selected, empty;
  fresh.selectAll();
  EXPECT_EQ(fresh.selectedIndex(), -1);
  EXPECT_FALSE(fresh.selectedItems().has_value());
  fresh.setItems(makeItems(3));
  EXPECT_EQ(fresh.selectedIndexes(), IndexSet({0}));
  EXPECT_EQ(fresh.items()[0]->tabBar(), &fresh);
  selected.selectIndex(2);
  selected.setItems(makeItems(3));
  EXPECT_EQ(selected.selectedIndexes(), IndexSet({2}));
  empty.setItems({});
  EXPECT_EQ(empty.selectedIndex(), 0);
  EXPECT_EQ(empty.selectedItem(), nullptr);
  EXPECT_TRUE(empty.selectedItems()->empty());
}

TEST(IconTabBarSelection, SingleSelectionKeepsTheLowestIndexMultipleAddsUnlessToldNotToExtend) {
  for (const bool extending : {false, true}) {
    QVIconTabBar bar;
    bar.setItems(makeItems(6));
    bar.selectIndexes({2, 5}, extending);
    EXPECT_EQ(bar.selectedIndexes(), IndexSet({2}));
    bar.selectIndex(4);
    EXPECT_EQ(bar.selectedIndexes(), IndexSet({4}));
    bar.selectAll();
    EXPECT_EQ(bar.selectedIndexes(), IndexSet({0}));
  }
  QVIconTabBar bar;
  bar.setMultipleSelection(true);
  bar.setItems(makeItems(6));
  bar.selectIndex(3);
  bar.selectItem(bar.items()[5]);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({0, 3, 5}));
  bar.selectIndexes({1, 2}, false);
  bar.deselectItem(bar.items()[1]);
  EXPECT_EQ(bar.selectedItems(), QVIconTabBar::Items({bar.items()[2]}));
  // Strangers and empty index sets change nothing.
  const auto stranger = makeItems(1).front();
  bar.selectItem(stranger);
  bar.deselectItem(stranger);
  bar.selectIndexes({}, false);
  bar.deselectIndexes({});
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({2}));
  bar.selectAll();
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({0, 1, 2, 3, 4, 5}));
  bar.setMultipleSelection(false);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({0}));
}

/// Records presses that reach it, as the base control passes them on.
class PressRecordingParent : public QWidget {
 public:
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST(IconTabBarPointer, PressesAndDragsSelectAndNotifyEachChange) {
  // Positions along the bar: tab i spans 4 + 32 i to 36 + 32 i, and 150 is beside the tabs.
  const struct {
    bool multiple;
    IndexSet before;
    std::vector<int> path;  // press, moves, release
    std::vector<IndexSet> notified;
    int parentPresses;
  } cases[] = {
      {false, {}, {20, 20}, {{0}}, 0},
      {false, {}, {150, 20, 20}, {}, 1},
      {false, {}, {20, 30, 84, 150, 160, 52, 52}, {{0}, {2}, {2}, {1}}, 0},
      {true, {}, {52, 84, 116, 116}, {{0, 1}, {0, 1, 2}, {0, 1, 2, 3}}, 0},
      {true, {0, 1, 2, 3}, {52, 84, 20, 20}, {{0, 2, 3}, {0, 3}, {3}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    PressRecordingParent parent;
    auto* bar = new QVIconTabBar(&parent);
    bar->setGeometry(0, 0, 200, 34);
    bar->setItems(makeItems(4));
    bar->setMultipleSelection(c.multiple);
    if (!c.before.empty()) bar->selectIndexes(c.before, false);
    Recorder recorder;
    bar->setTarget(&recorder);
    bar->setAction(&Recorder::tabsChanged);
    bar->setDelegate(&recorder);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(c.path.front(), 17));
    for (std::size_t i = 1; i + 1 < c.path.size(); ++i)
      QTest::mouseMove(bar, QPoint(c.path[i], 17));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(c.path.back(), 17));
    EXPECT_EQ(recorder.selections, c.notified);
    EXPECT_EQ(recorder.delegateSelections, c.notified);
    EXPECT_EQ(parent.presses, c.parentPresses);
    for (QObject* sender : recorder.senders)
      EXPECT_EQ(sender, bar);
  }
}

class IconTabBarDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.setGeometry(40, 40, 200, 35);
    bar_ = new QVIconTabBar(&window_);
    bar_->setGeometry(0, 0, 200, 35);
    bar_->setItems(makeItems(3));
    bar_->selectIndex(1);
    other_.setGeometry(400, 40, 100, 100);
    window_.show();
    other_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  /// The bar alone, over red, so that what it leaves undrawn shows.
  QImage render() const {
    QImage image(bar_->size(), QImage::Format_RGB32);
    image.fill(Qt::red);
    bar_->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
  }

  QWidget window_;
  QWidget other_;
  QVIconTabBar* bar_ = nullptr;
};

TEST_F(IconTabBarDrawing, TheSelectedTabsGreysDependOnTheKeyWindow) {
  // Columns 36 and 37 are the outer and inner left edges of the selected tab 1; row 34 is the
  // bottom rule of the 35-high bar.
  const struct {
    QWidget* active;
    double fill, outerEdge, innerEdge;
  } cases[] = {{&window_, 0.8, 0.6, 0.7}, {&other_, 0.79, 0.43, 0.71}};
  for (const auto& c : cases) {
    c.active->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(c.active));
    const QImage image = render();
    const std::tuple<int, int, double> greys[] = {
        {40, 17, c.fill}, {36, 17, c.outerEdge}, {37, 17, c.innerEdge}, {199, 34, 0.7}};
    for (const auto& [x, y, level] : greys) {
      const QColor pixel = image.pixelColor(x, y);
      EXPECT_NEAR(pixel.red(), level * 255, 2.5) << "at " << x << ", " << y;
      EXPECT_EQ(pixel.red(), pixel.blue()) << "at " << x << ", " << y;
    }
    EXPECT_EQ(image.pixelColor(6, 17), QColor(Qt::red)) << "unselected tabs are not filled";
  }
}

TEST_F(IconTabBarDrawing, IconsSitCentredWithHalvesRoundedUpwardFromTheBottom) {
  // Tab 0: x = 4, so the icon's left edge is 4 + 16 - 8 = 12. In a 35-high bar its bottom edge
  // is round(17.5 - 8) = 10 points above the bottom, which puts its top row at 9.
  const QImage image = render();
  const QColor blue(Qt::blue);
  EXPECT_EQ(image.pixelColor(12, 9), blue);
  EXPECT_EQ(image.pixelColor(27, 24), blue);
  EXPECT_NE(image.pixelColor(12, 8), blue);
  EXPECT_NE(image.pixelColor(11, 9), blue);
}

TEST_F(IconTabBarDrawing, ToolTipsFollowTheTabUnderThePointer) {
  bar_->repaint();
  QHelpEvent overTab(QEvent::ToolTip, QPoint(50, 17), bar_->mapToGlobal(QPoint(50, 17)));
  QApplication::sendEvent(bar_, &overTab);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("tab 1"));
  QHelpEvent beside(QEvent::ToolTip, QPoint(150, 17), bar_->mapToGlobal(QPoint(150, 17)));
  QApplication::sendEvent(bar_, &beside);
  EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
}

}  // namespace
}  // namespace pellimo::test
