#include "platform/QtConversions.h"

#include <QFontDatabase>
#include <algorithm>
#include <array>

namespace pellimo::platform {

namespace {

/// Qt weight for each step of the 0 to 15 scale.
constexpr std::array<int, 16> kQtWeights = {100, 100, 200, 300, 400, 400, 500, 600,
                                            600, 700, 700, 800, 800, 900, 900, 900};

}  // namespace

QColor toQColor(const ansi::Color& color) {
  return QColor::fromRgbF(
      static_cast<float>(color.redComponent()), static_cast<float>(color.greenComponent()),
      static_cast<float>(color.blueComponent()), static_cast<float>(color.alpha));
}

ansi::Color fromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return ansi::Color::rgb(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

QFont toQFont(const ansi::Font& font) {
  QFont qfont = font.family.empty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                    : QFont(QString::fromStdString(font.family));
  if (font.pointSize > 0) qfont.setPointSizeF(font.pointSize);
  qfont.setWeight(static_cast<QFont::Weight>(kQtWeights[std::clamp(font.weight, 0, 15)]));
  qfont.setItalic(font.italic);
  return qfont;
}

ansi::Font fromQFont(const QFont& font) {
  // The step of the scale whose Qt weight is nearest; ties go to the regular and bold steps.
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

}  // namespace pellimo::platform
