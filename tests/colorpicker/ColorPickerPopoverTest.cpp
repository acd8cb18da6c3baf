#include <QLineEdit>
#include <QSignalSpy>

#include "PickerSupport.h"
#include "colorpicker/PopoverDelegate.h"

namespace pellimo::test {
namespace {

using ansi::Color;

using PopoverStates = PickerFixture;

TEST_F(PopoverStates, BeforeItsFirstShowingThereIsNoColourYetTheSetOneIsKept) {
  QVColorPickerPopover fresh;
  EXPECT_FALSE(fresh.color().has_value());
  EXPECT_EQ(fresh.colorPanel(), nullptr);
  fresh.setObservingColor(true);
  EXPECT_FALSE(fresh.observingColor());
  fresh.setColor(Color::red());
  EXPECT_FALSE(fresh.color().has_value());
  fresh.showRelativeToRect(anchor_->geometry(), &host_, colorpicker::RectEdge::MinY);
  EXPECT_EQ(fresh.color(), Color::red());
  fresh.close();

  QVColorPickerPopover untouched;
  untouched.showRelativeToRect(anchor_->geometry(), &host_, colorpicker::RectEdge::MinY);
  EXPECT_EQ(untouched.color(), Color::white());
  untouched.close();
}

TEST_F(PopoverStates, WhileShownEveryColourChangeGoesToTheTarget) {
  reportToRecorder();
  popover()->setColor(Color::grey(0.25));
  showPopover();
  EXPECT_TRUE(popover()->isShown());
  EXPECT_TRUE(popover()->observingColor());
  EXPECT_EQ(panel()->color(), Color::grey(0.25));
  panel()->setColor(Color::blue());
  panel()->setColor(Color::green());
  EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::blue(), Color::green()}));
  EXPECT_EQ(recorder_.senders, std::vector<QObject*>(2, popover()));
  EXPECT_EQ(popover()->color(), Color::green());
}

TEST_F(PopoverStates, ShowingWhileShownKeepsTheTargetAndRebuildsTheContent) {
  reportToRecorder();
  showPopover();
  serve(well_);
  const QPointer<QObject> first = controller();
  showPopover();
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(popover()->isShown());
  EXPECT_TRUE(popover()->animates());
  EXPECT_FALSE(well_->isActive());
  EXPECT_EQ(popover()->colorWell(), nullptr);
  EXPECT_EQ(popover()->target(), &recorder_);
  panel()->setColor(Color::blue());
  EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::blue()}));
}

TEST_F(PopoverStates, ClosingEscapeAndAClickOutsideClearTargetObservationAndTheServedWell) {
  enum class Closer { Close, Escape, ClickOutside };
  for (const Closer closer : {Closer::Close, Closer::Escape, Closer::ClickOutside}) {
    QSignalSpy posted(popover(), &QVColorPickerPopover::notificationPosted);
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
    EXPECT_FALSE(popoverWindow()->isVisible());
    EXPECT_EQ(popover()->target(), nullptr);
    EXPECT_FALSE(popover()->action());
    EXPECT_FALSE(popover()->observingColor());
    EXPECT_FALSE(well_->isActive());
    panel()->setColor(Color::red());
    EXPECT_TRUE(recorder_.colors.empty());
    EXPECT_NE(controller(), nullptr) << "the closed popover keeps its content controller";
    // Only cancelling tells the widget to lower itself again.
    ASSERT_EQ(posted.count(), closer == Closer::Escape ? 1 : 0);
    if (closer == Closer::Escape) {
      EXPECT_EQ(posted.front().front().toString(), QStringLiteral("unRaise"));
    }
  }
}

/// A delegate that keeps the popover open and counts its closings.
class Refusing : public colorpicker::PopoverDelegate {
 public:
  bool popoverShouldClose(QVColorPickerPopover*) override { return false; }
  void popoverDidClose(QVColorPickerPopover*) override { ++closes; }
  int closes = 0;
};

TEST_F(PopoverStates, ADelegateCanRefuseTheCloseByItself) {
  Refusing delegate;
  popover()->setDelegate(&delegate);
  reportToRecorder();
  showPopover();
  QTest::mouseClick(host_.windowHandle(), Qt::LeftButton, {}, QPoint(300, 250));
  EXPECT_TRUE(popover()->isShown());
  EXPECT_EQ(popover()->target(), &recorder_);
  EXPECT_EQ(delegate.closes, 0);
  popover()->close();
  EXPECT_EQ(delegate.closes, 1);
}

TEST_F(PopoverStates, AClickOnAnInactiveWellClosesThePopoverFirst) {
  reportToRecorder();
  showPopover();
  serve(well_);
  QTest::mouseClick(other_, Qt::LeftButton);
  EXPECT_FALSE(popover()->isShown());
  EXPECT_TRUE(popover()->animates());
  EXPECT_EQ(popover()->target(), nullptr);
  EXPECT_FALSE(popover()->action());
  EXPECT_TRUE(other_->isActive());
  EXPECT_FALSE(well_->isActive());
  EXPECT_TRUE(panel()->isVisible()) << "a plain well edits in the floating panel";
}

TEST_F(PopoverStates, AShiftClickOnAWellActivatesItBesideTheOthers) {
  activateQuietly(well_, true);
  showPopover();
  QTest::mouseClick(other_, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(other_->isActive());
  EXPECT_TRUE(well_->isActive());
}

TEST_F(PopoverStates, AClickOnAnActiveWellOnlyDeactivatesIt) {
  activateQuietly(other_, true);
  reportToRecorder();
  showPopover();
  QTest::mouseClick(other_, Qt::LeftButton);
  EXPECT_FALSE(other_->isActive());
  EXPECT_TRUE(popover()->isShown());
  EXPECT_EQ(popover()->target(), &recorder_);
}

}  // namespace
}  // namespace pellimo::test
