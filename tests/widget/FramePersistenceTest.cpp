#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "TestSupport.h"
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

TEST_F(FramePersistence, EachLaterMoveTurnsResizingOffThenStoresAndReportsOnceAResizeOnlyStores) {
  // Moves before the first has aged count for nothing.
  ui.view->updateRect();
  ui.view->updateRect();
  ASSERT_TRUE(test::eventually([&] { return ui.view->initiated(); }));
  // From here on, a save that waited the first delay would come long after the test gave up.
  MainViewSub::timings().initiateMs = 600000;
  // Three quick moves: three saves and three reports, each of the frame at its save.
  for (int x : {50, 60, 70}) {
    ui.window.setGeometry(x, 20, 300, 200);
    ui.view->updateRect();
    EXPECT_FALSE(ui.window.isResizable());
  }
  EXPECT_TRUE(reports.isEmpty() && stored().isEmpty()) << "each save waits for its 100 ms";
  ASSERT_TRUE(test::eventually([&] { return reports.size() == 3; }));
  EXPECT_EQ(reports, QStringList(3, QStringLiteral("{{70, 20}, {300, 200}}")));
  EXPECT_EQ(stored(), reports.last());
  EXPECT_TRUE(ui.window.isResizable());

  ui.window.setGeometry(5, 5, 200, 100);
  ui.view->windowDidResize();
  EXPECT_FALSE(ui.window.isResizable());
  ASSERT_TRUE(test::eventually([&] { return stored() == QStringLiteral("{{5, 5}, {200, 100}}"); }));
  EXPECT_EQ(reports.size(), 3);
  EXPECT_TRUE(ui.window.isResizable());
}

TEST_F(FramePersistence, StepsOfOneDragAreOneMoveAndSeparateMovesAreTwo) {
  QSignalSpy moves(&ui.window, &windowSub::didMove);
  ui.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ui.window));
  test::serveFor(200);
  EXPECT_EQ(moves.count(), 0) << "the placement when the window is mapped is not a move";
  for (int step = 0; step < 10; ++step) {
    ui.window.move(100 + step * 5, 100);
    QCoreApplication::processEvents();
  }
  ASSERT_TRUE(test::eventually([&] { return moves.count() == 1; }));
  test::serveFor(300);
  EXPECT_EQ(moves.count(), 1);
  ui.window.move(400, 300);
  EXPECT_TRUE(test::eventually([&] { return moves.count() == 2; }));
}

}  // namespace
}  // namespace pellimo::widget
