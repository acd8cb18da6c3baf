// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <memory>

namespace pellimo::colorpicker {

class QVIconTabBar;

/// One tab of a `QVIconTabBar`: a picture drawn at its own size and a tool tip.
class QVIconTabBarItem {
 public:
  static std::shared_ptr<QVIconTabBarItem> itemWithIcon(const QPixmap& icon,
                                                        const QString& tooltip);
  QVIconTabBarItem(const QPixmap& icon, const QString& tooltip);

  const QPixmap& icon() const { return icon_; }
  /// Redraws the owning bar when the picture is another image than the current one.
  void setIcon(const QPixmap& icon);
  const QString& tooltip() const { return tooltip_; }
  void setTooltip(const QString& tooltip) { tooltip_ = tooltip; }
  QVIconTabBar* tabBar() const;
  void setTabBar(QVIconTabBar* tabBar);

 private:
  QPixmap icon_;
  QString tooltip_;
  QPointer<QVIconTabBar> tabBar_;
};

}  // namespace pellimo::colorpicker
