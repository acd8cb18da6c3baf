// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtbridge/QtFont.h"

#include <QFontDatabase>
#include <algorithm>
#include <array>
#include <cstdlib>

namespace pellimo::qtbridge {

namespace {

/// Qt weight for each step of the 0 to 15 scale.
constexpr std::array<int, 16> kQtWeights = {100, 100, 200, 300, 400, 400, 500, 600,
                                            600, 700, 700, 800, 800, 900, 900, 900};

}  // namespace

QFont toQFont(const ansi::Font& font) {
  QFont qfont = font.family.empty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                    : QFont(QString::fromStdString(font.family));
  if (font.pointSize > 0) qfont.setPointSizeF(font.pointSize);
  qfont.setWeight(static_cast<QFont::Weight>(kQtWeights[std::clamp(
      font.weight, ansi::Font::kLightestWeight, ansi::Font::kHeaviestWeight)]));
  qfont.setItalic(font.italic);
  return qfont;
}

ansi::Font fromQFont(const QFont& font) {
  // Ties go to the regular and bold steps, which come first.
  int weight = ansi::Font::kRegularWeight;
  int best = 1000;
  for (int step : {5, 9, 0, 2, 3, 6, 7, 11, 13}) {
    const int distance = std::abs(kQtWeights[step] - font.weight());
    if (distance < best) {
      best = distance;
      weight = step;
    }
  }
  return ansi::Font{font.family().toStdString(), font.pointSizeF(), weight, font.italic()};
}

}  // namespace pellimo::qtbridge
