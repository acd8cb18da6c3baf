// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "TestSupport.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/ModuleObject.h"
#include "platform/ModuleProxy.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsStore.h"
#include "widget/Interface.h"

namespace pellimo::widget {
namespace {

/// A widget as the module builds it, with "clearView" and frame reports counted, and frame
/// saving's delays shortened: frames count from 300 ms after the first move on, and each save
/// comes 100 ms after its move.
class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    MainViewSub::timings() = {300, 100};
    platform::SettingsStore::standard().clear();
    platform::NotificationCenter::defaultCenter().addObserver(&scope, QStringLiteral("clearView"),
                                                              [this] { ++clearViews; });
    platform::DistributedNotificationCenter::defaultCenter().addObserverWithUserInfo(
        &scope, QStringLiteral("org.pellimo.widget.frame"),
        [this](const auto& info) { reports << (info ? info->value("frame") : QString()); });
  }
  void TearDown() override { MainViewSub::timings() = {}; }

  static void show(Interface& widget) {
    widget.controller->viewDidLoad();
    widget.window.show();
    widget.controller->viewDidAppear();
  }
  /// Shows the widget at 300 × 200 and waits until it is on screen.
  void showSized() {
    show(ui);
    ui.window.resize(300, 200);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ui.window));
  }
  /// Loads the widget, moves it `early` times and waits until moves count; a save that waited
  /// the first delay from here on would come long after the test gave up.
  void countMoves(int early = 1) {
    controller.viewDidLoad();
    for (int move = 0; move < early; ++move)
      ui.view->updateRect();
    ASSERT_TRUE(test::eventually([&] { return ui.view->initiated(); }));
    MainViewSub::timings().initiateMs = 600000;
  }
  bool zooming() const { return ui.view->zoomAnimation().isRunning(); }
  QString stored() const {
    return platform::SettingsStore::standard().stringForKey(QStringLiteral("frameMark"));
  }

  Interface ui;
  ViewController& controller = *ui.controller;
  QObject scope;
  int clearViews = 0;
  QStringList reports;
};

TEST_F(Window, EachOperationGivesItsModeAnimationButtonClearViewAndBusReport) {
  platform::ModuleObject module;
  ASSERT_TRUE(module.exportOnBus(QStringLiteral("org.example.raised")));
  controller.setModuleObject(&module);
  // The process's own connection: a second one would wait for this blocked thread to answer.
  ModuleProxy proxy(platform::bus::moduleServiceName(QStringLiteral("org.example.raised"),
                                                     QCoreApplication::applicationPid()),
                    platform::bus::kModulePath, QDBusConnection::sessionBus());
  // Edits once the quiet period of the last edit is over.
  const auto edit = [&] {
    const bool before = controller.isRaised();
    test::eventually([&] {
      controller.toggleEdit();
      return controller.isRaised() != before;
    });
  };
  // The canvas lets presses through to the view.
  const auto doubleClick = [&] { QTest::mouseDClick(ui.canvas, Qt::LeftButton); };
  struct Step {
    const char* name;
    std::function<void()> run;
    bool raised, animates, button, opaque;
    int clearViews;
  };
  const Step steps[] = {
      {"set-up", [&] { show(ui); }, false, true, false, true, 1},
      {"raise", [&] { controller.raiseMe(); }, true, true, true, true, 1},
      {"edit from raised", edit, false, false, true, false, 0},
      {"edit, and again at once", [&] { edit(), controller.toggleEdit(); }, true, false, true, true,
       0},
      {"double-click on the text", doubleClick, false, false, false, true, 1},
      {"flat", [&] { controller.flattenMe(); }, false, true, false, true, 1},
      {"raise applied twice", [&] { controller.raise(), controller.raise(); }, false, false, false,
       true, 2},
  };
  for (const Step& step : steps) {
    clearViews = 0;
    step.run();
    EXPECT_EQ(controller.isRaised(), step.raised) << step.name;
    EXPECT_EQ(proxy.raised(), step.raised) << step.name;
    EXPECT_EQ(zooming(), step.animates) << step.name;
    EXPECT_EQ(clearViews, step.clearViews) << step.name;
    ASSERT_TRUE(test::eventually([&] { return !zooming(); })) << step.name;
    // Only now: while the zoom runs, the content is shown as one picture.
    EXPECT_EQ(ui.configBtn->isVisibleTo(ui.view), step.button) << step.name;
    EXPECT_EQ(ui.view->borderWidth(), step.raised ? 1.0 : 0.0) << step.name;
    EXPECT_TRUE(!step.raised || ui.view->borderColor() == QColor(Qt::yellow)) << step.name;
    EXPECT_EQ(ui.view->isOpaque(), step.opaque) << step.name;
  }
  EXPECT_EQ(controller.cachedColor(), ansi::Color::grey(0.0, 0.5));
  EXPECT_FALSE(platform::SettingsStore::standard().objectForKey("color").isValid())
      << "the fallback background is never stored";
}

TEST_F(Window, TheEdgesResizeInBothModesAndOnlyTheRaisedWidgetHasACornerGrip) {
  ASSERT_NO_FATAL_FAILURE(showSized());
  const auto pointerAt = [&](QPoint position) {
    QTest::mouseMove(ui.view, position);
    return ui.view->cursor().shape();
  };
  const QPoint corner(299, 199), grip(290, 190), centre(150, 100);
  EXPECT_EQ(pointerAt(corner), Qt::SizeFDiagCursor) << "flat";
  EXPECT_EQ(pointerAt(grip), Qt::ArrowCursor) << "flat, no grip";
  controller.raiseMe();
  EXPECT_EQ(ui.view->cursor().shape(), Qt::SizeFDiagCursor) << "raised under a still pointer";
  EXPECT_EQ(pointerAt(centre), Qt::ArrowCursor);
  EXPECT_EQ(pointerAt({1, 100}), Qt::SizeHorCursor);
  EXPECT_EQ(pointerAt({150, 198}), Qt::SizeVerCursor);
  EXPECT_EQ(pointerAt(grip), Qt::SizeFDiagCursor) << "the grip, inside the edges";
  controller.flattenMe();
  EXPECT_EQ(ui.view->cursor().shape(), Qt::ArrowCursor) << "flat under a still pointer";
}

TEST_F(Window, ThePointerShowsAHandOverTheLinesWithAnActionOnly) {
  ASSERT_NO_FATAL_FAILURE(showSized());
  auto menu = std::make_shared<runner::ScriptMenu>();
  menu->lineActions[6].refresh = true;
  ui.canvas->setStyledText(std::make_shared<ansi::StyledText>(u"first\nclick me\nlast\n"));
  ui.canvas->setScriptMenu(menu);
  ui.canvas->repaint();
  QList<int> handRows;
  for (int y = 6; y < 100; ++y) {
    QTest::mouseMove(ui.view, {50, y});
    if (ui.view->cursor().shape() == Qt::PointingHandCursor) handRows.append(y);
  }
  ASSERT_FALSE(handRows.isEmpty());
  EXPECT_GT(handRows.first(), 10) << "not over the first line";
  EXPECT_EQ(handRows.last() - handRows.first() + 1, handRows.size()) << "over one line";
  EXPECT_LT(handRows.size(), 40);
}

TEST_F(Window, AStoredFrameIsRestoredWhollyOnItsScreenAtAFindableSize) {
  const QSize size = ui.window.size();
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint corner = area.topLeft();
  const struct {
    const char* stored;
    QRect restored;
  } cases[] = {
      {"{{40, 30}, {320, 180}}", QRect(40, 30, 320, 180)},
      {"{{40, 30}, {0, 0}}", QRect({40, 30}, size)},
      {"{{40, 30}, {1, 1}}", QRect(40, 30, 64, 32)},
      // Beyond what a pixel can hold: onto the primary screen's corner. Placement on screens
      // that come and go is checked with ScreenPlacement's own screens.
      {"{{1e99, -1e99}, {320, 180}}", QRect(corner, QSize(320, 180))},
  };
  for (const auto& c : cases) {
    platform::SettingsStore::standard().setValue(QString(c.stored), QStringLiteral("frameMark"));
    Interface widget;
    show(widget);
    EXPECT_EQ(widget.window.geometry(), c.restored) << c.stored;
  }
}

TEST_F(Window, EachLaterMoveTurnsResizingOffThenStoresAndReportsOnceAResizeOnlyStores) {
  // Moves before the first has aged count for nothing.
  ASSERT_NO_FATAL_FAILURE(countMoves(2));
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

TEST_F(Window, AFrameThatCannotBeSavedIsLoggedWithTheReasonAndStillReported) {
  // A folder where the settings file goes: as root, the one thing no write gets past.
  const QString path = platform::SettingsStore::standard().fileName();
  QFile::remove(path);
  ASSERT_TRUE(QDir().mkpath(path));
  test::LoggedLines log;
  ASSERT_NO_FATAL_FAILURE(countMoves());
  ui.window.setGeometry(50, 20, 300, 200);
  ui.view->updateRect();
  ASSERT_TRUE(test::eventually([&] { return reports.size() == 1; }));
  const QStringList lines =
      log.containing("pellimo-widget: cannot save the window's frame: cannot open " + path);
  EXPECT_EQ(lines.size(), 1) << log.lines().join('\n').toStdString();
  EXPECT_TRUE(log.lines().filter(QRegularExpression("^\\s*$")).isEmpty()) << "no empty line";
  QDir(path).removeRecursively();
}

TEST_F(Window, StepsOfOneDragAreOneMoveAndSeparateMovesAreTwo) {
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
