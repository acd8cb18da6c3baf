// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/ColorMode.h"

#include <QPainter>

namespace pellimo::colorpicker {

QPixmap ColorMode::drawIcon(const std::function<void(QPainter&, const QRectF&)>& draw) {
  constexpr int kIconSize = 24;
  QPixmap icon(kIconSize, kIconSize);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, QRectF(2, 2, kIconSize - 4, kIconSize - 4));
  return icon;
}

}  // namespace pellimo::colorpicker
