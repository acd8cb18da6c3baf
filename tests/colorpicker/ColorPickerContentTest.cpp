#include "PickerSupport.h"
#include "colorpicker/ColorPanelResizeDimple.h"
#include "colorpicker/ColorPanelToolbar.h"
#include "colorpicker/QVColorPickerPopoverView.h"

namespace pellimo::test {
namespace {

using ansi::Color;
using colorpicker::ColorPanelResizeDimple;

class ColorPickerContent : public PickerFixture {
 protected:
  QWidget* view() const { return controller()->view(); }
  static bool hasResizeDimple(const QWidget* content) {
    return content->findChild<ColorPanelResizeDimple*>(QString(), Qt::FindDirectChildrenOnly);
  }
  /// Drags the popover by its content view from the middle of the view.
  void dragPopover(const QPoint& offset, int steps = 5) {
    const QPoint start = screenRect(view()).center();
    dragBy(view(), start, offset, steps);
  }
  void showAndWait() {
    showPopover();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popoverWindow()));
  }
};

TEST_F(ColorPickerContent, OpeningTakesTheContentFromTheFloatingPanel) {
  panel()->orderFront();
  activateQuietly(well_, true);
  showAndWait();
  EXPECT_FALSE(panel()->isVisible());
  EXPECT_FALSE(well_->isActive());
  EXPECT_TRUE(panel()->showsAlpha());

  QWidget* content = panel()->contentView();
  EXPECT_EQ(content->parentWidget(), view());
  EXPECT_FALSE(hasResizeDimple(content));
  EXPECT_EQ(controller()->tabbar()->geometry(), QRect(0, 0, 250, 34));
  EXPECT_EQ(content->geometry(), QRect(0, 34, 250, 366));
}

TEST_F(ColorPickerContent, TabsMirrorTheToolbarAndStartAtThePanelsMode) {
  const struct {
    ColorPanel::Mode mode;
    qint64 tab;
  } cases[] = {
      {ColorPanel::Mode::Wheel, 0}, {ColorPanel::Mode::HSB, 2}, {ColorPanel::Mode::Palette, 4}};
  for (const auto& c : cases) {
    panel()->setMode(c.mode);
    showPopover();
    const QVIconTabBar* tabs = controller()->tabbar();
    EXPECT_EQ(tabs->selectedIndex(), c.tab);
    const auto& toolbarItems = panel()->toolbar()->items();
    ASSERT_EQ(tabs->items().size(), toolbarItems.size());
    for (std::size_t i = 0; i < toolbarItems.size(); ++i) {
      EXPECT_EQ(tabs->items()[i]->tooltip(), toolbarItems[i]->toolTip());
      EXPECT_EQ(tabs->items()[i]->icon().cacheKey(), toolbarItems[i]->image().cacheKey());
    }
  }
}

TEST_F(ColorPickerContent, ChoosingATabSwitchesThePanelsMode) {
  showPopover();
  QVIconTabBar* tabs = controller()->tabbar();
  const auto tab = [](int index) { return QPoint(4 + 32 * index + 16, 17); };
  QTest::mousePress(tabs, Qt::LeftButton, {}, tab(4));
  EXPECT_EQ(panel()->mode(), ColorPanel::Mode::Palette);
  QTest::mouseMove(tabs, tab(1));
  EXPECT_EQ(panel()->mode(), ColorPanel::Mode::RGB);
  QTest::mouseMove(tabs, QPoint(240, 17));
  EXPECT_EQ(panel()->mode(), ColorPanel::Mode::RGB);
  QTest::mouseRelease(tabs, Qt::LeftButton, {}, QPoint(240, 17));
}

TEST_F(ColorPickerContent, ShortDragsSlideBackAndLongOnesDetach) {
  const struct {
    QPoint offset;
    bool detaches;
  } cases[] = {{{30, 0}, false}, {{0, -49}, false}, {{30, -40}, true}, {{80, 0}, true}};
  for (const auto& c : cases) {
    resetColorPicker();
    reportToRecorder();
    showAndWait();
    QWidget* window = popoverWindow();
    const QPoint origin = window->pos();
    const QRect content = screenRect(controller()->colorPanelView());
    dragPopover(c.offset);
    EXPECT_FALSE(popover()->shouldHideAnchor());
    if (!c.detaches) {
      EXPECT_TRUE(popover()->isShown()) << c.offset.x() << ", " << c.offset.y();
      EXPECT_EQ(window->pos(), origin + c.offset) << "slides back, not jumps";
      EXPECT_TRUE(QTest::qWaitFor([&] { return window->pos() == origin; }));
      continue;
    }
    EXPECT_FALSE(popover()->isShown()) << c.offset.x() << ", " << c.offset.y();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel()));
    EXPECT_EQ(screenRect(panel()->contentView()), content.translated(c.offset));
    EXPECT_TRUE(hasResizeDimple(panel()->contentView()));
    EXPECT_TRUE(popover()->observingColor());
    EXPECT_EQ(popover()->target(), &recorder_);
    panel()->setColor(Color::magenta());
    EXPECT_EQ(recorder_.colors.back(), Color::magenta());
  }
}

TEST_F(ColorPickerContent, TheArrowHidesFromTheFirstMoveThatFindsThePopover50PointsAway) {
  showAndWait();
  const QPoint start = screenRect(view()).center();
  sendMouse(view(), QEvent::MouseButtonPress, start, Qt::LeftButton);
  std::vector<bool> hidden;
  for (int step = 1; step <= 8; ++step) {
    sendMouse(view(), QEvent::MouseMove, start + QPoint(10 * step, 0), Qt::LeftButton);
    hidden.push_back(popover()->shouldHideAnchor());
  }
  auto* popoverView = static_cast<colorpicker::QVColorPickerPopoverView*>(view());
  EXPECT_TRUE(popoverView->dragging());
  sendMouse(view(), QEvent::MouseButtonRelease, start + QPoint(80, 0), Qt::NoButton);
  EXPECT_FALSE(popoverView->dragging());
  EXPECT_EQ(hidden, std::vector<bool>({false, false, false, false, false, true, true, true}));
  EXPECT_FALSE(popover()->shouldHideAnchor());
}

TEST_F(ColorPickerContent, ShowingAgainAfterDetachingIgnoresThePanelsChangesWhileBuilding) {
  reportToRecorder();
  showAndWait();
  dragPopover({80, 0});
  panel()->setColor(Color::blue());
  recorder_.colors.clear();

  showPopover();
  EXPECT_FALSE(panel()->isVisible());
  EXPECT_EQ(panel()->contentView()->parentWidget(), view()) << "the one content view came back";
  EXPECT_FALSE(hasResizeDimple(panel()->contentView()));
  EXPECT_EQ(panel()->color(), Color::blue());
  EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::blue()}))
      << "the hidden well's colour, set while the content was building, is not reported";
  recorder_.colors.clear();
  panel()->setColor(Color::green());
  EXPECT_EQ(recorder_.colors.size(), 1u) << "observed once, not twice";
}

}  // namespace
}  // namespace pellimo::test
