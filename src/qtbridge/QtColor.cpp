// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtbridge/QtColor.h"

#include <QRgba64>
#include <cmath>

namespace pellimo::qtbridge {

namespace {

constexpr double kMax = 65535.0;

quint16 component(double value) {
  // Written so that NaN fails the test and becomes 0.
  if (!(value > 0)) return 0;
  if (value >= 1) return 65535;
  return static_cast<quint16>(std::lround(value * kMax));
}

}  // namespace

QColor toQColor(const ansi::Color& color) {
  return QColor(QRgba64::fromRgba64(component(color.redComponent()),
                                    component(color.greenComponent()),
                                    component(color.blueComponent()), component(color.alpha)));
}

ansi::Color fromQColor(const QColor& color) {
  // Both n * 257 / 65535.0 and n / 255.0 are the double nearest the same fraction.
  const QRgba64 rgba = color.toRgb().rgba64();
  return ansi::Color::rgb(rgba.red() / kMax, rgba.green() / kMax, rgba.blue() / kMax,
                          rgba.alpha() / kMax);
}

}  // namespace pellimo::qtbridge
