// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/PaletteMode.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

#include "ansi/SgrCodes.h"
#include "colorpicker/ColorSwatchButton.h"
#include "qtbridge/QtColor.h"

namespace pellimo::colorpicker {

namespace {

constexpr int kColumns = 8;
constexpr std::array<const char*, 8> kColorNames = {"black", "red",     "green", "yellow",
                                                    "blue",  "magenta", "cyan",  "white"};

QGridLayout* swatchGrid() {
  auto* grid = new QGridLayout;
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(3);
  grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return grid;
}

}  // namespace

PaletteMode::PaletteMode(QWidget* parent)
    : ColorMode(parent), userGrid_(swatchGrid()), addButton_(new QToolButton(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("ANSI colours"), this));
  auto* ansiGrid = swatchGrid();
  layout->addLayout(ansiGrid);
  for (int row = 0; row < 2; ++row) {
    const int firstCode = row == 0 ? ansi::kForegroundBlack : ansi::kBrightForegroundBlack;
    for (int column = 0; column < kColumns; ++column) {
      const int code = firstCode + column;
      auto* swatch = new ColorSwatchButton(ansi::standardColorForSGRCode(code), this);
      const QString name = QLatin1String(kColorNames[column]);
      swatch->setToolTip(row == 0 ? QStringLiteral("%1 %2").arg(code).arg(name)
                                  : tr("%1 bright %2").arg(code).arg(name));
      ansiGrid->addWidget(swatch, row, column);
      connect(swatch, &QAbstractButton::clicked, this,
              [this, swatch] { emit colorPicked(swatch->color()); });
    }
  }

  layout->addWidget(new QLabel(tr("My colours"), this));
  layout->addLayout(userGrid_);
  addButton_->setText(QStringLiteral("+"));
  addButton_->setToolTip(tr("Add the current colour"));
  addButton_->setFixedSize(22, 22);
  userGrid_->addWidget(addButton_, 0, 0);
  connect(addButton_, &QToolButton::clicked, this, [this] { addSwatch(current_); });
  layout->addStretch(1);
}

void PaletteMode::addSwatch(const ansi::Color& color) {
  userSwatches_.push_back(color);
  auto* swatch = new ColorSwatchButton(color, this);
  swatch->setToolTip(tr("My colour %1").arg(userSwatches_.size()));
  connect(swatch, &QAbstractButton::clicked, this,
          [this, swatch] { emit colorPicked(swatch->color()); });
  const int position = static_cast<int>(userSwatches_.size()) - 1;
  userGrid_->removeWidget(addButton_);
  userGrid_->addWidget(swatch, position / kColumns, position % kColumns);
  userGrid_->addWidget(addButton_, (position + 1) / kColumns, (position + 1) % kColumns);
}

QPixmap PaletteMode::icon() {
  return drawIcon([](QPainter& painter, const QRectF& area) {
    const double half = area.width() / 2;
    const std::array<int, 4> codes = {31, 32, 33, 34};
    for (std::size_t i = 0; i < codes.size(); ++i) {
      const QRectF square(area.left() + half * (i % 2), area.top() + half * (i / 2), half - 1,
                          half - 1);
      painter.fillRect(square, qtbridge::toQColor(ansi::standardColorForSGRCode(codes[i])));
    }
  });
}

}  // namespace pellimo::colorpicker
