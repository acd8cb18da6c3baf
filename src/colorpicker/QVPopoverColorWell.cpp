// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/QVPopoverColorWell.h"

#include <QMouseEvent>

#include "colorpicker/ColorPanel.h"
#include "colorpicker/QVColorPickerPopover.h"

namespace pellimo::colorpicker {

namespace {

bool colorPanelIsOnScreen() {
  return ColorPanel::sharedColorPanelExists() && ColorPanel::sharedColorPanel()->isVisible();
}

}  // namespace

QVPopoverColorWell::QVPopoverColorWell(QWidget* parent) : ColorWell(parent) {}

QVPopoverColorWell::~QVPopoverColorWell() {
  if (popover_ && popover_->delegate() == this) popover_->setDelegate(nullptr);
}

void QVPopoverColorWell::activate(bool exclusive) {
  if (isActive_) return;
  if (useColorPanelIfAvailable_ && colorPanelIsOnScreen()) {
    ColorWell::activate(exclusive);
    isActive_ = true;
    return;
  }
  activateWithPopover();
}

void QVPopoverColorWell::activateWithPopover() {
  if (isActive_) return;
  popover_ = QVColorPickerPopover::sharedPopover();
  popover_->setDelegate(this);
  popover_->setColor(color());
  if (QWidget* superview = parentWidget()) {
    popover_->showRelativeToRect(geometry(), superview, preferredEdgeForPopover_);
  } else {
    popover_->showRelativeToRect(rect(), this, preferredEdgeForPopover_);
  }
  popover_->setColorWell(this);
  // The popover shows the panel's content: as the panel's only active well, this well gets the
  // colours chosen there. The panel window itself must not appear meanwhile.
  ColorPanel::disablePanel();
  ColorWell::activate(true);
  ColorPanel::enablePanel();
  isActive_ = true;
}

void QVPopoverColorWell::deactivate() {
  if (!isActive_) return;
  ColorWell::deactivate();
  if (popover_) {
    popover_->setColorWell(nullptr);
    popover_->setDelegate(nullptr);
  }
  popover_ = nullptr;
  isActive_ = false;
}

void QVPopoverColorWell::popoverDidClose(QVColorPickerPopover*) {
  deactivate();
}

void QVPopoverColorWell::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && colorPanelIsOnScreen()) {
    deactivate();
    activateWithPopover();
    return;
  }
  ColorWell::mousePressEvent(event);
}

}  // namespace pellimo::colorpicker
