// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/QVColorPickerViewController.h"

#include <QVBoxLayout>

#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorPanelToolbar.h"
#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopoverView.h"
#include "colorpicker/QVIconTabBar.h"

namespace pellimo::colorpicker {

namespace {

constexpr QSize kContentSize(250, 400);
constexpr int kTabBarHeight = 34;
// The panel's resize handle would resize the popover; it is left out, found by its class name.
constexpr char kResizeHandleClassName[] = "pellimo::colorpicker::ColorPanelResizeDimple";

}  // namespace

QVColorPickerViewController::QVColorPickerViewController() = default;

QVColorPickerViewController::~QVColorPickerViewController() {
  if (colorPanelView_ && view_ && colorPanelView_->parentWidget() == view_) {
    colorPanel_->restoreContentView();
  }
  delete view_;
}

QWidget* QVColorPickerViewController::view() {
  if (!view_) loadView();
  return view_;
}

void QVColorPickerViewController::loadView() {
  view_ = new QVColorPickerPopoverView;
  view_->setFixedSize(kContentSize);

  if (ColorPanel::sharedColorPanelExists() && ColorPanel::sharedColorPanel()->isVisible()) {
    ColorPanel::sharedColorPanel()->orderOut();
    ColorWell::deactivateAll();
  }

  colorPanel_ = ColorPanel::sharedColorPanel();
  colorPanel_->setShowsAlpha(true);

  QVIconTabBar::Items tabItems;
  std::size_t selectedPosition = 0;
  const ColorPanelToolbar* toolbar = colorPanel_->toolbar();
  for (std::size_t i = 0; i < toolbar->items().size(); ++i) {
    const ColorPanelToolbarItem& item = *toolbar->items()[i];
    tabItems.push_back(QVIconTabBarItem::itemWithIcon(item.image(), item.toolTip()));
    if (item.itemIdentifier() == toolbar->selectedItemIdentifier()) selectedPosition = i;
  }

  tabbar_ = new QVIconTabBar;
  tabbar_->setDelegate(this);
  tabbar_->setItems(tabItems);

  // Across the top at full width; the panel's content takes the rest, in both directions.
  auto* layout = new QVBoxLayout(view_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  tabbar_->setFixedHeight(kTabBarHeight);
  tabbar_->selectIndex(selectedPosition);
  layout->addWidget(tabbar_);

  colorPanelView_ = colorPanel_->contentView();
  layout->addWidget(colorPanelView_, 1);
  colorPanelView_->show();

  const auto children = colorPanelView_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* child : children) {
    if (child->inherits(kResizeHandleClassName)) delete child;
  }
}

void QVColorPickerViewController::tabBarChangedSelection(QVIconTabBar* tabBar) {
  const qint64 index = tabBar->selectedIndex();
  const auto& items = colorPanel_->toolbar()->items();
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return;
  ColorPanelToolbarItem* item = items[static_cast<std::size_t>(index)].get();
  (colorPanel_->*item->action())(item);
}

}  // namespace pellimo::colorpicker
