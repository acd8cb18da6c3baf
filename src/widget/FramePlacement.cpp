// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/FramePlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace pellimo::widget {

namespace {

// Far beyond any desktop, yet far inside what a pixel coordinate can hold.
constexpr qreal kFarthest = 1 << 20;

QRect boundedRect(const QRectF& rect) {
  const auto bounded = [](qreal value) { return qBound(-kFarthest, value, kFarthest); };
  return QRectF(bounded(rect.x()), bounded(rect.y()), bounded(rect.width()), bounded(rect.height()))
      .toRect();
}

}  // namespace

const QScreen* screenUnder(const QRect& frame) {
  const QScreen* best = nullptr;
  qint64 bestArea = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect shared = screen->geometry().intersected(frame);
    const qint64 area = qint64(shared.width()) * shared.height();
    if (area > bestArea) {
      best = screen;
      bestArea = area;
    }
  }
  return best;
}

QRect placedFrame(const QRectF& stored, const QRect& current) {
  QRect frame = boundedRect(stored);
  if (frame.width() <= 0 || frame.height() <= 0) frame.setSize(current.size());
  const QScreen* screen = screenUnder(frame);
  if (!screen) {
    screen = QGuiApplication::primaryScreen();
    if (!screen) return frame;
    frame.moveTopLeft(screen->availableGeometry().topLeft());
  }
  const QRect area = screen->availableGeometry();
  frame.setSize(frame.size().boundedTo(area.size()).expandedTo(kMinimumFrameSize));
  return keptIn(frame, area);
}

QRect keptIn(QRect frame, const QRect& area) {
  frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width())));
  frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height())));
  return frame;
}

}  // namespace pellimo::widget
