#pragma once

#include <array>

#include "colorpicker/ColorMode.h"

namespace pellimo::colorpicker {

class SliderRow;

/// Red, green and blue sliders in 8-bit steps.
class RgbSlidersMode : public ColorMode {
  Q_OBJECT

 public:
  explicit RgbSlidersMode(QWidget* parent = nullptr);

  void showColor(const ansi::Color& color) override;
  static QPixmap icon();

 private:
  std::array<SliderRow*, 3> rows_{};
};

}  // namespace pellimo::colorpicker
