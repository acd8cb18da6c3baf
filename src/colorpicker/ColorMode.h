// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

#include "ansi/Color.h"

class QPainter;

namespace pellimo::colorpicker {

/// One way of choosing a colour in the colour panel. The panel owns the alpha: modes pick
/// opaque colours and the panel gives them its opacity.
class ColorMode : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  /// Shows `color` without reporting it back as picked.
  virtual void showColor(const ansi::Color& color) = 0;

  /// A mode's toolbar picture, drawn antialiased on a transparent square.
  static QPixmap drawIcon(const std::function<void(QPainter&, const QRectF&)>& draw);

 signals:
  void colorPicked(const pellimo::ansi::Color& color);
};

}  // namespace pellimo::colorpicker
