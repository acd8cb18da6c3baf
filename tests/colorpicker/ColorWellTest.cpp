#include "PickerSupport.h"
#include "colorpicker/QVPopoverColorWell.h"

namespace pellimo::test {
namespace {

using ansi::Color;
using colorpicker::QVPopoverColorWell;

class ColorWells : public PickerFixture {
 protected:
  void SetUp() override {
    PickerFixture::SetUp();
    popoverWell_ = new QVPopoverColorWell(&host_);
    popoverWell_->setGeometry(220, 20, 44, 23);
    popoverWell_->show();
  }

  /// Press, release, double click, release: what a real double click delivers.
  void doubleClick(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
    QTest::mouseDClick(widget, Qt::LeftButton);
    QTest::mouseRelease(widget, Qt::LeftButton);
  }

  QVPopoverColorWell* popoverWell_ = nullptr;
};

TEST_F(ColorWells, AnActiveWellTakesThePanelsColoursAndReportsThem) {
  well_->setColor(Color::grey(0.3));
  well_->setTarget(&recorder_);
  well_->setAction(&Recorder::wellChanged);
  QTest::mouseClick(well_, Qt::LeftButton);
  EXPECT_TRUE(well_->isActive());
  EXPECT_TRUE(panel()->isVisible());
  EXPECT_EQ(panel()->color(), Color::grey(0.3));
  panel()->setColor(Color::cyan());
  EXPECT_EQ(well_->color(), Color::cyan());
  EXPECT_EQ(recorder_.senders, std::vector<QObject*>({well_}));
  EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::cyan()}));

  QTest::mouseClick(other_, Qt::LeftButton);
  EXPECT_FALSE(well_->isActive()) << "a click activates exclusively";
  panel()->setColor(Color::red());
  EXPECT_EQ(well_->color(), Color::cyan());
}

TEST_F(ColorWells, DeactivatingAllLeavesNoWellActiveAndThePanelOffScreen) {
  activateQuietly(well_, false);
  activateQuietly(other_, false);
  int shows = 0;
  struct ShowCounter : QObject {
    int* shows;
    explicit ShowCounter(int* counter) : shows(counter) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Show) ++*shows;
      return false;
    }
  } counter(&shows);
  panel()->installEventFilter(&counter);
  const QPointer<ColorWell> previous = ColorWell::hiddenWell();
  ColorWell::deactivateAll();
  panel()->removeEventFilter(&counter);

  EXPECT_FALSE(well_->isActive());
  EXPECT_FALSE(other_->isActive());
  EXPECT_EQ(shows, 0);
  EXPECT_TRUE(previous.isNull()) << "each call makes a new hidden well";
  ColorWell* hidden = ColorWell::hiddenWell();
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(hidden->isActive());
  EXPECT_EQ(hidden->color(),
            Color::rgb(0.00392156862745098, 0.00784313725490196, 0.011764705882352941));
}

TEST_F(ColorWells, AClickOpensThePopoverOnThePopoverWell) {
  popoverWell_->setColor(Color::yellow());
  popoverWell_->setTarget(&recorder_);
  popoverWell_->setAction(&Recorder::wellChanged);
  QTest::mouseClick(popoverWell_, Qt::LeftButton);
  EXPECT_TRUE(popoverWell_->isActive());
  EXPECT_TRUE(popover()->isShown());
  EXPECT_FALSE(panel()->isVisible());
  EXPECT_EQ(popover()->colorWell(), popoverWell_);
  EXPECT_EQ(popover()->delegate(), popoverWell_);
  EXPECT_EQ(popover()->color(), Color::yellow());

  panel()->setColor(Color::blue());
  EXPECT_EQ(popoverWell_->color(), Color::blue());
  EXPECT_EQ(recorder_.colors, std::vector<Color>({Color::blue()}));

  popover()->close();
  EXPECT_FALSE(popoverWell_->isActive());
  EXPECT_EQ(popover()->delegate(), nullptr);
}

TEST_F(ColorWells, APopoverWellUsesTheFloatingPanelWhenItIsOnScreenAndAllowed) {
  for (const bool allowed : {true, false}) {
    resetColorPicker();
    panel()->orderFront();
    popoverWell_->setUseColorPanelIfAvailable(allowed);
    QTest::mouseClick(popoverWell_, Qt::LeftButton);
    EXPECT_TRUE(popoverWell_->isActive());
    EXPECT_EQ(popover()->isShown(), !allowed);
    EXPECT_EQ(panel()->isVisible(), allowed);
    popoverWell_->deactivate();
  }
}

TEST_F(ColorWells, ADoubleClickMovesEditingIntoThePopoverOnlyFromAPanelOnScreen) {
  doubleClick(popoverWell_);
  EXPECT_FALSE(popoverWell_->isActive()) << "two ordinary clicks";
  panel()->orderFront();
  doubleClick(popoverWell_);
  EXPECT_TRUE(popoverWell_->isActive());
  EXPECT_TRUE(popover()->isShown());
  EXPECT_EQ(popover()->colorWell(), popoverWell_);
  EXPECT_FALSE(panel()->isVisible());
}

TEST_F(ColorWells, ActivatingAnActiveWellOrDeactivatingAnInactiveOneDoesNothing) {
  QTest::mouseClick(popoverWell_, Qt::LeftButton);
  const QPointer<QObject> content = controller();
  popoverWell_->activate(true);
  popoverWell_->activateWithPopover();
  EXPECT_FALSE(content.isNull()) << "no second showing";

  QVPopoverColorWell idle(&host_);
  idle.deactivate();
  EXPECT_EQ(popover()->colorWell(), popoverWell_);
  EXPECT_EQ(popover()->delegate(), popoverWell_);
}

}  // namespace
}  // namespace pellimo::test
