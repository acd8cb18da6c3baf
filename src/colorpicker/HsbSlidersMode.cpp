#include "colorpicker/HsbSlidersMode.h"

#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "colorpicker/SliderRow.h"

namespace pellimo::colorpicker {

namespace {

constexpr std::array<int, 3> kMaxima = {360, 100, 100};

}  // namespace

HsbSlidersMode::HsbSlidersMode(QWidget* parent) : ColorMode(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  const std::array<QString, 3> labels = {tr("H"), tr("S"), tr("B")};
  const std::array<QString, 3> suffixes = {QStringLiteral("°"), QStringLiteral("%"),
                                           QStringLiteral("%")};
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i] = new SliderRow(labels[i], kMaxima[i], suffixes[i], this);
    layout->addWidget(rows_[i]);
    connect(rows_[i], &SliderRow::valueEdited, this, [this] {
      emit colorPicked(ansi::Color::fromHSB(rows_[0]->value() / double(kMaxima[0]),
                                            rows_[1]->value() / double(kMaxima[1]),
                                            rows_[2]->value() / double(kMaxima[2])));
    });
  }
  layout->addStretch(1);
}

void HsbSlidersMode::showColor(const ansi::Color& color) {
  const ansi::HSB hsb = color.hsb();
  const std::array<double, 3> components = {hsb.hue, hsb.saturation, hsb.brightness};
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i]->setValue(static_cast<int>(std::lround(components[i] * kMaxima[i])));
  }
}

QPixmap HsbSlidersMode::icon() {
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
