// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/QVIconTabBar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

#include "colorpicker/QVIconTabBarDelegate.h"
#include "colorpicker/TabGradients.h"

namespace pellimo::colorpicker {

QVIconTabBar::QVIconTabBar(QWidget* parent) : Control(parent) {}

QVIconTabBar::Item QVIconTabBar::itemAtX(double x) const {
  const double position = std::floor((x - startX()) / itemWidth_);
  if (!std::isfinite(position) || position < 0 || position >= static_cast<double>(items_.size())) {
    return nullptr;
  }
  return items_[static_cast<std::size_t>(position)];
}

void QVIconTabBar::setItems(const Items& items) {
  if (&items == &items_) return;
  items_ = items;
  for (const Item& item : items_)
    item->setTabBar(this);
  if (selectedIndexes_.empty()) selectedIndexes_.insert(0);
  update();
}

QVIconTabBar::Item QVIconTabBar::selectedItem() const {
  if (selectedIndexes_.empty() || *selectedIndexes_.begin() >= items_.size()) return nullptr;
  return items_[*selectedIndexes_.begin()];
}

qint64 QVIconTabBar::selectedIndex() const {
  return selectedIndexes_.empty() ? -1 : static_cast<qint64>(*selectedIndexes_.begin());
}

std::optional<QVIconTabBar::Items> QVIconTabBar::selectedItems() const {
  if (selectedIndexes_.empty()) return std::nullopt;
  Items selected;
  for (std::size_t index : selectedIndexes_) {
    if (index < items_.size()) selected.push_back(items_[index]);
  }
  return selected;
}

void QVIconTabBar::setMultipleSelection(bool multipleSelection) {
  if (multipleSelection == multipleSelection_) return;
  multipleSelection_ = multipleSelection;
  if (!multipleSelection_ && selectedIndexes_.size() > 1) {
    selectedIndexes_ = {*selectedIndexes_.begin()};
    update();
  }
}

void QVIconTabBar::selectIndexes(const IndexSet& indexes, bool byExtendingSelection) {
  if (indexes.empty()) {
    qInfo("Selection indexset empty.");
    return;
  }
  if (!byExtendingSelection || !multipleSelection_) deselectAll();
  if (multipleSelection_) {
    selectedIndexes_.insert(indexes.begin(), indexes.end());
  } else {
    selectedIndexes_.insert(*indexes.begin());
  }
  update();
}

void QVIconTabBar::selectIndex(std::size_t index) {
  selectIndexes({index}, true);
}

void QVIconTabBar::selectItem(const Item& item) {
  if (const auto index = indexOfItem(item)) selectIndex(*index);
}

void QVIconTabBar::deselectIndexes(const IndexSet& indexes) {
  if (indexes.empty()) {
    qInfo("Deselection indexset empty.");
    return;
  }
  for (std::size_t index : indexes)
    selectedIndexes_.erase(index);
  update();
}

void QVIconTabBar::deselectIndex(std::size_t index) {
  deselectIndexes({index});
}

void QVIconTabBar::deselectItem(const Item& item) {
  if (const auto index = indexOfItem(item)) deselectIndex(*index);
}

void QVIconTabBar::deselectAll() {
  selectedIndexes_.clear();
  update();
}

void QVIconTabBar::selectAll() {
  if (items_.empty()) return;
  IndexSet all;
  for (std::size_t index = 0; index < items_.size(); ++index)
    all.insert(index);
  selectIndexes(all, true);
}

void QVIconTabBar::notify() {
  sendAction();
  if (delegate_) delegate_->tabBarChangedSelection(this);
}

void QVIconTabBar::mousePressEvent(QMouseEvent* event) {
  const Item item = itemAtX(event->position().x());
  if (!item) {
    Control::mousePressEvent(event);
    return;
  }
  dragging_ = true;
  pressedItem_ = item;
  if (!multipleSelection_) {
    selectItem(item);
  } else {
    // The first tab decides whether this press-and-drag selects or deselects.
    firstItemWasSelected_ = !isSelected(item);
    if (firstItemWasSelected_) {
      selectItem(item);
    } else {
      deselectItem(item);
    }
  }
  notify();
  update();
}

void QVIconTabBar::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    Control::mouseMoveEvent(event);
    return;
  }
  const Item item = itemAtX(event->position().x());
  if (item == pressedItem_) return;
  pressedItem_ = item;
  if (!multipleSelection_ || firstItemWasSelected_) {
    selectItem(item);
  } else {
    deselectItem(item);
  }
  notify();
  update();
}

void QVIconTabBar::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_) {
    Control::mouseReleaseEvent(event);
    return;
  }
  pressedItem_ = nullptr;
  dragging_ = false;
  update();
}

QRectF QVIconTabBar::fromBottomLeft(double left, double bottom, double width, double height) const {
  return QRectF(left, this->height() - bottom - height, width, height);
}

void QVIconTabBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TabColors& colors = tabColors(isActiveWindow());
  const double h = height();
  const double w = itemWidth_;

  toolTipRects_.clear();
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const double x = startX() + static_cast<double>(i) * w;
    const QRectF tab = fromBottomLeft(std::floor(x + 0.5), 1, w, h - 2);
    toolTipRects_.emplace_back(tab.toAlignedRect(), items_[i]->tooltip());

    if (selectedIndexes_.count(i)) {
      fillGradient(painter, tab, colors.fill);
      fillGradient(painter, fromBottomLeft(std::floor(x + 0.5), 1, 1, h - 2), colors.outerEdge);
      fillGradient(painter, fromBottomLeft(std::floor(x + 1.5), 1, 1, h - 2), colors.innerEdge);
      fillGradient(painter, fromBottomLeft(std::floor(x + w + 0.5), 1, 1, h - 2), colors.outerEdge);
      fillGradient(painter, fromBottomLeft(std::floor(x + w - 0.5), 1, 1, h - 2), colors.innerEdge);
    }

    const QPixmap& icon = items_[i]->icon();
    const QSizeF size = icon.deviceIndependentSize();
    const double left = std::round(x + w / 2 - size.width() / 2);
    const double bottom = std::round(h / 2 - size.height() / 2);
    painter.drawPixmap(fromBottomLeft(left, bottom, size.width(), size.height()).topLeft(), icon);
  }

  // A one-point line centred half a point above the bottom edge covers the bottom row.
  painter.fillRect(fromBottomLeft(0, 0, width(), 1), bottomRuleColor());
}

bool QVIconTabBar::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    showToolTip(help->pos(), help->globalPos());
    return true;
  }
  return Control::event(event);
}

void QVIconTabBar::showToolTip(const QPoint& position, const QPoint& globalPosition) {
  for (const auto& [rect, text] : toolTipRects_) {
    if (rect.contains(position)) {
      QToolTip::showText(globalPosition, text, this, rect);
      return;
    }
  }
  QToolTip::hideText();
}

void QVIconTabBar::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) update();
  Control::changeEvent(event);
}

std::optional<std::size_t> QVIconTabBar::indexOfItem(const Item& item) const {
  const auto found = std::find(items_.begin(), items_.end(), item);
  if (!item || found == items_.end()) return std::nullopt;
  return static_cast<std::size_t>(found - items_.begin());
}

bool QVIconTabBar::isSelected(const Item& item) const {
  const auto selected = selectedItems();
  return selected && std::find(selected->begin(), selected->end(), item) != selected->end();
}

}  // namespace pellimo::colorpicker
