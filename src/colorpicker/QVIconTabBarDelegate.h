// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pellimo::colorpicker {

class QVIconTabBar;

/// Told by a `QVIconTabBar` of every selection change the pointer makes.
class QVIconTabBarDelegate {
 public:
  virtual void tabBarChangedSelection(QVIconTabBar* tabBar) = 0;

 protected:
  ~QVIconTabBarDelegate() = default;
};

}  // namespace pellimo::colorpicker
