// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/GreySliderMode.h"

#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "colorpicker/SliderRow.h"

namespace pellimo::colorpicker {

namespace {

constexpr int kMaximum = 100;

/// The white level a colour shows as, by the usual luma weights.
double whiteLevel(const ansi::Color& color) {
  if (color.model == ansi::Color::Model::Grey) return color.whiteComponent();
  return 0.299 * color.redComponent() + 0.587 * color.greenComponent() +
         0.114 * color.blueComponent();
}

}  // namespace

GreySliderMode::GreySliderMode(QWidget* parent)
    : ColorMode(parent), row_(new SliderRow(tr("W"), kMaximum, QStringLiteral("%"), this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(row_);
  layout->addStretch(1);
  connect(row_, &SliderRow::valueEdited, this,
          [this](int value) { emit colorPicked(ansi::Color::grey(value / double(kMaximum))); });
}

void GreySliderMode::showColor(const ansi::Color& color) {
  row_->setValue(static_cast<int>(std::lround(whiteLevel(color) * kMaximum)));
}

QPixmap GreySliderMode::icon() {
  return drawIcon([](QPainter& painter, const QRectF& area) {
    QLinearGradient greys(area.topLeft(), area.topRight());
    greys.setColorAt(0, Qt::black);
    greys.setColorAt(1, Qt::white);
    const QRectF bar(area.left(), area.center().y() - area.height() / 6, area.width(),
                     area.height() / 3);
    painter.fillRect(bar, greys);
    painter.setPen(Qt::darkGray);
    painter.drawRect(bar);
  });
}

}  // namespace pellimo::colorpicker
