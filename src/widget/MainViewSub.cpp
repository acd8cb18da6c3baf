#include "widget/MainViewSub.h"

#include <QPainter>
#include <QPainterPath>

namespace pellimo::widget {

MainViewSub::MainViewSub(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
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

void MainViewSub::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(rect(), Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  QPainterPath shape;
  shape.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
  painter.fillPath(shape, background_);
  if (borderWidth_ > 0) {
    // The border lies inside the clipped shape, as a layer's border does.
    const double inset = borderWidth_ / 2;
    painter.setPen(QPen(border_, borderWidth_));
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), cornerRadius_,
                            cornerRadius_);
  }
}

}  // namespace pellimo::widget
