// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/ColorWheelMode.h"

#include <QConicalGradient>
#include <QHBoxLayout>
#include <QPainter>
#include <QRadialGradient>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

#include "colorpicker/ColorWheel.h"

namespace pellimo::colorpicker {

namespace {

constexpr int kBrightnessSteps = 100;

}  // namespace

ColorWheelMode::ColorWheelMode(QWidget* parent)
    : ColorMode(parent),
      wheel_(new ColorWheel(this)),
      brightness_(new QSlider(Qt::Vertical, this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(wheel_, 1);
  layout->addWidget(brightness_);
  brightness_->setRange(0, kBrightnessSteps);
  brightness_->setValue(kBrightnessSteps);
  brightness_->setToolTip(tr("Brightness"));

  connect(wheel_, &ColorWheel::hueSaturationPicked, this, [this](double hue, double saturation) {
    hue_ = hue;
    saturation_ = saturation;
    pick();
  });
  connect(brightness_, &QSlider::valueChanged, this, &ColorWheelMode::pick);
}

void ColorWheelMode::showColor(const ansi::Color& color) {
  const ansi::HSB hsb = color.hsb();
  hue_ = hsb.hue;
  saturation_ = hsb.saturation;
  wheel_->setMarker(hue_, saturation_);
  const QSignalBlocker blocker(brightness_);
  brightness_->setValue(static_cast<int>(std::lround(hsb.brightness * kBrightnessSteps)));
}

void ColorWheelMode::pick() {
  emit colorPicked(
      ansi::Color::fromHSB(hue_, saturation_, brightness_->value() / double(kBrightnessSteps)));
}

QPixmap ColorWheelMode::icon() {
  return drawIcon([](QPainter& painter, const QRectF& area) {
    QConicalGradient hues(area.center(), 0);
    for (int step = 0; step <= 6; ++step) {
      hues.setColorAt(step / 6.0, QColor::fromHsvF(static_cast<float>(step % 6) / 6.0f, 1, 1));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(hues);
    painter.drawEllipse(area);
    QRadialGradient white(area.center(), area.width() / 2);
    white.setColorAt(0, Qt::white);
    white.setColorAt(1, Qt::transparent);
    painter.setBrush(white);
    painter.drawEllipse(area);
  });
}

}  // namespace pellimo::colorpicker
