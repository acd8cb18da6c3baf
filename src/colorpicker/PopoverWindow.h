// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "colorpicker/PopoverPlacement.h"

class QAbstractAnimation;

namespace pellimo::colorpicker {

class QVColorPickerPopover;

/// The colour picker popover's window: a `Qt::Popup` shaped to its content and an arrow toward
/// the anchor. Escape is the popover's cancel operation; Qt's own closing on an outside click
/// is the popover closing by itself, which the popover may refuse. A click that closes it on a
/// colour well also reaches the well.
class PopoverWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PopoverWindow(QVColorPickerPopover* popover);

  /// Shows `content` off `edge` of `anchor` (screen coordinates), fading in when `animated`.
  void present(const QRect& anchor, QWidget* content, RectEdge edge, bool animated);
  bool hidesArrow() const { return hidesArrow_; }
  void setHidesArrow(bool hidesArrow);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void updateShape();

  QVColorPickerPopover* popover_;
  PopoverPlacement placement_;
  bool hidesArrow_ = false;
  QPointer<QAbstractAnimation> fadeIn_;
};

}  // namespace pellimo::colorpicker
