// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>
#include <QSignalSpy>

#include "PickerSupport.h"
#include "colorpicker/ColorPanelResizeDimple.h"
#include "colorpicker/ColorPanelToolbar.h"
#include "colorpicker/PopoverDelegate.h"
#include "colorpicker/QVColorPickerPopoverView.h"
#include "colorpicker/QVPopoverColorWell.h"

namespace pellimo::test {
namespace {

using colorpicker::QVPopoverColorWell;

/// A window with an anchor control, two plain colour wells and a popover well, and a colour
/// picker at rest.
class PopoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetColorPicker();
    host_.setGeometry(100, 100, 400, 300);
    anchor_->setGeometry(20, 20, 40, 20);
    well_->setGeometry(100, 20, 44, 23);
    other_->setGeometry(160, 20, 44, 23);
    popoverWell_->setGeometry(220, 20, 44, 23);
    host_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
  }
  void TearDown() override { resetColorPicker(); }

  void showPopover() {
    popover()->showRelativeToRect(anchor_->geometry(), &host_, colorpicker::RectEdge::MinY);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view()->window()));
  }
  void reportToRecorder() {
    popover()->setTarget(&recorder_);
    popover()->setAction(&Recorder::popoverChanged);
  }
  /// Activates without the panel window coming on screen.
  static void activateQuietly(ColorWell* well) {
    ColorPanel::disablePanel();
    well->activate(true);
    ColorPanel::enablePanel();
  }
  /// Makes `well` the well the popover serves, as a popover colour well does.
  static void serve(ColorWell* well) {
    activateQuietly(well);
    popover()->setColorWell(well);
  }
  static colorpicker::QVColorPickerViewController* controller() {
    return popover()->contentViewController();
  }
  static QWidget* view() { return controller()->view(); }
  static bool hasResizeDimple(const QWidget* content) {
    return content->findChild<colorpicker::ColorPanelResizeDimple*>(QString(),
                                                                    Qt::FindDirectChildrenOnly);
  }
  /// Drags the popover by the middle of its content view in equal moves; whether the arrow was
  /// hidden after each move.
  static std::vector<bool> dragPopover(const QPoint& offset, int moves = 5) {
    const QPoint start = screenRect(view()).center();
    sendMouse(view(), QEvent::MouseButtonPress, start, Qt::LeftButton);
    std::vector<bool> hidden;
    for (int step = 1; step <= moves; ++step) {
      sendMouse(view(), QEvent::MouseMove, start + offset * step / moves, Qt::LeftButton);
      hidden.push_back(popover()->shouldHideAnchor());
    }
    sendMouse(view(), QEvent::MouseButtonRelease, start + offset, Qt::NoButton);
    return hidden;
  }

  QWidget host_;
  QWidget* anchor_ = new QWidget(&host_);
  ColorWell* well_ = new ColorWell(&host_);
  ColorWell* other_ = new ColorWell(&host_);
  QVPopoverColorWell* popoverWell_ = new QVPopoverColorWell(&host_);
  Recorder recorder_;
};

TEST_F(PopoverTest, BeforeItsFirstShowingThereIsNoColourYetTheSetOneIsKept) {
  for (const bool set : {true, false}) {
    QVColorPickerPopover fresh;
    fresh.setObservingColor(true);
    EXPECT_FALSE(fresh.observingColor());
    if (set) fresh.setColor(Color::red());
    EXPECT_FALSE(fresh.color().has_value());
    fresh.showRelativeToRect(anchor_->geometry(), &host_, colorpicker::RectEdge::MinY);
    EXPECT_EQ(fresh.color(), set ? Color::red() : Color::white());
    fresh.close();
  }
}

TEST_F(PopoverTest, WhileShownEveryColourGoesToTheTargetAndShowingAgainRebuildsTheContent) {
  reportToRecorder();
  showPopover();
  panel()->setColor(Color::blue());
  panel()->setColor(Color::green());
  EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::blue(), Color::green()}));
  EXPECT_EQ(recorder_.senders, std::vector<QObject*>(2, popover()));
  serve(well_);
  const QPointer<QObject> first = controller();
  showPopover();
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(popover()->isShown());
  EXPECT_FALSE(well_->isActive());
  EXPECT_EQ(popover()->colorWell(), nullptr);
  EXPECT_EQ(popover()->target(), &recorder_);
}

TEST_F(PopoverTest, ClosingEscapeAndAClickOutsideClearTargetObservationAndTheServedWell) {
  enum class Closer { Close, Escape, ClickOutside };
  for (const Closer closer : {Closer::Close, Closer::Escape, Closer::ClickOutside}) {
    QSignalSpy posted(popover(), &QVColorPickerPopover::notificationPosted);
    QSignalSpy closed(popover(), &QVColorPickerPopover::closed);
    reportToRecorder();
    showPopover();
    serve(well_);
    if (closer == Closer::Close) popover()->close();
    // From the focused field inside, as a typing user would.
    if (closer == Closer::Escape)
      QTest::keyClick(panel()->contentView()->findChild<QLineEdit*>(), Qt::Key_Escape);
    if (closer == Closer::ClickOutside)
      QTest::mouseClick(host_.windowHandle(), Qt::LeftButton, {}, QPoint(300, 250));
    EXPECT_FALSE(popover()->isShown());
    EXPECT_FALSE(view()->window()->isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(popover()->target(), nullptr);
    EXPECT_FALSE(popover()->observingColor());
    EXPECT_FALSE(well_->isActive());
    panel()->setColor(Color::red());
    EXPECT_TRUE(recorder_.colors.empty());
    // Only cancelling tells the widget to lower itself again.
    const QList<QVariantList> unRaise{QVariantList{"unRaise"}};
    EXPECT_EQ(posted, closer == Closer::Escape ? unRaise : QList<QVariantList>());
  }
}

/// A delegate that keeps the popover open and counts its closings.
struct Refusing : colorpicker::PopoverDelegate {
  bool popoverShouldClose(QVColorPickerPopover*) override { return false; }
  void popoverDidClose(QVColorPickerPopover*) override { ++closes; }
  int closes = 0;
};

TEST_F(PopoverTest, ADelegateCanRefuseTheCloseByItself) {
  Refusing delegate;
  popover()->setDelegate(&delegate);
  showPopover();
  QTest::mouseClick(host_.windowHandle(), Qt::LeftButton, {}, QPoint(300, 250));
  EXPECT_TRUE(popover()->isShown());
  EXPECT_EQ(delegate.closes, 0);
  popover()->close();
  EXPECT_EQ(delegate.closes, 1);
}

TEST_F(PopoverTest,
       AClickOnAnotherWellClosesThePopoverUnlessItAddsOrDeactivatesAndDeactivateAllClearsAll) {
  enum class Click { OnInactive, ShiftOnInactive, OnActive };
  for (const Click click : {Click::OnInactive, Click::ShiftOnInactive, Click::OnActive}) {
    resetColorPicker();
    reportToRecorder();
    if (click == Click::ShiftOnInactive) activateQuietly(well_);
    if (click == Click::OnActive) activateQuietly(other_);
    showPopover();
    if (click == Click::OnInactive) serve(well_);
    QTest::mouseClick(other_, Qt::LeftButton,
                      click == Click::ShiftOnInactive ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(other_->isActive(), click != Click::OnActive);
    EXPECT_EQ(well_->isActive(), click == Click::ShiftOnInactive);
    if (click == Click::ShiftOnInactive) continue;
    const bool closed = click == Click::OnInactive;
    EXPECT_EQ(popover()->isShown(), !closed);
    EXPECT_EQ(popover()->target(), closed ? nullptr : &recorder_);
    EXPECT_EQ(panel()->isVisible(), closed) << "a plain well edits in the floating panel";
  }
  // Deactivating all leaves no well active, the hidden one included.
  resetColorPicker();
  activateQuietly(well_);
  other_->activate(false);
  ColorWell::deactivateAll();
  EXPECT_FALSE(well_->isActive() || other_->isActive());
  ASSERT_NE(ColorWell::hiddenWell(), nullptr);
  EXPECT_FALSE(ColorWell::hiddenWell()->isActive());
}

TEST_F(PopoverTest, AClickedWellEditsInThePanelOrInThePopoverAndReportsEachColour) {
  const struct {
    const char* name;
    ColorWell* well;
    bool panelOnScreen, panelAllowed, inPopover;
  } cases[] = {
      {"plain well", well_, false, true, false},
      {"popover well", popoverWell_, false, true, true},
      {"popover well, panel on screen", popoverWell_, true, true, false},
      {"popover well, panel on screen but not allowed", popoverWell_, true, false, true},
  };
  for (const auto& c : cases) {
    resetColorPicker();
    recorder_.senders.clear();
    recorder_.colors.clear();
    if (c.panelOnScreen) panel()->orderFront();
    popoverWell_->setUseColorPanelIfAvailable(c.panelAllowed);
    c.well->setColor(Color::yellow());
    c.well->setTarget(&recorder_);
    c.well->setAction(&Recorder::wellChanged);
    QTest::mouseClick(c.well, Qt::LeftButton);
    EXPECT_TRUE(c.well->isActive()) << c.name;
    EXPECT_EQ(popover()->isShown(), c.inPopover) << c.name;
    EXPECT_EQ(panel()->isVisible(), !c.inPopover) << c.name;
    EXPECT_EQ(panel()->color(), Color::yellow()) << c.name;
    panel()->setColor(Color::blue());
    EXPECT_EQ(c.well->color(), Color::blue()) << c.name;
    EXPECT_EQ(recorder_.senders, std::vector<QObject*>({c.well})) << c.name;
    EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::blue()})) << c.name;
    if (c.inPopover) {
      EXPECT_EQ(popover()->colorWell(), c.well) << c.name;
      EXPECT_EQ(popover()->delegate(), popoverWell_) << c.name;
      popover()->close();
      EXPECT_FALSE(c.well->isActive()) << c.name;
      EXPECT_EQ(popover()->delegate(), nullptr) << c.name;
    }
    c.well->deactivate();
  }
}

TEST_F(PopoverTest, ADoubleClickMovesEditingIntoThePopoverOnlyFromAPanelOnScreen) {
  for (const bool panelShown : {false, true}) {
    if (panelShown) panel()->orderFront();
    // Press, release, double click, release: what a real double click delivers.
    QTest::mouseClick(popoverWell_, Qt::LeftButton);
    QTest::mouseDClick(popoverWell_, Qt::LeftButton);
    QTest::mouseRelease(popoverWell_, Qt::LeftButton);
    EXPECT_EQ(popoverWell_->isActive(), panelShown) << "otherwise two ordinary clicks";
  }
  EXPECT_TRUE(popover()->isShown());
  EXPECT_FALSE(panel()->isVisible());
}

TEST_F(PopoverTest, TabsMirrorTheToolbarStartAtThePanelsModeAndSwitchIt) {
  const std::pair<ColorPanel::Mode, qint64> cases[] = {
      {ColorPanel::Mode::Wheel, 0}, {ColorPanel::Mode::HSB, 2}, {ColorPanel::Mode::Palette, 4}};
  for (const auto& [mode, tab] : cases) {
    panel()->setMode(mode);
    showPopover();
    const QVIconTabBar* tabs = controller()->tabbar();
    EXPECT_EQ(tabs->selectedIndex(), tab);
    const auto& toolbarItems = panel()->toolbar()->items();
    ASSERT_EQ(tabs->items().size(), toolbarItems.size());
    for (std::size_t i = 0; i < toolbarItems.size(); ++i) {
      EXPECT_EQ(tabs->items()[i]->tooltip(), toolbarItems[i]->toolTip());
      EXPECT_EQ(tabs->items()[i]->icon().cacheKey(), toolbarItems[i]->image().cacheKey());
    }
  }
  QVIconTabBar* tabs = controller()->tabbar();
  QTest::mousePress(tabs, Qt::LeftButton, {}, QPoint(52, 17));
  EXPECT_EQ(panel()->mode(), ColorPanel::Mode::RGB);
  QTest::mouseMove(tabs, QPoint(240, 17));
  QTest::mouseRelease(tabs, Qt::LeftButton, {}, QPoint(240, 17));
  EXPECT_EQ(panel()->mode(), ColorPanel::Mode::RGB);
}

TEST_F(PopoverTest, ShortDragsSlideBackAndLongOnesDetach) {
  const struct {
    QPoint offset;
    bool detaches;
  } cases[] = {{{30, 0}, false}, {{0, -49}, false}, {{30, -40}, true}, {{80, 0}, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset.x() << ", " << c.offset.y());
    resetColorPicker();
    reportToRecorder();
    showPopover();
    QWidget* window = view()->window();
    const QPoint origin = window->pos();
    const QRect content = screenRect(controller()->colorPanelView());
    QSignalSpy closed(popover(), &QVColorPickerPopover::closed);
    dragPopover(c.offset);
    EXPECT_EQ(closed.count(), 0) << "neither sliding back nor detaching closes the picker";
    EXPECT_FALSE(popover()->shouldHideAnchor());
    EXPECT_EQ(popover()->isShown(), !c.detaches);
    if (!c.detaches) {
      EXPECT_EQ(window->pos(), origin + c.offset) << "slides back, not jumps";
      EXPECT_TRUE(eventually([&] { return window->pos() == origin; }));
      continue;
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel()));
    EXPECT_EQ(screenRect(panel()->contentView()), content.translated(c.offset));
    EXPECT_TRUE(hasResizeDimple(panel()->contentView()));
    EXPECT_EQ(popover()->target(), &recorder_);
    panel()->setColor(Color::magenta());
    EXPECT_EQ(recorder_.colors.back(), Color::magenta());
    panel()->close();
    EXPECT_EQ(closed.count(), 1) << "closing the panel does";
    EXPECT_EQ(popover()->target(), nullptr);
  }
}

TEST_F(PopoverTest, TheArrowHidesFromTheFirstMoveThatFindsThePopover50PointsAway) {
  showPopover();
  EXPECT_EQ(dragPopover({80, 0}, 8),
            std::vector<bool>({false, false, false, false, false, true, true, true}));
  EXPECT_FALSE(static_cast<colorpicker::QVColorPickerPopoverView*>(view())->dragging());
}

TEST_F(PopoverTest, OpeningLiftsTheContentOutOfTheFloatingPanelIgnoringItsChangesMeanwhile) {
  reportToRecorder();
  showPopover();
  dragPopover({80, 0});
  activateQuietly(well_);
  panel()->setColor(Color::blue());
  recorder_.colors.clear();
  showPopover();
  EXPECT_FALSE(panel()->isVisible());
  EXPECT_FALSE(well_->isActive());
  EXPECT_TRUE(panel()->showsAlpha());
  QWidget* content = panel()->contentView();
  EXPECT_EQ(content->parentWidget(), view()) << "the one content view came back";
  EXPECT_FALSE(hasResizeDimple(content));
  EXPECT_EQ(controller()->tabbar()->geometry(), QRect(0, 0, 250, 34));
  EXPECT_EQ(content->geometry(), QRect(0, 34, 250, 366));
  EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::blue()}))
      << "the hidden well's colour, set while the content was building, is not reported";
  recorder_.colors.clear();
  panel()->setColor(Color::green());
  EXPECT_EQ(recorder_.colors.size(), 1u) << "observed once, not twice";
}

}  // namespace
}  // namespace pellimo::test
