// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "colorpicker/ColorMode.h"

class QGridLayout;
class QToolButton;

namespace pellimo::colorpicker {

/// The sixteen colours of the ANSI translator's table, then the user's own swatches, which the
/// add button extends with the colour on show. The user's swatches last as long as the process.
class PaletteMode : public ColorMode {
  Q_OBJECT

 public:
  explicit PaletteMode(QWidget* parent = nullptr);

  void showColor(const ansi::Color& color) override { current_ = color; }
  static QPixmap icon();

  const std::vector<ansi::Color>& userSwatches() const { return userSwatches_; }
  void addSwatch(const ansi::Color& color);

 private:
  QGridLayout* userGrid_;
  QToolButton* addButton_;
  std::vector<ansi::Color> userSwatches_;
  ansi::Color current_ = ansi::Color::white();
};

}  // namespace pellimo::colorpicker
