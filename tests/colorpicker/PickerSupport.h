#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <vector>

#include "TestSupport.h"
#include "ansi/Color.h"
#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "colorpicker/QVColorPickerViewController.h"
#include "colorpicker/QVIconTabBar.h"
#include "colorpicker/QVIconTabBarDelegate.h"

namespace pellimo::test {

using colorpicker::ColorPanel;
using colorpicker::ColorWell;
using colorpicker::QVColorPickerPopover;
using colorpicker::QVIconTabBar;

/// A target and tab bar delegate that records what it is sent.
class Recorder : public QObject, public colorpicker::QVIconTabBarDelegate {
 public:
  void popoverChanged(QVColorPickerPopover* sender) {
    senders.push_back(sender);
    colors.push_back(sender->color().value_or(ansi::Color::black()));
  }
  void wellChanged(ColorWell* sender) {
    senders.push_back(sender);
    colors.push_back(sender->color());
  }
  void tabsChanged(QVIconTabBar* sender) {
    senders.push_back(sender);
    selections.push_back(sender->selectedIndexes());
  }
  void tabBarChangedSelection(QVIconTabBar* tabBar) override {
    delegateSelections.push_back(tabBar->selectedIndexes());
  }

  std::vector<QObject*> senders;
  std::vector<ansi::Color> colors;
  std::vector<QVIconTabBar::IndexSet> selections;
  std::vector<QVIconTabBar::IndexSet> delegateSelections;
};

inline QVColorPickerPopover* popover() {
  return QVColorPickerPopover::sharedPopover();
}
inline ColorPanel* panel() {
  return ColorPanel::sharedColorPanel();
}

inline QWidget* popoverWindow() {
  return popover()->contentViewController()->view()->window();
}

/// A mouse event at a global position, delivered straight to `widget`.
inline void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& global,
                      Qt::MouseButtons buttons) {
  const QPointF local = widget->mapFromGlobal(QPointF(global));
  QMouseEvent event(type, local, QPointF(global), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

/// Drags from `start` (global) by `offset` in `steps` equal moves, as a hand that holds the
/// pointer over the widget while the widget's window moves along.
inline void dragBy(QWidget* widget, const QPoint& start, const QPoint& offset, int steps) {
  sendMouse(widget, QEvent::MouseButtonPress, start, Qt::LeftButton);
  for (int step = 1; step <= steps; ++step) {
    sendMouse(widget, QEvent::MouseMove, start + offset * step / steps, Qt::LeftButton);
  }
  sendMouse(widget, QEvent::MouseButtonRelease, start + offset, Qt::NoButton);
}

/// Brings the shared popover, panel and wells back to their resting state between tests.
inline void resetColorPicker() {
  popover()->close();
  popover()->setDelegate(nullptr);
  popover()->setShouldHideAnchor(false);
  popover()->setAnimates(true);
  popover()->setColor(ansi::Color::white());
  ColorWell::deactivateAll();
  panel()->orderOut();
  panel()->setMode(ColorPanel::Mode::Wheel);
  panel()->setShowsAlpha(false);
  panel()->setColor(ansi::Color::white());
  QApplication::processEvents();
}

/// The screen rectangle a widget covers, from its window's geometry.
inline QRect screenRect(const QWidget* widget) {
  const QWidget* window = widget->window();
  return QRect(window->geometry().topLeft() + widget->mapTo(window, QPoint(0, 0)), widget->size());
}

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
