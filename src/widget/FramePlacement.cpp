#include "widget/FramePlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace pellimo::widget {

QRect placedFrame(const QRect& stored, const QRect& current) {
  QRect frame = stored;
  if (frame.width() <= 0 || frame.height() <= 0) frame.setSize(current.size());
  const auto screens = QGuiApplication::screens();
  for (const QScreen* screen : screens) {
    if (screen->geometry().intersects(frame)) return frame;
  }
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    frame.moveTopLeft(primary->availableGeometry().topLeft());
  }
  return frame;
}

}  // namespace pellimo::widget
