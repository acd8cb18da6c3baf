// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/SlidersMode.h"

#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "colorpicker/SliderRow.h"

namespace pellimo::colorpicker {

const SlidersMode::Model SlidersMode::kRgb{{QT_TR_NOOP("R"), QT_TR_NOOP("G"), QT_TR_NOOP("B")},
                                           {255, 255, 255},
                                           {"", "", ""},
                                           [](const ansi::Color& color) {
                                             const ansi::Color rgb = color.toRGB();
                                             return std::array<double, 3>{rgb.c0, rgb.c1, rgb.c2};
                                           },
                                           [](const std::array<double, 3>& channels) {
                                             return ansi::Color::rgb(channels[0], channels[1],
                                                                     channels[2]);
                                           }};

const SlidersMode::Model SlidersMode::kHsb{
    {QT_TR_NOOP("H"), QT_TR_NOOP("S"), QT_TR_NOOP("B")},
    {360, 100, 100},
    {"°", "%", "%"},
    [](const ansi::Color& color) {
      const ansi::HSB hsb = color.hsb();
      return std::array<double, 3>{hsb.hue, hsb.saturation, hsb.brightness};
    },
    [](const std::array<double, 3>& channels) {
      return ansi::Color::fromHSB(channels[0], channels[1], channels[2]);
    }};

SlidersMode::SlidersMode(const Model& model, QWidget* parent) : ColorMode(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i] = new SliderRow(tr(model_.labels[i]), model_.maxima[i],
                             QString::fromUtf8(model_.suffixes[i]), this);
    layout->addWidget(rows_[i]);
    connect(rows_[i], &SliderRow::valueEdited, this, [this] {
      std::array<double, 3> channels{};
      for (std::size_t k = 0; k < rows_.size(); ++k)
        channels[k] = rows_[k]->value() / double(model_.maxima[k]);
      emit colorPicked(model_.color(channels));
    });
  }
  layout->addStretch(1);
}

void SlidersMode::showColor(const ansi::Color& color) {
  const std::array<double, 3> channels = model_.channels(color);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i]->setValue(static_cast<int>(std::lround(channels[i] * model_.maxima[i])));
  }
}

QPixmap SlidersMode::rgbIcon() {
  return drawIcon([](QPainter& painter, const QRectF& area) {
    const std::array<QColor, 3> colors = {Qt::red, Qt::green, Qt::blue};
    const double bar = area.height() / 5;
    for (std::size_t i = 0; i < colors.size(); ++i) {
      painter.fillRect(QRectF(area.left(), area.top() + bar * (2 * i), area.width(), bar),
                       colors[i]);
    }
  });
}

QPixmap SlidersMode::hsbIcon() {
  return drawIcon([](QPainter& painter, const QRectF& area) {
    const double bar = area.height() / 5;
    QLinearGradient hues(area.topLeft(), area.topRight());
    for (int step = 0; step <= 6; ++step) {
      hues.setColorAt(step / 6.0, QColor::fromHsvF(static_cast<float>(step % 6) / 6.0f, 1, 1));
    }
    painter.fillRect(QRectF(area.left(), area.top(), area.width(), bar), hues);
    painter.fillRect(QRectF(area.left(), area.top() + 2 * bar, area.width() * 0.7, bar),
                     Qt::darkGray);
    painter.fillRect(QRectF(area.left(), area.top() + 4 * bar, area.width() * 0.4, bar), Qt::gray);
  });
}

}  // namespace pellimo::colorpicker
