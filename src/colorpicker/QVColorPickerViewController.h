// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include "colorpicker/QVColorPickerPopoverView.h"
#include "colorpicker/QVIconTabBar.h"
#include "colorpicker/QVIconTabBarDelegate.h"

namespace pellimo::colorpicker {

class ColorPanel;

/// The popover's content: the shared colour panel's content view, borrowed from the panel
/// window, under a tab bar made from the panel's toolbar of modes. One per showing.
class QVColorPickerViewController : public QObject, public QVIconTabBarDelegate {
  Q_OBJECT

 public:
  QVColorPickerViewController();
  /// Gives the panel its content view back if this controller's view still holds it.
  ~QVColorPickerViewController() override;

  /// Built on first use.
  QWidget* view();
  void loadView();

  /// Performs the tab's toolbar item on the colour panel, as a click on that item would.
  void tabBarChangedSelection(QVIconTabBar* tabBar) override;

  ColorPanel* colorPanel() const { return colorPanel_; }
  QVIconTabBar* tabbar() const { return tabbar_; }
  QWidget* colorPanelView() const { return colorPanelView_; }

 private:
  QPointer<QVColorPickerPopoverView> view_;
  ColorPanel* colorPanel_ = nullptr;
  QPointer<QVIconTabBar> tabbar_;
  QPointer<QWidget> colorPanelView_;
};

}  // namespace pellimo::colorpicker
