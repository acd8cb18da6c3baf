#pragma once

#include <array>

#include "colorpicker/ColorMode.h"

namespace pellimo::colorpicker {

class SliderRow;

/// Hue in degrees, saturation and brightness in percent.
class HsbSlidersMode : public ColorMode {
  Q_OBJECT

 public:
  explicit HsbSlidersMode(QWidget* parent = nullptr);

  void showColor(const ansi::Color& color) override;
  static QPixmap icon();

 private:
  std::array<SliderRow*, 3> rows_{};
};

}  // namespace pellimo::colorpicker
