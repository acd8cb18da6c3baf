#include "colorpicker/RgbSlidersMode.h"

#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "colorpicker/SliderRow.h"

namespace pellimo::colorpicker {

namespace {

constexpr int kMaximum = 255;

}  // namespace

RgbSlidersMode::RgbSlidersMode(QWidget* parent) : ColorMode(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  const std::array<QString, 3> labels = {tr("R"), tr("G"), tr("B")};
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i] = new SliderRow(labels[i], kMaximum, QString(), this);
    layout->addWidget(rows_[i]);
    connect(rows_[i], &SliderRow::valueEdited, this, [this] {
      emit colorPicked(ansi::Color::rgb(rows_[0]->value() / double(kMaximum),
                                        rows_[1]->value() / double(kMaximum),
                                        rows_[2]->value() / double(kMaximum)));
    });
  }
  layout->addStretch(1);
}

void RgbSlidersMode::showColor(const ansi::Color& color) {
  const ansi::Color rgb = color.toRGB();
  const std::array<double, 3> components = {rgb.c0, rgb.c1, rgb.c2};
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i]->setValue(static_cast<int>(std::lround(components[i] * kMaximum)));
  }
}

QPixmap RgbSlidersMode::icon() {
  return drawIcon([](QPainter& painter, const QRectF& area) {
    const std::array<QColor, 3> colors = {Qt::red, Qt::green, Qt::blue};
    const double bar = area.height() / 5;
    for (std::size_t i = 0; i < colors.size(); ++i) {
      painter.fillRect(QRectF(area.left(), area.top() + bar * (2 * i), area.width(), bar),
                       colors[i]);
    }
  });
}

}  // namespace pellimo::colorpicker
