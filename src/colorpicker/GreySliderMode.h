// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colorpicker/ColorMode.h"

namespace pellimo::colorpicker {

class SliderRow;

/// One slider of grey levels in percent; picks colours of the grey model.
class GreySliderMode : public ColorMode {
  Q_OBJECT

 public:
  explicit GreySliderMode(QWidget* parent = nullptr);

  void showColor(const ansi::Color& color) override;
  static QPixmap icon();

 private:
  SliderRow* row_;
};

}  // namespace pellimo::colorpicker
