#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QToolButton;

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
