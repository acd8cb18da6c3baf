#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "platform/DistributedNotificationCenter.h"
#include "platform/SettingsStore.h"
#include "widget/Interface.h"

namespace pellimo::widget {
namespace {

/// Frame saving with its delays shortened: frames count from 300 ms after the first move on,
/// and each save comes 100 ms after its move.
class FramePersistence : public ::testing::Test {
 protected:
  void SetUp() override {
    MainViewSub::timings() = {300, 100};
    platform::SettingsStore::standard().removeObjectForKey(QStringLiteral("frameMark"));
    platform::DistributedNotificationCenter::defaultCenter().addObserverWithUserInfo(
        &scope, QStringLiteral("org.pellimo.widget.frame"),
        [this](const auto& info) { reports << (info ? info->value("frame") : QString()); });
    ui.controller->viewDidLoad();
    ui.view->setRoot(ui.controller.get());
  }
  void TearDown() override { MainViewSub::timings() = {}; }

  QString stored() const {
    return platform::SettingsStore::standard().stringForKey(QStringLiteral("frameMark"));
  }

  Interface ui;
  QObject scope;
  QStringList reports;
};

TEST_F(FramePersistence, NothingIsStoredBeforeTheFirstMoveHasAged) {
  ui.view->updateRect();
  QTest::qWait(200);
  ui.view->updateRect();
  QTest::qWait(200);
  EXPECT_TRUE(stored().isEmpty());
  EXPECT_TRUE(reports.isEmpty());
  EXPECT_TRUE(ui.view->initiated());
}

TEST_F(FramePersistence, EachMoveTurnsResizingOffThenStoresAndReportsOnce) {
  ui.view->updateRect();
  QTest::qWait(350);
  ui.window.setGeometry(10, 20, 300, 200);
  ui.view->updateRect();
  EXPECT_FALSE(ui.window.isResizable());
  QTest::qWait(50);
  EXPECT_TRUE(stored().isEmpty()) << "the save waits for its 100 ms";
  ASSERT_TRUE(QTest::qWaitFor([&] { return reports.size() == 1; }, 2000));
  EXPECT_TRUE(ui.window.isResizable());
  EXPECT_EQ(stored(), QStringLiteral("{{10, 20}, {300, 200}}"));
  EXPECT_EQ(reports.first(), stored());

  // Three quick moves: three saves and three reports, each with its own frame.
  for (int x : {50, 60, 70}) {
    ui.window.setGeometry(x, 20, 300, 200);
    ui.view->updateRect();
    QTest::qWait(30);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return reports.size() == 4; }, 2000));
  EXPECT_EQ(stored(), QStringLiteral("{{70, 20}, {300, 200}}"));
}

TEST_F(FramePersistence, ResizeStoresWithoutReporting) {
  ui.window.setGeometry(5, 5, 200, 100);
  ui.view->windowDidResize();
  EXPECT_FALSE(ui.window.isResizable());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !stored().isEmpty(); }, 2000));
  QTest::qWait(100);
  EXPECT_EQ(stored(), QStringLiteral("{{5, 5}, {200, 100}}"));
  EXPECT_TRUE(reports.isEmpty());
  EXPECT_TRUE(ui.window.isResizable());
}

TEST_F(FramePersistence, StepsOfOneDragAreOneMoveAndSeparateMovesAreTwo) {
  ui.window.show();
  QTest::qWait(200);  // the placement when the window is mapped is not a move
  QSignalSpy moves(&ui.window, &windowSub::didMove);
  for (int step = 0; step < 10; ++step) {
    ui.window.move(100 + step * 5, 100);
    QTest::qWait(20);
  }
  QTest::qWait(300);
  EXPECT_EQ(moves.count(), 1);
  ui.window.move(400, 300);
  QTest::qWait(300);
  EXPECT_EQ(moves.count(), 2);
}

}  // namespace
}  // namespace pellimo::widget
