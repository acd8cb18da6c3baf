// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>

#include "ansi/Color.h"

namespace pellimo::colorpicker {

/// A button showing one colour, framed.
class ColorSwatchButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit ColorSwatchButton(const ansi::Color& color, QWidget* parent = nullptr);

  const ansi::Color& color() const { return color_; }
  void setColor(const ansi::Color& color);
  QSize sizeHint() const override { return {22, 22}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ansi::Color color_;
};

}  // namespace pellimo::colorpicker
