// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>

namespace pellimo::ansi {

struct HSB;

/// A colour as the translator and the settings store see it: a model, double components and
/// alpha. Equality is exact, component by component, because the encoder recognises the
/// colours of its table only by building them the same way each time.
struct Color {
  enum class Model { Grey, RGB };

  Model model = Model::Grey;
  double c0 = 0;  // white level (grey) or red
  double c1 = 0;  // green; unused for grey
  double c2 = 0;  // blue; unused for grey
  double alpha = 1;

  static constexpr Color grey(double white, double alpha = 1) {
    return {Model::Grey, white, 0, 0, alpha};
  }
  static constexpr Color rgb(double red, double green, double blue, double alpha = 1) {
    return {Model::RGB, red, green, blue, alpha};
  }
  /// Calibrated HSB, hue as a fraction of a turn (1.0 is red again).
  static Color fromHSB(double hue, double saturation, double brightness, double alpha = 1);

  static constexpr Color black() { return grey(0.0); }
  static constexpr Color white() { return grey(1.0); }
  static constexpr Color red() { return rgb(1.0, 0.0, 0.0); }
  static constexpr Color green() { return rgb(0.0, 1.0, 0.0); }
  static constexpr Color yellow() { return rgb(1.0, 1.0, 0.0); }
  static constexpr Color blue() { return rgb(0.0, 0.0, 1.0); }
  static constexpr Color magenta() { return rgb(1.0, 0.0, 1.0); }
  static constexpr Color cyan() { return rgb(0.0, 1.0, 1.0); }

  double whiteComponent() const { return c0; }
  double redComponent() const { return c0; }
  double greenComponent() const { return model == Model::Grey ? c0 : c1; }
  double blueComponent() const { return model == Model::Grey ? c0 : c2; }

  /// The same colour in the RGB model (greys spread over the three components).
  Color toRGB() const { return rgb(redComponent(), greenComponent(), blueComponent(), alpha); }
  /// Standard RGB-to-HSB conversion; greys have hue 0 and saturation 0. Alpha is ignored.
  HSB hsb() const;

  friend bool operator==(const Color&, const Color&) = default;
};

/// Hue, saturation and brightness in 0 to 1; hue 0 is red.
struct HSB {
  double hue = 0;
  double saturation = 0;
  double brightness = 0;

  friend bool operator==(const HSB&, const HSB&) = default;
};

}  // namespace pellimo::ansi
