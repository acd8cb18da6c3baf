// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGraphicsEffect>

namespace pellimo::widget {

/// Draws a view, its children included, scaled about its centre. The picture is taken afresh
/// at each frame, so a change of look during a zoom shows in the zoom and outlasts it.
class ZoomEffect : public QGraphicsEffect {
  Q_OBJECT

 public:
  using QGraphicsEffect::QGraphicsEffect;

  void setScale(double scale);
  double scale() const { return scale_; }

 protected:
  void draw(QPainter* painter) override;

 private:
  double scale_ = 1.0;
};

}  // namespace pellimo::widget
