// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "TestSupport.h"
#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "colorpicker/QVColorPickerViewController.h"
#include "colorpicker/QVIconTabBar.h"
#include "colorpicker/QVIconTabBarDelegate.h"

namespace pellimo::test {

using ansi::Color;
using colorpicker::ColorPanel;
using colorpicker::ColorWell;
using colorpicker::QVColorPickerPopover;
using colorpicker::QVIconTabBar;

/// A target and tab bar delegate that records what it is sent.
struct Recorder : QObject, colorpicker::QVIconTabBarDelegate {
  void popoverChanged(QVColorPickerPopover* sender) {
    senders.push_back(sender);
    colors.push_back(sender->color().value_or(Color::black()));
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
  std::vector<Color> colors;
  std::vector<QVIconTabBar::IndexSet> selections, delegateSelections;
};

inline QVColorPickerPopover* popover() {
  return QVColorPickerPopover::sharedPopover();
}
inline ColorPanel* panel() {
  return ColorPanel::sharedColorPanel();
}

/// A mouse event at a global position, delivered straight to `widget`.
inline void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& global,
                      Qt::MouseButtons buttons) {
  QMouseEvent event(type, widget->mapFromGlobal(QPointF(global)), QPointF(global), Qt::LeftButton,
                    buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

/// Brings the shared popover, panel and wells back to their resting state between tests.
inline void resetColorPicker() {
  popover()->close();
  popover()->setDelegate(nullptr);
  popover()->setShouldHideAnchor(false);
  popover()->setAnimates(true);
  popover()->setColor(Color::white());
  ColorWell::deactivateAll();
  panel()->orderOut();
  panel()->setMode(ColorPanel::Mode::Wheel);
  panel()->setShowsAlpha(false);
  panel()->setColor(Color::white());
  QApplication::processEvents();
}

/// The screen rectangle a widget covers, from its window's geometry.
inline QRect screenRect(const QWidget* widget) {
  const QWidget* window = widget->window();
  return QRect(window->geometry().topLeft() + widget->mapTo(window, QPoint(0, 0)), widget->size());
}

}  // namespace pellimo::test
