// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QSlider;
class QSpinBox;

namespace pellimo::colorpicker {

/// A labelled slider with a spin box beside it, both over the same whole-number range.
class SliderRow : public QWidget {
  Q_OBJECT

 public:
  SliderRow(const QString& label, int maximum, const QString& suffix, QWidget* parent = nullptr);

  int value() const;
  /// Shows `value` without reporting it as an edit.
  void setValue(int value);

 signals:
  void valueEdited(int value);

 private:
  QSlider* slider_;
  QSpinBox* spinBox_;
};

}  // namespace pellimo::colorpicker
