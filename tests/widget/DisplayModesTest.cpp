#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "TestSupport.h"
#include "platform/BusContract.h"
#include "platform/ModuleObject.h"
#include "platform/ModuleProxy.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsStore.h"
#include "widget/Interface.h"
#include "widget/ZoomAnimation.h"

namespace pellimo::widget {
namespace {

/// A widget as the module builds it, set up and shown, with "clearView" counted.
class DisplayModes : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SettingsStore::standard().clear();
    platform::NotificationCenter::defaultCenter().addObserver(&scope, QStringLiteral("clearView"),
                                                              [this] { ++clearViews; });
  }

  void showWidget() {
    controller().viewDidLoad();
    ui.window.show();
    controller().viewDidAppear();
    clearViews = 0;
  }

  ViewController& controller() { return *ui.controller; }
  bool zooming() const { return ui.view->zoomAnimation().isRunning(); }
  bool buttonShown() const { return ui.configBtn->isVisibleTo(ui.view); }
  bool zoomEnds() {
    return test::eventually([&] { return !zooming(); });
  }
  /// Toggles once the quiet period of the last toggle is over.
  void flip() {
    const bool before = controller().isRaised();
    test::eventually([&] {
      controller().toggleEdit();
      return controller().isRaised() != before;
    });
  }

  Interface ui;
  QObject scope;
  int clearViews = 0;
};

TEST_F(DisplayModes, SetUpEndsFlatWithTheFallbackBackgroundAndOneZoom) {
  controller().viewDidLoad();
  EXPECT_FALSE(controller().cachedColor().has_value()) << "nothing is restored from an empty store";
  ui.window.show();
  controller().viewDidAppear();
  EXPECT_EQ(controller().cachedColor(), ansi::Color::grey(0.0, 0.5));
  EXPECT_FALSE(controller().isRaised());
  EXPECT_FALSE(buttonShown());
  EXPECT_EQ(ui.view->borderWidth(), 0.0);
  EXPECT_TRUE(zooming());
  EXPECT_FALSE(platform::SettingsStore::standard().objectForKey("color").isValid())
      << "the fallback is never stored";
}

TEST_F(DisplayModes, EachOperationGivesItsModeAnimationButtonAndClearView) {
  showWidget();
  struct Step {
    const char* name;
    std::function<void()> run;
    bool raised, animates, button, opaque;
    int clearViews;
  };
  const Step steps[] = {
      {"raise", [&] { controller().raiseMe(); }, true, true, true, true, 1},
      {"edit from raised", [&] { flip(); }, false, false, true, false, 0},
      {"edit from flat", [&] { flip(); }, true, false, true, true, 0},
      {"flat", [&] { controller().flattenMe(); }, false, true, false, true, 1},
      {"raise applied twice", [&] { controller().raise(), controller().raise(); }, false, false,
       false, true, 2},
  };
  ASSERT_TRUE(zoomEnds());
  for (const Step& step : steps) {
    clearViews = 0;
    step.run();
    EXPECT_EQ(controller().isRaised(), step.raised) << step.name;
    EXPECT_EQ(zooming(), step.animates) << step.name;
    EXPECT_EQ(clearViews, step.clearViews) << step.name;
    ASSERT_TRUE(zoomEnds()) << step.name;  // the zoom shows the content as one picture
    EXPECT_EQ(buttonShown(), step.button) << step.name;
    EXPECT_EQ(ui.view->borderWidth(), step.raised ? 1.0 : 0.0) << step.name;
    if (step.raised) {
      EXPECT_EQ(ui.view->borderColor(), QColor(Qt::yellow)) << step.name;
    }
    EXPECT_EQ(ui.view->isOpaque(), step.opaque) << step.name;
  }
}

TEST_F(DisplayModes, EditTogglesOnceWithinItsQuietPeriod) {
  showWidget();
  QElapsedTimer sinceFirst;
  sinceFirst.start();
  controller().toggleEdit();
  controller().toggleEdit();
  EXPECT_TRUE(controller().isRaised()) << "the second edit came at once";
  ASSERT_TRUE(test::eventually([&] {
    controller().toggleEdit();
    return !controller().isRaised();
  }));
  EXPECT_GE(sinceFirst.elapsed(), 450);
}

TEST_F(DisplayModes, DoubleClickDropsTheWidgetFlatWithoutAnimation) {
  showWidget();
  controller().raiseMe();
  ASSERT_TRUE(zoomEnds());
  const QPoint inside(ui.view->width() / 2, ui.view->height() / 2);
  QTest::mouseDClick(ui.view, Qt::LeftButton, {}, inside);
  EXPECT_FALSE(controller().isRaised());
  EXPECT_FALSE(zooming());
  EXPECT_EQ(clearViews, 2);
  // A double-click on the text reaches the view too: the canvas lets presses through.
  controller().raiseMe();
  ASSERT_TRUE(zoomEnds());
  QTest::mouseDClick(ui.canvas, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(controller().isRaised());
}

TEST_F(DisplayModes, TheBusShowsWhetherTheWidgetIsRaisedAfterEveryOperation) {
  platform::ModuleObject module;
  ASSERT_TRUE(module.exportOnBus(QStringLiteral("org.example.raised")));
  controller().setModuleObject(&module);
  showWidget();
  // The process's own connection: a second one would wait for this blocked thread to answer.
  ModuleProxy proxy(platform::bus::moduleServiceName(QCoreApplication::applicationPid()),
                    platform::bus::kModulePath, QDBusConnection::sessionBus());
  EXPECT_FALSE(proxy.raised());
  controller().raiseMe();
  EXPECT_TRUE(proxy.raised()) << "raise";
  ASSERT_TRUE(zoomEnds());
  const QPoint inside(ui.view->width() / 2, ui.view->height() / 2);
  QTest::mouseDClick(ui.view, Qt::LeftButton, {}, inside);
  EXPECT_FALSE(proxy.raised()) << "double-click";
  flip();
  EXPECT_TRUE(proxy.raised()) << "edit from flat";
  flip();
  EXPECT_FALSE(proxy.raised()) << "edit from raised";
  controller().raiseMe();
  controller().flattenMe();
  EXPECT_FALSE(proxy.raised()) << "flat";
}

TEST_F(DisplayModes, ZoomGoesThroughItsKeyFrames) {
  EXPECT_DOUBLE_EQ(ZoomAnimation::scaleAt(0.0), 0.01);
  EXPECT_DOUBLE_EQ(ZoomAnimation::scaleAt(0.5), 1.2);
  EXPECT_DOUBLE_EQ(ZoomAnimation::scaleAt(1.0), 1.0);
  // Eased out: the first half covers more than half its way in its first half.
  EXPECT_GT(ZoomAnimation::scaleAt(0.25), (0.01 + 1.2) / 2);
}

TEST_F(DisplayModes, StoredFrameIsRestoredAndAFrameWithoutAreaKeepsTheSize) {
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(QStringLiteral("{{40, 30}, {320, 180}}"), QStringLiteral("frameMark"));
  showWidget();
  EXPECT_EQ(ui.window.geometry(), QRect(40, 30, 320, 180));

  Interface other;
  settings.setValue(QStringLiteral("garbage"), QStringLiteral("frameMark"));
  const QSize size = other.window.size();
  other.controller->viewDidLoad();
  other.window.show();
  other.controller->viewDidAppear();
  EXPECT_EQ(other.window.geometry(), QRect(QPoint(0, 0), size));
}

}  // namespace
}  // namespace pellimo::widget
