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

qint64 sharedArea(const QRect& a, const QRect& b) {
  const QRect shared = a.intersected(b);
  return qint64(shared.width()) * shared.height();
}

}  // namespace

ScreenAreas currentScreens() {
  ScreenAreas areas;
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const ScreenArea area{screen->geometry(), screen->availableGeometry()};
    if (screen == primary) {
      areas.prepend(area);
    } else {
      areas.append(area);
    }
  }
  return areas;
}

const QScreen* screenUnder(const QRect& frame) {
  const QScreen* best = nullptr;
  qint64 bestArea = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const qint64 area = sharedArea(screen->geometry(), frame);
    if (area > bestArea) {
      best = screen;
      bestArea = area;
    }
  }
  return best;
}

QRect placedFrame(const QRectF& stored, const QRect& current, const ScreenAreas& screens) {
  QRect frame = boundedRect(stored);
  if (frame.width() <= 0 || frame.height() <= 0) frame.setSize(current.size());
  if (screens.isEmpty()) return frame;
  const ScreenArea* screen = nullptr;
  qint64 bestArea = 0;
  for (const ScreenArea& candidate : screens) {
    const qint64 area = sharedArea(candidate.geometry, frame);
    if (area > bestArea) {
      screen = &candidate;
      bestArea = area;
    }
  }
  if (!screen) {
    screen = &screens.first();
    frame.moveTopLeft(screen->available.topLeft());
  }
  const QRect& area = screen->available;
  frame.setSize(frame.size().boundedTo(area.size()).expandedTo(kMinimumFrameSize));
  return keptIn(frame, area);
}

QRect placedFrame(const QRectF& stored, const QRect& current) {
  return placedFrame(stored, current, currentScreens());
}

QRect keptIn(QRect frame, const QRect& area) {
  frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width())));
  frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height())));
  return frame;
}

}  // namespace pellimo::widget
