// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pellimo::colorpicker {

class QVColorPickerPopover;

/// Told by the colour picker popover about its closing.
class PopoverDelegate {
 public:
  /// Asked before the popover closes by itself (an outside click); the default lets it.
  virtual bool popoverShouldClose(QVColorPickerPopover*) { return true; }
  virtual void popoverDidClose(QVColorPickerPopover*) {}

 protected:
  ~PopoverDelegate() = default;
};

}  // namespace pellimo::colorpicker
