// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/windowSub.h"

#include <QTimer>

namespace pellimo::widget {

namespace {

constexpr int kSettleMs = 150;

}  // namespace

windowSub::windowSub(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  // Translucency must be chosen before the native window exists; it cannot change later.
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(QStringLiteral("Pellimo"));
  resize(480, 270);
  for (QTimer* timer : {&moveSettled_, &resizeSettled_}) {
    timer->setSingleShot(true);
    timer->setInterval(kSettleMs);
  }
  connect(&moveSettled_, &QTimer::timeout, this, &windowSub::didMove);
  connect(&resizeSettled_, &QTimer::timeout, this, &windowSub::didEndLiveResize);
}

void windowSub::setFrame(const QRect& frame) {
  const bool moves = frame.topLeft() != geometry().topLeft();
  setGeometry(frame);
  if (moves) moveSettled_.start();
}

void windowSub::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The first placement when the window is mapped is not a move.
  QTimer::singleShot(kSettleMs, this, [this] { placed_ = true; });
}

void windowSub::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (placed_) moveSettled_.start();
}

void windowSub::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (placed_) resizeSettled_.start();
}

}  // namespace pellimo::widget
