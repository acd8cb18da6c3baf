// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "colorpicker/ColorPanelToolbarItem.h"

class QToolButton;

namespace pellimo::colorpicker {

class ColorPanel;

/// The row of mode buttons at the top of the colour panel window, above its content view.
class ColorPanelToolbar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 34;

  explicit ColorPanelToolbar(ColorPanel* panel);

  void addItem(const QString& identifier, const QPixmap& image, const QString& toolTip,
               ColorPanelToolbarItem::ModeAction action);
  const std::vector<std::unique_ptr<ColorPanelToolbarItem>>& items() const { return items_; }
  const QString& selectedItemIdentifier() const { return selectedItemIdentifier_; }
  void setSelectedItemIdentifier(const QString& identifier);

 private:
  ColorPanel* panel_;
  std::vector<std::unique_ptr<ColorPanelToolbarItem>> items_;
  std::vector<QToolButton*> buttons_;
  QString selectedItemIdentifier_;
};

}  // namespace pellimo::colorpicker
