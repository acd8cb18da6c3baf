// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/QVColorPickerPopoverView.h"

#include <QMouseEvent>
#include <QPropertyAnimation>
#include <cmath>

#include "colorpicker/ColorPanel.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "colorpicker/QVColorPickerViewController.h"

namespace pellimo::colorpicker {

namespace {

constexpr int kSnapBackMilliseconds = 200;

}  // namespace

QVColorPickerPopoverView::QVColorPickerPopoverView(QWidget* parent) : QWidget(parent) {}

QPointF QVColorPickerPopoverView::windowLocation(const QMouseEvent* event) const {
  // From the global position: the window moves under the pointer, and an event's own window
  // coordinates may predate the latest move.
  return event->globalPosition() - QPointF(window()->geometry().topLeft());
}

double QVColorPickerPopoverView::distanceFromStart() const {
  const QPoint offset = window()->pos() - originalWindowOrigin_;
  return std::hypot(offset.x(), offset.y());
}

void QVColorPickerPopoverView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  if (snapBack_) snapBack_->stop();
  originalWindowOrigin_ = window()->pos();
  originalMouseOffset_ = windowLocation(event);
  dragging_ = true;
}

void QVColorPickerPopoverView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPointF delta = windowLocation(event) - originalMouseOffset_;
  // The distance is the one before this move, so the arrow goes one event after the threshold.
  const double distance = distanceFromStart();
  window()->move(window()->pos() + delta.toPoint());
  QVColorPickerPopover::sharedPopover()->setShouldHideAnchor(distance >= kDetachDistance);
}

void QVColorPickerPopoverView::mouseReleaseEvent(QMouseEvent*) {
  if (!dragging_) return;
  if (distanceFromStart() < kDetachDistance) {
    auto* animation = new QPropertyAnimation(window(), "pos", this);
    animation->setDuration(kSnapBackMilliseconds);
    animation->setEndValue(originalWindowOrigin_);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    snapBack_ = animation;
  } else {
    detach();
  }
  QVColorPickerPopover::sharedPopover()->setShouldHideAnchor(false);
  dragging_ = false;
}

void QVColorPickerPopoverView::detach() {
  ColorPanel* panel = ColorPanel::sharedColorPanel();
  QVColorPickerPopover* popover = QVColorPickerPopover::sharedPopover();
  const QVColorPickerViewController* controller = popover->contentViewController();
  const QWidget* content = controller ? controller->colorPanelView() : nullptr;
  QRect onScreen;
  if (content) {
    const QWidget* window = content->window();
    onScreen =
        QRect(window->geometry().topLeft() + content->mapTo(window, QPoint(0, 0)), content->size());
  }
  panel->setGeometry(panel->frameRectForContentRect(onScreen));
  // Target, action, observation and the served well stay: the panel goes on reporting.
  popover->closeAndDeactivateColorWell(false, false, false);
  panel->orderFront();
}

}  // namespace pellimo::colorpicker
