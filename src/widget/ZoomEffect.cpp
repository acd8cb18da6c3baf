// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/ZoomEffect.h"

#include <QPainter>

namespace pellimo::widget {

void ZoomEffect::setScale(double scale) {
  scale_ = scale;
  update();
}

void ZoomEffect::draw(QPainter* painter) {
  QPoint offset;
  const QPixmap picture = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
  const QPointF centre = sourceBoundingRect(Qt::LogicalCoordinates).center();
  painter->save();
  painter->setRenderHint(QPainter::SmoothPixmapTransform);
  painter->translate(centre);
  painter->scale(scale_, scale_);
  painter->translate(-centre);
  painter->drawPixmap(offset, picture);
  painter->restore();
}

}  // namespace pellimo::widget
