// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi/Color.h"

#include <algorithm>
#include <cmath>

namespace pellimo::ansi {

Color Color::fromHSB(double hue, double saturation, double brightness, double alpha) {
  if (saturation <= 0) return rgb(brightness, brightness, brightness, alpha);
  const double turn = hue >= 1.0 ? 0.0 : hue;  // hue 1.0 is red, as is 0.0
  const double scaled = turn * 6.0;
  const int sector = std::min(5, static_cast<int>(std::floor(scaled)));
  const double f = scaled - sector;
  const double v = brightness;
  const double p = v * (1.0 - saturation);
  const double q = v * (1.0 - saturation * f);
  const double t = v * (1.0 - saturation * (1.0 - f));
  switch (sector) {
    case 0:
      return rgb(v, t, p, alpha);
    case 1:
      return rgb(q, v, p, alpha);
    case 2:
      return rgb(p, v, t, alpha);
    case 3:
      return rgb(p, q, v, alpha);
    case 4:
      return rgb(t, p, v, alpha);
    default:
      return rgb(v, p, q, alpha);
  }
}

HSB Color::hsb() const {
  const double r = redComponent(), g = greenComponent(), b = blueComponent();
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double delta = max - min;
  HSB out{0.0, 0.0, max};
  if (max <= 0 || delta <= 0) return out;
  out.saturation = delta / max;
  double hue;
  if (r == max) {
    hue = (g - b) / delta;
  } else if (g == max) {
    hue = 2.0 + (b - r) / delta;
  } else {
    hue = 4.0 + (r - g) / delta;
  }
  hue /= 6.0;
  if (hue < 0) hue += 1.0;
  out.hue = hue;
  return out;
}

}  // namespace pellimo::ansi
