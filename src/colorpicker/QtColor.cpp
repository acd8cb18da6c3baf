#include "colorpicker/QtColor.h"

#include <QRgba64>

namespace pellimo::colorpicker {

QColor toQColor(const ansi::Color& color) {
  const ansi::Color rgb = color.toRGB();
  return QColor::fromRgbF(static_cast<float>(rgb.c0), static_cast<float>(rgb.c1),
                          static_cast<float>(rgb.c2), static_cast<float>(rgb.alpha));
}

ansi::Color fromQColor(const QColor& color) {
  // 16-bit components divided as doubles give the same double as n / 255.0 for 8-bit values.
  constexpr double kMax = 65535.0;
  const QRgba64 rgba = color.toRgb().rgba64();
  return ansi::Color::rgb(rgba.red() / kMax, rgba.green() / kMax, rgba.blue() / kMax,
                          rgba.alpha() / kMax);
}

}  // namespace pellimo::colorpicker
