// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

namespace pellimo::colorpicker {

class ColorPanel;

/// One mode of the colour panel as its toolbar offers it.
class ColorPanelToolbarItem {
 public:
  /// Sent to the panel with the item as its argument, as a click on the item does.
  using ModeAction = void (ColorPanel::*)(ColorPanelToolbarItem* sender);

  ColorPanelToolbarItem(const QString& identifier, const QPixmap& image, const QString& toolTip,
                        ModeAction action)
      : identifier_(identifier), image_(image), toolTip_(toolTip), action_(action) {}

  const QString& itemIdentifier() const { return identifier_; }
  const QPixmap& image() const { return image_; }
  const QString& toolTip() const { return toolTip_; }
  ModeAction action() const { return action_; }

 private:
  QString identifier_;
  QPixmap image_;
  QString toolTip_;
  ModeAction action_;
};

}  // namespace pellimo::colorpicker
