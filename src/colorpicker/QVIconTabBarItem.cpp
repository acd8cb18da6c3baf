// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/QVIconTabBarItem.h"

#include "colorpicker/QVIconTabBar.h"

namespace pellimo::colorpicker {

std::shared_ptr<QVIconTabBarItem> QVIconTabBarItem::itemWithIcon(const QPixmap& icon,
                                                                 const QString& tooltip) {
  return std::make_shared<QVIconTabBarItem>(icon, tooltip);
}

QVIconTabBarItem::QVIconTabBarItem(const QPixmap& icon, const QString& tooltip) {
  setIcon(icon);
  setTooltip(tooltip);
}

void QVIconTabBarItem::setIcon(const QPixmap& icon) {
  if (icon.cacheKey() == icon_.cacheKey()) return;
  icon_ = icon;
  if (tabBar_) tabBar_->update();
}

QVIconTabBar* QVIconTabBarItem::tabBar() const {
  return tabBar_;
}

void QVIconTabBarItem::setTabBar(QVIconTabBar* tabBar) {
  tabBar_ = tabBar;
}

}  // namespace pellimo::colorpicker
