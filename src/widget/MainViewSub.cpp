#include "widget/MainViewSub.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWindow>

#include "platform/NotificationCenter.h"
#include "widget/ViewController.h"
#include "widget/WindowEdges.h"
#include "widget/windowSub.h"

namespace pellimo::widget {

MainViewSub::Timings& MainViewSub::timings() {
  static Timings delays;
  return delays;
}

MainViewSub::MainViewSub(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  setMouseTracking(true);
  platform::NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("clearView"),
                                                            [this] { clear(); });
  connect(&zoom_, &ZoomAnimation::scaleChanged, this, qOverload<>(&QWidget::update));
  connect(&zoom_, &ZoomAnimation::finished, this, [this] {
    snapshot_ = QPixmap();
    for (const auto& child : hiddenForZoom_) {
      if (child) child->show();
    }
    hiddenForZoom_.clear();
    update();
  });
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

void MainViewSub::zoom(double durationSeconds) {
  if (!zoom_.isRunning()) {
    // The content is drawn once at its own size and scaled as a picture while the zoom runs.
    snapshot_ = grab();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (child->isVisible()) {
        hiddenForZoom_.append(child);
        child->hide();
      }
    }
  }
  zoom_.start(static_cast<int>(durationSeconds * 1000));
}

void MainViewSub::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(rect(), Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (zoom_.isRunning() && !snapshot_.isNull()) {
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.scale(zoom_.scale(), zoom_.scale());
    painter.translate(-centre);
    painter.drawPixmap(0, 0, snapshot_);
  } else {
    paintLayer(painter);
  }
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
}

bool MainViewSub::isResizable() const {
  const auto* frame = qobject_cast<const windowSub*>(window());
  return frame && frame->isResizable();
}

void MainViewSub::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const Qt::Edges edges = edgesAt(size(), event->position().toPoint());
  if (edges && isResizable() && window()->windowHandle()) {
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
    const Qt::Edges edges =
        isResizable() ? edgesAt(size(), event->position().toPoint()) : Qt::Edges();
    if (edges) {
      setCursor(cursorForEdges(edges));
    } else {
      unsetCursor();
    }
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
  pressed_ = false;
  QWidget::mouseReleaseEvent(event);
}

void MainViewSub::mouseDoubleClickEvent(QMouseEvent* event) {
  pressed_ = false;
  if (event->button() != Qt::LeftButton || !root_) return;
  emit doubleClicked();
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
