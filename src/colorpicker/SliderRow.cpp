// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/SliderRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace pellimo::colorpicker {

SliderRow::SliderRow(const QString& label, int maximum, const QString& suffix, QWidget* parent)
    : QWidget(parent), slider_(new QSlider(Qt::Horizontal, this)), spinBox_(new QSpinBox(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel(label, this);
  caption->setMinimumWidth(14);
  layout->addWidget(caption);
  layout->addWidget(slider_, 1);
  layout->addWidget(spinBox_);
  slider_->setRange(0, maximum);
  spinBox_->setRange(0, maximum);
  spinBox_->setSuffix(suffix);

  connect(slider_, &QSlider::valueChanged, this, [this](int value) {
    const QSignalBlocker blocker(spinBox_);
    spinBox_->setValue(value);
    emit valueEdited(value);
  });
  connect(spinBox_, &QSpinBox::valueChanged, this, [this](int value) {
    const QSignalBlocker blocker(slider_);
    slider_->setValue(value);
    emit valueEdited(value);
  });
}

int SliderRow::value() const {
  return slider_->value();
}

void SliderRow::setValue(int value) {
  const QSignalBlocker sliderBlocker(slider_);
  const QSignalBlocker spinBoxBlocker(spinBox_);
  slider_->setValue(value);
  spinBox_->setValue(value);
}

}  // namespace pellimo::colorpicker
