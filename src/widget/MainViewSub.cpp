// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/MainViewSub.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWindow>

#include "platform/NotificationCenter.h"
#include "widget/ResizeGrip.h"
#include "widget/ViewController.h"
#include "widget/WindowEdges.h"
#include "widget/ZoomEffect.h"
#include "widget/windowSub.h"

namespace pellimo::widget {

MainViewSub::Timings& MainViewSub::timings() {
  static Timings delays;
  return delays;
}

MainViewSub::MainViewSub(QWidget* parent) : QWidget(parent), zoomEffect_(new ZoomEffect) {
  setAttribute(Qt::WA_TranslucentBackground);
  setMouseTracking(true);
  platform::NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("clearView"),
                                                            [this] { clear(); });
  zoomEffect_->setEnabled(false);
  setGraphicsEffect(zoomEffect_);  // the view owns its effect
  connect(&zoom_, &ZoomAnimation::scaleChanged, zoomEffect_, &ZoomEffect::setScale);
  connect(&zoom_, &ZoomAnimation::finished, this, [this] {
    zoomEffect_->setEnabled(false);
    update();
  });
  click_.setSingleShot(true);
  connect(&click_, &QTimer::timeout, this, [this] { emit clicked(pressPosition_); });
}

void MainViewSub::setLayerBackground(const QColor& color) {
  background_ = color;
  update();
}

void MainViewSub::setBorder(const QColor& color, double width) {
  border_ = color;
  borderWidth_ = width;
  update();
}

void MainViewSub::setCornerRadius(double radius) {
  cornerRadius_ = radius;
  update();
}

void MainViewSub::setOpaque(bool opaque) {
  opaque_ = opaque;
  update();
}

void MainViewSub::setResizeGrip(bool shown) {
  resizeGrip_ = shown;
  if (underMouse()) showPointerFor(mapFromGlobal(QCursor::pos()));
  update();
}

void MainViewSub::zoom(double durationSeconds) {
  zoom_.start(static_cast<int>(durationSeconds * 1000));
  zoomEffect_->setScale(zoom_.scale());
  zoomEffect_->setEnabled(true);
}

void MainViewSub::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(rect(), Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  paintLayer(painter);
  clear();
}

void MainViewSub::paintLayer(QPainter& painter) {
  QPainterPath shape;
  shape.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
  if (opaque_) painter.fillPath(shape, Qt::black);
  painter.fillPath(shape, background_);
  if (borderWidth_ > 0) {
    // The border lies inside the clipped shape, as a layer's border does.
    const double inset = borderWidth_ / 2;
    painter.setPen(QPen(border_, borderWidth_));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), cornerRadius_,
                            cornerRadius_);
  }
  if (resizeGrip_) paintResizeGrip(painter, resizeGripRect(size()), border_);
}

bool MainViewSub::isResizable() const {
  const auto* frame = qobject_cast<const windowSub*>(window());
  return frame && frame->isResizable();
}

Qt::Edges MainViewSub::resizeEdgesAt(const QPoint& position) const {
  if (!isResizable()) return {};
  if (resizeGrip_ && resizeGripRect(size()).contains(position)) {
    return Qt::BottomEdge | Qt::RightEdge;
  }
  return edgesAt(size(), position);
}

void MainViewSub::showPointerFor(const QPoint& position) {
  if (const Qt::Edges edges = resizeEdgesAt(position)) {
    setCursor(cursorForEdges(edges));
  } else if (actsAt_ && actsAt_(position)) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
}

void MainViewSub::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const Qt::Edges edges = resizeEdgesAt(event->position().toPoint());
  if (edges && window()->windowHandle()) {
    window()->windowHandle()->startSystemResize(edges);
    return;
  }
  // A press becomes a drag only once the pointer moves, so that the second click of a
  // double-click still arrives.
  pressed_ = true;
  pressPosition_ = event->position().toPoint();
}

void MainViewSub::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) {
    showPointerFor(event->position().toPoint());
    return;
  }
  if ((event->position().toPoint() - pressPosition_).manhattanLength() <
      QApplication::startDragDistance()) {
    return;
  }
  pressed_ = false;
  if (window()->windowHandle()) window()->windowHandle()->startSystemMove();
}

void MainViewSub::mouseReleaseEvent(QMouseEvent* event) {
  // Released where it was pressed, without a drag: a click, unless a second one follows.
  if (pressed_ && event->button() == Qt::LeftButton) {
    click_.start(QApplication::doubleClickInterval());
  }
  pressed_ = false;
  QWidget::mouseReleaseEvent(event);
}

void MainViewSub::mouseDoubleClickEvent(QMouseEvent* event) {
  pressed_ = false;
  click_.stop();
  if (event->button() != Qt::LeftButton || !root_) return;
  emit doubleClicked();
}

void MainViewSub::contextMenuEvent(QContextMenuEvent* event) {
  emit menuRequested(event->globalPos());
}

void MainViewSub::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The canvas keeps a margin of 5 points and follows the view's size.
  for (QWidget* child :
       findChildren<QWidget*>(QStringLiteral("canvas"), Qt::FindDirectChildrenOnly)) {
    child->setGeometry(rect().adjusted(5, 5, -5, -5));
  }
  for (QWidget* child :
       findChildren<QWidget*>(QStringLiteral("configBtn"), Qt::FindDirectChildrenOnly)) {
    child->move(width() - child->width() - 6, 6);
  }
}

void MainViewSub::updateRect() {
  if (!initiated_) {
    QTimer::singleShot(timings().initiateMs, this, [this] { initiated_ = true; });
    return;
  }
  settle(&MainViewSub::moveSettled);
}

void MainViewSub::windowDidResize() {
  settle(&MainViewSub::resizeSettled);
}

void MainViewSub::settle(void (MainViewSub::*settled)()) {
  if (auto* frame = qobject_cast<windowSub*>(window())) {
    turnResizingOffBriefly(frame, timings().settleMs,
                           [frame](bool resizable) { frame->setResizable(resizable); });
  }
  QTimer::singleShot(timings().settleMs, this, [this, settled] { emit(this->*settled)(); });
}

}  // namespace pellimo::widget
