// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/HexColor.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace pellimo::colorpicker {

namespace {

int toByte(double component) {
  return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
}

}  // namespace

QString hexText(const ansi::Color& color) {
  const ansi::Color rgb = color.toRGB();
  return QStringLiteral("#%1%2%3")
      .arg(toByte(rgb.c0), 2, 16, QLatin1Char('0'))
      .arg(toByte(rgb.c1), 2, 16, QLatin1Char('0'))
      .arg(toByte(rgb.c2), 2, 16, QLatin1Char('0'));
}

std::optional<ansi::Color> colorFromHexText(const QString& text) {
  QString digits = text.trimmed();
  if (digits.startsWith(QLatin1Char('#'))) digits.remove(0, 1);
  const bool allHex = std::all_of(digits.begin(), digits.end(), [](QChar c) {
    return c.unicode() < 128 && std::isxdigit(c.unicode());
  });
  if (digits.size() != 6 || !allHex) return std::nullopt;
  const uint value = digits.toUInt(nullptr, 16);
  return ansi::Color::rgb(((value >> 16) & 0xff) / 255.0, ((value >> 8) & 0xff) / 255.0,
                          (value & 0xff) / 255.0);
}

}  // namespace pellimo::colorpicker
