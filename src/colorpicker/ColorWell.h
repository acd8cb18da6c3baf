// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A Qt header first: moc cannot parse <compare>, which ansi/Color.h brings, before Qt's own.
#include <QMetaObject>

#include "ansi/Color.h"
#include "colorpicker/Control.h"

namespace pellimo::colorpicker {

/// A control that shows a colour. While active it follows the shared colour panel: each colour
/// chosen there becomes the well's colour and is sent as the well's action.
class ColorWell : public Control {
  Q_OBJECT

 public:
  explicit ColorWell(QWidget* parent = nullptr);

  const ansi::Color& color() const { return color_; }
  void setColor(const ansi::Color& color);

  virtual bool isActive() const { return active_; }
  /// Loads the well's colour into the shared panel and brings the panel on screen. Exclusive
  /// activation deactivates every other active well first.
  virtual void activate(bool exclusive);
  virtual void deactivate();

  /// The click that toggles activation: an active well deactivates; an inactive one first closes
  /// a shown colour picker popover at once and clears its target and action, then activates,
  /// exclusively unless Shift is held.
  void performActivationClickWithShiftDown(bool shiftDown);
  /// Leaves no colour well active, without the colour panel coming on screen.
  static void deactivateAll();
  /// The scratch well of the last `deactivateAll`; none before it.
  static ColorWell* hiddenWell();

  QSize sizeHint() const override { return {44, 23}; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void takeColorFromPanel(const ansi::Color& color);

  ansi::Color color_ = ansi::Color::white();
  bool active_ = false;
  QMetaObject::Connection panelConnection_;
};

}  // namespace pellimo::colorpicker
