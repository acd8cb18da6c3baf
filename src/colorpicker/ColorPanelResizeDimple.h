// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeGrip>

namespace pellimo::colorpicker {

/// The resize handle in the bottom-right corner of the colour panel's content view. Views that
/// borrow the content leave it out by this class's name.
class ColorPanelResizeDimple : public QSizeGrip {
  Q_OBJECT

 public:
  using QSizeGrip::QSizeGrip;
};

}  // namespace pellimo::colorpicker
