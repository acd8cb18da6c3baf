// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "colorpicker/ColorMode.h"

namespace pellimo::colorpicker {

class SliderRow;

/// Three sliders over the channels of one colour model, in whole steps.
class SlidersMode : public ColorMode {
  Q_OBJECT

 public:
  /// A colour model as three channels, each from 0 to its maximum.
  struct Model {
    std::array<const char*, 3> labels;
    std::array<int, 3> maxima;
    std::array<const char*, 3> suffixes;
    /// The colour's channels as fractions of their maxima.
    std::array<double, 3> (*channels)(const ansi::Color& color);
    ansi::Color (*color)(const std::array<double, 3>& channels);
  };

  /// Red, green and blue in 8-bit steps.
  static const Model kRgb;
  /// Hue in degrees, saturation and brightness in percent.
  static const Model kHsb;

  explicit SlidersMode(const Model& model, QWidget* parent = nullptr);

  void showColor(const ansi::Color& color) override;
  static QPixmap rgbIcon();
  static QPixmap hsbIcon();

 private:
  const Model& model_;
  std::array<SliderRow*, 3> rows_{};
};

}  // namespace pellimo::colorpicker
