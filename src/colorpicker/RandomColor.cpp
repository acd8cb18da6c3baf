// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/RandomColor.h"

#include <QRandomGenerator>

namespace pellimo::colorpicker {

ansi::Color randomColor() {
  constexpr double kMax = 4294967295.0;
  auto* generator = QRandomGenerator::global();
  const double red = generator->generate() / kMax;
  const double green = generator->generate() / kMax;
  const double blue = generator->generate() / kMax;
  return ansi::Color::rgb(red, green, blue);
}

}  // namespace pellimo::colorpicker
