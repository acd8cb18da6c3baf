#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <optional>

#include "PickerSupport.h"

namespace pellimo::test {
namespace {

using colorpicker::QVIconTabBarItem;
using IndexSet = QVIconTabBar::IndexSet;

QVIconTabBar::Items makeItems(int count, const QColor& iconColor = Qt::blue) {
  QVIconTabBar::Items items;
  for (int i = 0; i < count; ++i) {
    QPixmap icon(16, 16);
    icon.fill(iconColor);
    items.push_back(QVIconTabBarItem::itemWithIcon(icon, QStringLiteral("tab %1").arg(i)));
  }
  return items;
}

/// Collects qInfo lines while alive.
class LogCapture {
 public:
  LogCapture() {
    lines().clear();
    previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&,
                                          const QString& message) { lines().push_back(message); });
  }
  ~LogCapture() { qInstallMessageHandler(previous_); }
  static std::vector<QString>& lines() {
    static std::vector<QString> captured;
    return captured;
  }

 private:
  QtMessageHandler previous_;
};

TEST(IconTabBarHitTest, FindsTabsFromTheInsetInWholeTabWidths) {
  QVIconTabBar bar;
  bar.setItems(makeItems(3));
  const struct {
    double x;
    std::optional<std::size_t> index;
  } cases[] = {{3.9, std::nullopt},  {4.0, 0}, {35.9, 0}, {36.0, 1}, {99.9, 2}, {100.0, {}},
               {-28.0, std::nullopt}};
  for (const auto& c : cases) {
    const auto item = bar.itemAtX(c.x);
    if (c.index) {
      EXPECT_EQ(item, bar.items()[*c.index]) << "x = " << c.x;
    } else {
      EXPECT_EQ(item, nullptr) << "x = " << c.x;
    }
  }
}

TEST(IconTabBarSelection, TakingItemsSelectsTheFirstOnlyWhenNothingIsSelected) {
  QVIconTabBar fresh;
  EXPECT_EQ(fresh.selectedIndex(), -1);
  EXPECT_EQ(fresh.selectedItem(), nullptr);
  EXPECT_FALSE(fresh.selectedItems().has_value());
  fresh.setItems(makeItems(3));
  EXPECT_EQ(fresh.selectedIndexes(), IndexSet({0}));
  EXPECT_EQ(fresh.items()[0]->tabBar(), &fresh);

  QVIconTabBar selected;
  selected.selectIndex(2);
  selected.setItems(makeItems(3));
  EXPECT_EQ(selected.selectedIndexes(), IndexSet({2}));

  QVIconTabBar empty;
  empty.setItems({});
  EXPECT_EQ(empty.selectedIndex(), 0);
  EXPECT_EQ(empty.selectedItem(), nullptr);
  EXPECT_TRUE(empty.selectedItems()->empty());
}

TEST(IconTabBarSelection, SingleSelectionKeepsOnlyTheLowestIndex) {
  for (const bool extending : {false, true}) {
    QVIconTabBar bar;
    bar.setItems(makeItems(6));
    bar.selectIndexes({2, 5}, extending);
    EXPECT_EQ(bar.selectedIndexes(), IndexSet({2}));
    bar.selectIndex(4);
    EXPECT_EQ(bar.selectedIndexes(), IndexSet({4}));
  }
}

TEST(IconTabBarSelection, MultipleSelectionAddsUnlessToldNotToExtend) {
  QVIconTabBar bar;
  bar.setMultipleSelection(true);
  bar.setItems(makeItems(6));
  bar.selectIndex(3);
  bar.selectItem(bar.items()[5]);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({0, 3, 5}));
  bar.selectIndexes({1, 2}, false);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({1, 2}));
  bar.deselectItem(bar.items()[1]);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({2}));
  EXPECT_EQ(bar.selectedItems(), QVIconTabBar::Items({bar.items()[2]}));
}

TEST(IconTabBarSelection, LeavingMultipleSelectionKeepsTheLowestIndex) {
  QVIconTabBar bar;
  bar.setItems(makeItems(4));
  bar.setMultipleSelection(true);
  bar.selectIndexes({1, 3}, false);
  bar.setMultipleSelection(false);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({1}));
  bar.setMultipleSelection(true);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({1}));
}

TEST(IconTabBarSelection, EmptyIndexSetsAreLoggedAndChangeNothing) {
  QVIconTabBar bar;
  bar.setItems(makeItems(3));
  const LogCapture log;
  bar.selectIndexes({}, false);
  bar.deselectIndexes({});
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({0}));
  EXPECT_EQ(LogCapture::lines(),
            std::vector<QString>({"Selection indexset empty.", "Deselection indexset empty."}));
}

TEST(IconTabBarSelection, ItemsOfOtherBarsAreIgnored) {
  QVIconTabBar bar;
  bar.setItems(makeItems(3));
  const auto stranger = makeItems(1).front();
  bar.selectItem(stranger);
  bar.deselectItem(stranger);
  EXPECT_EQ(bar.selectedIndexes(), IndexSet({0}));
}

TEST(IconTabBarSelection, SelectAllCoversEveryTabInMultipleSelectionOnly) {
  QVIconTabBar multiple;
  multiple.setMultipleSelection(true);
  multiple.setItems(makeItems(3));
  multiple.selectAll();
  EXPECT_EQ(multiple.selectedIndexes(), IndexSet({0, 1, 2}));

  QVIconTabBar single;
  single.setItems(makeItems(3));
  single.selectIndex(2);
  single.selectAll();
  EXPECT_EQ(single.selectedIndexes(), IndexSet({0}));

  QVIconTabBar none;
  const LogCapture log;
  none.selectAll();
  EXPECT_EQ(none.selectedIndex(), -1);
  EXPECT_TRUE(LogCapture::lines().empty());
}

/// Records presses that reach it, as the base control passes them on.
class PressRecordingParent : public QWidget {
 public:
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class IconTabBarPointer : public ::testing::Test {
 protected:
  void SetUp() override {
    bar_ = new QVIconTabBar(&parent_);
    bar_->setGeometry(0, 0, 200, 34);
    bar_->setItems(makeItems(4));
    bar_->setTarget(&recorder_);
    bar_->setAction(&Recorder::tabsChanged);
    bar_->setDelegate(&recorder_);
  }

  static QPoint tab(int index) { return QPoint(4 + 32 * index + 16, 17); }

  PressRecordingParent parent_;
  QVIconTabBar* bar_ = nullptr;
  Recorder recorder_;
};

TEST_F(IconTabBarPointer, APressSelectsAndNotifiesEvenWhenAlreadySelected) {
  QTest::mousePress(bar_, Qt::LeftButton, {}, tab(2));
  QTest::mouseRelease(bar_, Qt::LeftButton, {}, tab(2));
  QTest::mousePress(bar_, Qt::LeftButton, {}, tab(2));
  QTest::mouseRelease(bar_, Qt::LeftButton, {}, tab(2));
  EXPECT_EQ(recorder_.selections, std::vector<IndexSet>({{2}, {2}}));
  EXPECT_EQ(recorder_.delegateSelections, recorder_.selections);
  EXPECT_EQ(recorder_.senders.front(), bar_);
}

TEST_F(IconTabBarPointer, DraggingInSingleSelectionFollowsThePointerAndEmptySpaceNotifiesOnce) {
  QTest::mousePress(bar_, Qt::LeftButton, {}, tab(0));
  QTest::mouseMove(bar_, tab(0) + QPoint(10, 0));
  QTest::mouseMove(bar_, tab(2));
  QTest::mouseMove(bar_, QPoint(150, 17));
  QTest::mouseMove(bar_, QPoint(160, 17));
  QTest::mouseMove(bar_, tab(1));
  QTest::mouseRelease(bar_, Qt::LeftButton, {}, tab(1));
  EXPECT_EQ(recorder_.selections, std::vector<IndexSet>({{0}, {2}, {2}, {1}}));
}

TEST_F(IconTabBarPointer, DraggingFromAnUnselectedTabSelectsEveryTabCrossed) {
  bar_->setMultipleSelection(true);
  QTest::mousePress(bar_, Qt::LeftButton, {}, tab(1));
  QTest::mouseMove(bar_, tab(2));
  QTest::mouseMove(bar_, tab(3));
  QTest::mouseRelease(bar_, Qt::LeftButton, {}, tab(3));
  EXPECT_EQ(recorder_.selections, std::vector<IndexSet>({{0, 1}, {0, 1, 2}, {0, 1, 2, 3}}));
}

TEST_F(IconTabBarPointer, DraggingFromASelectedTabDeselectsEveryTabCrossed) {
  bar_->setMultipleSelection(true);
  bar_->selectIndexes({0, 1, 2, 3}, false);
  QTest::mousePress(bar_, Qt::LeftButton, {}, tab(1));
  QTest::mouseMove(bar_, tab(2));
  QTest::mouseMove(bar_, tab(0));
  QTest::mouseRelease(bar_, Qt::LeftButton, {}, tab(0));
  EXPECT_EQ(recorder_.selections, std::vector<IndexSet>({{0, 2, 3}, {0, 3}, {3}}));
}

TEST_F(IconTabBarPointer, APressBesideTheTabsGoesToTheParentAndNotifiesNothing) {
  QTest::mousePress(&parent_, Qt::LeftButton, {}, QPoint(150, 17));
  QTest::mouseMove(bar_, tab(0));
  QTest::mouseRelease(&parent_, Qt::LeftButton, {}, tab(0));
  EXPECT_EQ(parent_.presses, 1);
  EXPECT_TRUE(recorder_.selections.empty());
  EXPECT_TRUE(recorder_.delegateSelections.empty());
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

  void activate(QWidget* window) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
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

// Columns of the selected tab 1 (left edge 36) and rows of a 35-high bar: the tab spans rows
// 1 to 33, so row 17 is its middle; row 34 is the bottom rule.
constexpr int kOuterLeft = 36, kInnerLeft = 37, kFill = 40, kInnerRight = 67, kOuterRight = 68;
constexpr int kTop = 1, kMiddle = 17, kBottom = 33, kRule = 34;

// A gradient's first and last rows sit half a row inside its ends, a few levels off the stop.
void expectGrey(const QImage& image, int x, int y, double level) {
  const double tolerance = (y == kTop || y == kBottom) ? 4.5 : 2.5;
  const QColor pixel = image.pixelColor(x, y);
  EXPECT_NEAR(pixel.red(), level * 255, tolerance) << "at " << x << ", " << y;
  EXPECT_EQ(pixel.red(), pixel.blue()) << "at " << x << ", " << y;
}

TEST_F(IconTabBarDrawing, KeyWindowUsesTheKeyGreys) {
  activate(&window_);
  const QImage image = render();
  expectGrey(image, kFill, kMiddle, 0.8);
  expectGrey(image, kOuterLeft, kTop, 0.9);
  expectGrey(image, kOuterLeft, kMiddle, 0.6);
  expectGrey(image, kOuterLeft, kBottom, 0.8);
  expectGrey(image, kOuterRight, kMiddle, 0.6);
  expectGrey(image, kInnerLeft, kMiddle, 0.7);
  expectGrey(image, kInnerRight, kMiddle, 0.7);
  expectGrey(image, 0, kRule, 0.7);
  expectGrey(image, 199, kRule, 0.7);
}

TEST_F(IconTabBarDrawing, OtherWindowsUseTheOtherGreysAndTheSameRule) {
  activate(&other_);
  const QImage image = render();
  expectGrey(image, kFill, kMiddle, 0.79);
  expectGrey(image, kOuterLeft, kTop, 0.83);
  expectGrey(image, kOuterLeft, kMiddle, 0.43);
  expectGrey(image, kOuterLeft, kBottom, 0.71);
  expectGrey(image, kInnerLeft, kMiddle, 0.71);
  expectGrey(image, 100, kRule, 0.7);
}

TEST_F(IconTabBarDrawing, UnselectedTabsHaveNoBackground) {
  const QImage image = render();
  EXPECT_EQ(image.pixelColor(6, kMiddle), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(kFill, 0), QColor(Qt::red));
}

TEST_F(IconTabBarDrawing, IconsSitCentredWithHalvesRoundedUpwardFromTheBottom) {
  // Tab 0: x = 4, so the icon's left edge is 4 + 16 - 8 = 12. In a 35-high bar its bottom edge
  // is round(17.5 - 8) = 10 points above the bottom, which puts its top row at 9.
  const QImage image = render();
  const QColor blue(Qt::blue);
  EXPECT_EQ(image.pixelColor(12, 9), blue);
  EXPECT_EQ(image.pixelColor(27, 24), blue);
  EXPECT_NE(image.pixelColor(12, 8), blue);
  EXPECT_NE(image.pixelColor(12, 25), blue);
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
