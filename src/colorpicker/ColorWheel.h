// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

namespace pellimo::colorpicker {

/// A disc of hues around its centre (red to the right, counter-clockwise) and saturations
/// from its centre outwards, drawn at full brightness whatever the colour's: a dark colour
/// would otherwise hide every hue.
class ColorWheel : public QWidget {
  Q_OBJECT

 public:
  explicit ColorWheel(QWidget* parent = nullptr);

  /// Places the marker without reporting a pick.
  void setMarker(double hue, double saturation);
  QSize sizeHint() const override { return {160, 160}; }
  QSize minimumSizeHint() const override { return {80, 80}; }

 signals:
  void hueSaturationPicked(double hue, double saturation);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QRectF discRect() const;
  void pickAt(const QPointF& position);

  QImage disc_;
  double hue_ = 0.0;
  double saturation_ = 0.0;
};

}  // namespace pellimo::colorpicker
