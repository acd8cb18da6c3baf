#pragma once

#include <gtest/gtest.h>

#include <QTest>

#include "PickerSupport.h"

namespace pellimo::test {

/// A window with an anchor control and two plain colour wells, and a colour picker at rest.
class PickerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    resetColorPicker();
    host_.setGeometry(100, 100, 400, 300);
    anchor_ = new QWidget(&host_);
    anchor_->setGeometry(20, 20, 40, 20);
    well_ = new ColorWell(&host_);
    well_->setGeometry(100, 20, 44, 23);
    other_ = new ColorWell(&host_);
    other_->setGeometry(160, 20, 44, 23);
    host_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
  }
  void TearDown() override { resetColorPicker(); }

  void showPopover() {
    popover()->showRelativeToRect(anchor_->geometry(), &host_, colorpicker::RectEdge::MinY);
  }
  void reportToRecorder() {
    popover()->setTarget(&recorder_);
    popover()->setAction(&Recorder::popoverChanged);
  }
  /// Makes `well` the well the popover serves, as a popover colour well does.
  static void serve(ColorWell* well) {
    activateQuietly(well, true);
    popover()->setColorWell(well);
  }
  /// Activates without the panel window coming on screen.
  static void activateQuietly(ColorWell* well, bool exclusive) {
    ColorPanel::disablePanel();
    well->activate(exclusive);
    ColorPanel::enablePanel();
  }
  colorpicker::QVColorPickerViewController* controller() const {
    return popover()->contentViewController();
  }

  QWidget host_;
  QWidget* anchor_ = nullptr;
  ColorWell* well_ = nullptr;
  ColorWell* other_ = nullptr;
  Recorder recorder_;
};

}  // namespace pellimo::test
