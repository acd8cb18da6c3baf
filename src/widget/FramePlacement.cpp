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

/// The index of the area sharing the most with `frame`, or -1 when it shares none.
qsizetype mostShared(const QRect& frame, const QList<QRect>& areas) {
  qsizetype best = -1;
  qint64 bestArea = 0;
  for (qsizetype i = 0; i < areas.size(); ++i) {
    const QRect shared = areas[i].intersected(frame);
    const qint64 area = qint64(shared.width()) * shared.height();
    if (area > bestArea) {
      best = i;
      bestArea = area;
    }
  }
  return best;
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
  const QList<QScreen*> screens = QGuiApplication::screens();
  QList<QRect> areas;
  for (const QScreen* screen : screens)
    areas.append(screen->geometry());
  const qsizetype under = mostShared(frame, areas);
  return under < 0 ? nullptr : screens[under];
}

QRect placedFrame(const QRectF& stored, const QRect& current, const ScreenAreas& screens) {
  QRect frame = boundedRect(stored);
  if (frame.width() <= 0 || frame.height() <= 0) frame.setSize(current.size());
  if (screens.isEmpty()) return frame;
  QList<QRect> areas;
  for (const ScreenArea& screen : screens)
    areas.append(screen.geometry);
  const qsizetype under = mostShared(frame, areas);
  const ScreenArea* screen = &screens[qMax(under, qsizetype(0))];
  if (under < 0) frame.moveTopLeft(screen->available.topLeft());
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
