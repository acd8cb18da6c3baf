// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

class QPropertyAnimation;

namespace pellimo::colorpicker {

/// The popover's content view. Dragging it moves the popover; released less than 50 points
/// from where it started, the popover slides back; released farther, it turns into the floating
/// colour panel, with the content at the same place on screen and the same target informed.
class QVColorPickerPopoverView : public QWidget {
  Q_OBJECT

 public:
  static constexpr double kDetachDistance = 50.0;

  explicit QVColorPickerPopoverView(QWidget* parent = nullptr);

  bool dragging() const { return dragging_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  /// The pointer in the coordinates of the window at its present position.
  QPointF windowLocation(const QMouseEvent* event) const;
  double distanceFromStart() const;
  void detach();

  bool dragging_ = false;
  QPoint originalWindowOrigin_;
  QPointF originalMouseOffset_;
  QPointer<QPropertyAnimation> snapBack_;
};

}  // namespace pellimo::colorpicker
