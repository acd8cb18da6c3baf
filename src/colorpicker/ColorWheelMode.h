// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colorpicker/ColorMode.h"

class QSlider;

namespace pellimo::colorpicker {

class ColorWheel;

/// Hue and saturation on a wheel, brightness on a slider beside it.
class ColorWheelMode : public ColorMode {
  Q_OBJECT

 public:
  explicit ColorWheelMode(QWidget* parent = nullptr);

  void showColor(const ansi::Color& color) override;
  static QPixmap icon();

 private:
  void pick();

  ColorWheel* wheel_;
  QSlider* brightness_;
  double hue_ = 0.0;
  double saturation_ = 0.0;
};

}  // namespace pellimo::colorpicker
