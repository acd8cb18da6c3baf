// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "colorpicker/Control.h"
#include "colorpicker/QVIconTabBarItem.h"

namespace pellimo::colorpicker {

class QVIconTabBarDelegate;

/// A row of equally wide icon tabs from the left, with single or multiple selection and
/// press-and-drag selection across tabs. Only the pointer notifies the target and the delegate;
/// the selection operations change the selection quietly.
class QVIconTabBar : public Control {
  Q_OBJECT

 public:
  using Item = std::shared_ptr<QVIconTabBarItem>;
  using Items = std::vector<Item>;
  using IndexSet = std::set<std::size_t>;

  explicit QVIconTabBar(QWidget* parent = nullptr);

  /// Left inset of the first tab.
  static constexpr double startX() { return 4.0; }
  /// The tab under `x` (bar coordinates), or none.
  Item itemAtX(double x) const;

  Items& items() { return items_; }
  const Items& items() const { return items_; }
  /// Takes a copy of `items` and becomes their bar; selects the first tab when nothing is
  /// selected. The existing selection is kept as it is, even beyond the new items.
  void setItems(const Items& items);

  Item selectedItem() const;
  /// The lowest selected index, -1 when nothing is selected.
  qint64 selectedIndex() const;
  /// The selected items in index order; none, not an empty list, when nothing is selected.
  std::optional<Items> selectedItems() const;
  IndexSet selectedIndexes() const { return selectedIndexes_; }

  bool multipleSelection() const { return multipleSelection_; }
  /// Turning multiple selection off keeps only the lowest selected index.
  void setMultipleSelection(bool multipleSelection);

  /// In single selection only the lowest index of `indexes` is selected, replacing the
  /// selection whatever `byExtendingSelection` says.
  void selectIndexes(const IndexSet& indexes, bool byExtendingSelection);
  void selectIndex(std::size_t index);
  void selectItem(const Item& item);
  void deselectIndexes(const IndexSet& indexes);
  void deselectIndex(std::size_t index);
  void deselectItem(const Item& item);
  void deselectAll();
  /// Every tab in multiple selection; the first one in single selection.
  void selectAll();

  /// Sends the action to the target, then tells the delegate.
  void notify();

  double itemWidth() const { return itemWidth_; }
  void setItemWidth(double itemWidth) { itemWidth_ = itemWidth; }
  QVIconTabBarDelegate* delegate() const { return delegate_; }
  void setDelegate(QVIconTabBarDelegate* delegate) { delegate_ = delegate; }

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<std::size_t> indexOfItem(const Item& item) const;
  bool isSelected(const Item& item) const;
  /// A rectangle given by its bottom-left corner with y growing upwards, in widget coordinates.
  QRectF fromBottomLeft(double left, double bottom, double width, double height) const;
  void showToolTip(const QPoint& position, const QPoint& globalPosition);

  IndexSet selectedIndexes_;
  Item pressedItem_;
  bool firstItemWasSelected_ = false;
  bool dragging_ = false;
  bool multipleSelection_ = false;
  Items items_;
  double itemWidth_ = 32.0;
  QVIconTabBarDelegate* delegate_ = nullptr;
  std::vector<std::pair<QRect, QString>> toolTipRects_;
};

}  // namespace pellimo::colorpicker
