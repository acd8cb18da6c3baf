// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/PopoverWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScreen>

#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"

namespace pellimo::colorpicker {

namespace {

constexpr int kFadeInMilliseconds = 150;

}  // namespace

PopoverWindow::PopoverWindow(QVColorPickerPopover* popover)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), popover_(popover) {
  // Some platforms replay the press that closes a popup to the window beneath, xcb does not:
  // with no replay anywhere, mousePressEvent hands a colour well its click alike everywhere.
  setAttribute(Qt::WA_NoMouseReplay);
}

void PopoverWindow::present(const QRect& anchor, QWidget* content, RectEdge edge, bool animated) {
  const QScreen* screen = QGuiApplication::screenAt(anchor.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  placement_ = placePopover(anchor, content->size(), edge, screen->availableGeometry());

  if (content->parentWidget() != this) content->setParent(this);
  content->setGeometry(placement_.content);
  content->show();
  setGeometry(placement_.frame);
  updateShape();

  if (fadeIn_) fadeIn_->stop();
  if (animated) {
    setWindowOpacity(0.0);
    auto* fadeIn = new QPropertyAnimation(this, "windowOpacity", this);
    fadeIn->setDuration(kFadeInMilliseconds);
    fadeIn->setEndValue(1.0);
    fadeIn->start(QAbstractAnimation::DeleteWhenStopped);
    fadeIn_ = fadeIn;
  } else {
    setWindowOpacity(1.0);
  }
  show();
}

void PopoverWindow::setHidesArrow(bool hidesArrow) {
  if (hidesArrow == hidesArrow_) return;
  hidesArrow_ = hidesArrow;
  updateShape();
}

void PopoverWindow::updateShape() {
  // A mask rather than a translucent window: without a compositing manager the arrow's
  // surroundings would be drawn black.
  QRegion shape(placement_.content);
  if (!hidesArrow_) shape += QRegion(placement_.arrow);
  setMask(shape);
  update();
}

void PopoverWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath outline;
  outline.addRect(QRectF(placement_.content).adjusted(0.5, 0.5, -0.5, -0.5));
  if (!hidesArrow_) {
    QPainterPath arrow;
    arrow.addPolygon(QPolygonF(placement_.arrow));
    arrow.closeSubpath();
    outline = outline.united(arrow);
  }
  painter.setPen(palette().color(QPalette::Mid));
  painter.setBrush(palette().window());
  painter.drawPath(outline);
}

void PopoverWindow::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    popover_->cancelOperation();
    return;
  }
  QWidget::keyPressEvent(event);
}

void PopoverWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->globalPosition().toPoint();
  // The served well's click only closes, as a click on an active well deactivates it.
  auto* well = qobject_cast<ColorWell*>(QApplication::widgetAt(at));
  const QPointer<ColorWell> clicked = well != popover_->colorWell() ? well : nullptr;
  QWidget::mousePressEvent(event);
  // Still visible: the press was inside, or the delegate refused the closing.
  if (clicked && !isVisible()) {
    clicked->performActivationClickWithShiftDown(event->modifiers().testFlag(Qt::ShiftModifier));
  }
}

void PopoverWindow::closeEvent(QCloseEvent* event) {
  // The popover hides this window itself when it closes, so a close event is Qt closing the
  // popup on its own.
  if (popover_->delegatePopoverShouldClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void PopoverWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  popover_->windowDidHide();
}

}  // namespace pellimo::colorpicker
