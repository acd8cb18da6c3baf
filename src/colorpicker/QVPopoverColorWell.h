// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>

#include "colorpicker/ColorWell.h"
#include "colorpicker/PopoverDelegate.h"
#include "colorpicker/PopoverPlacement.h"

namespace pellimo::colorpicker {

class QVColorPickerPopover;

/// A colour well that edits its colour in the colour picker popover, or in the floating colour
/// panel when that is already on screen. A double click while the panel is on screen moves the
/// editing into the popover.
class QVPopoverColorWell : public ColorWell, public PopoverDelegate {
  Q_OBJECT

 public:
  explicit QVPopoverColorWell(QWidget* parent = nullptr);
  ~QVPopoverColorWell() override;

  bool useColorPanelIfAvailable() const { return useColorPanelIfAvailable_; }
  void setUseColorPanelIfAvailable(bool use) { useColorPanelIfAvailable_ = use; }
  RectEdge preferredEdgeForPopover() const { return preferredEdgeForPopover_; }
  void setPreferredEdgeForPopover(RectEdge edge) { preferredEdgeForPopover_ = edge; }
  QVColorPickerPopover* popover() const { return popover_; }

  /// The well's own flag: whether it serves the popover or the floating panel.
  bool isActive() const override { return isActive_; }
  void activate(bool exclusive) override;
  /// Opens the shared popover on this well, as the panel's only active well.
  void activateWithPopover();
  void deactivate() override;

  void popoverDidClose(QVColorPickerPopover* popover) override;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool useColorPanelIfAvailable_ = true;
  bool isActive_ = false;
  RectEdge preferredEdgeForPopover_ = RectEdge::MaxX;
  QPointer<QVColorPickerPopover> popover_;
};

}  // namespace pellimo::colorpicker
