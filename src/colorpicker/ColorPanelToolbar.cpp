// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/ColorPanelToolbar.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "colorpicker/ColorPanel.h"

namespace pellimo::colorpicker {

ColorPanelToolbar::ColorPanelToolbar(ColorPanel* panel) : QWidget(panel), panel_(panel) {
  setFixedHeight(kHeight);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);
  layout->addStretch(1);
  layout->addStretch(1);
}

void ColorPanelToolbar::addItem(const QString& identifier, const QPixmap& image,
                                const QString& toolTip, ColorPanelToolbarItem::ModeAction action) {
  items_.push_back(std::make_unique<ColorPanelToolbarItem>(identifier, image, toolTip, action));
  ColorPanelToolbarItem* item = items_.back().get();

  auto* button = new QToolButton(this);
  button->setIcon(QIcon(image));
  button->setIconSize(image.size());
  button->setToolTip(toolTip);
  button->setCheckable(true);
  button->setAutoRaise(true);
  connect(button, &QToolButton::clicked, this, [this, item] { (panel_->*item->action())(item); });
  buttons_.push_back(button);
  // Between the two stretches, so the buttons stay centred.
  auto* row = static_cast<QHBoxLayout*>(layout());
  row->insertWidget(row->count() - 1, button);
}

void ColorPanelToolbar::setSelectedItemIdentifier(const QString& identifier) {
  selectedItemIdentifier_ = identifier;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    buttons_[i]->setChecked(items_[i]->itemIdentifier() == identifier);
  }
}

}  // namespace pellimo::colorpicker
