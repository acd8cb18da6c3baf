// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/QVColorPickerPopover.h"

#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorWell.h"
#include "colorpicker/PopoverDelegate.h"
#include "colorpicker/PopoverWindow.h"
#include "colorpicker/QVColorPickerViewController.h"

namespace pellimo::colorpicker {

QVColorPickerPopover::QVColorPickerPopover() : window_(std::make_unique<PopoverWindow>(this)) {}

QVColorPickerPopover::~QVColorPickerPopover() {
  // Going away is not a close the delegate is to hear of.
  shown_ = false;
}

QVColorPickerPopover* QVColorPickerPopover::sharedPopover() {
  static QVColorPickerPopover* const instance = new QVColorPickerPopover;
  return instance;
}

ColorPanel* QVColorPickerPopover::colorPanel() const {
  return contentViewController_ ? contentViewController_->colorPanel() : nullptr;
}

std::optional<ansi::Color> QVColorPickerPopover::color() const {
  if (const ColorPanel* panel = colorPanel()) return panel->color();
  return std::nullopt;
}

void QVColorPickerPopover::setColor(const ansi::Color& color) {
  color_ = color;
  if (shown_ && colorPanel()) colorPanel()->setColor(color);
}

void QVColorPickerPopover::showRelativeToRect(const QRect& rect, QWidget* ofView,
                                              RectEdge preferredEdge) {
  // Taking the content back from the panel it was dragged off into closes that picker.
  if (disconnect(detachedPanelClosing_)) emit closed();
  if (shown_) {
    const QPointer<QObject> target = target_;
    const Action action = action_;
    const bool animates = animates_;
    animates_ = false;
    close();
    animates_ = animates;
    target_ = target;
    action_ = action;
  }
  contentViewController_ = std::make_unique<QVColorPickerViewController>();
  const QRect anchor = ofView ? QRect(ofView->mapToGlobal(rect.topLeft()), rect.size()) : rect;
  window_->present(anchor, contentViewController_->view(), preferredEdge, animates_);
  shown_ = true;
  if (ColorPanel* panel = colorPanel()) panel->setColor(color_);
  setObservingColor(true);
}

void QVColorPickerPopover::close() {
  closeAndDeactivateColorWell(true, true, true);
}

void QVColorPickerPopover::closeAndDeactivateColorWell(bool deactivateColorWell, bool removeTarget,
                                                       bool removeObserver) {
  if (removeTarget) removeTargetAndAction();
  if (removeObserver) setObservingColor(false);
  ColorPanel* panel = colorPanel();
  const std::optional<ansi::Color> kept = color();
  closeWindow(deactivateColorWell);
  if (panel) panel->setColor(*kept);
  if (deactivateColorWell) this->deactivateColorWell();
}

void QVColorPickerPopover::cancelOperation() {
  close();
  emit notificationPosted(QStringLiteral("unRaise"));
}

void QVColorPickerPopover::removeTargetAndAction() {
  target_ = nullptr;
  action_ = {};
}

void QVColorPickerPopover::deactivateColorWell() {
  if (colorWell_) colorWell_->deactivate();
  colorWell_ = nullptr;
}

ColorWell* QVColorPickerPopover::colorWell() const {
  return colorWell_;
}

void QVColorPickerPopover::setColorWell(ColorWell* colorWell) {
  colorWell_ = colorWell;
}

void QVColorPickerPopover::setObservingColor(bool observingColor) {
  if (observingColor == observingColor_) return;
  ColorPanel* panel = colorPanel();
  observingColor_ = observingColor && panel;
  if (observingColor_) {
    observation_ = connect(panel, &ColorPanel::colorChanged, this,
                           [this, panel] { observeValueForKeyPath(panel); });
  } else {
    disconnect(observation_);
  }
}

void QVColorPickerPopover::observeValueForKeyPath(ColorPanel* object) {
  // A showing in progress has no panel yet: what the panel goes through meanwhile is not ours.
  if (object != colorPanel()) return;
  color_ = object->color();
  action_.sendTo(target_, this);
}

bool QVColorPickerPopover::shouldHideAnchor() const {
  return window_->hidesArrow();
}

void QVColorPickerPopover::setShouldHideAnchor(bool shouldHideAnchor) {
  window_->setHidesArrow(shouldHideAnchor);
}

bool QVColorPickerPopover::delegatePopoverShouldClose() {
  const bool allowed = !delegate_ || delegate_->popoverShouldClose(this);
  if (allowed) {
    removeTargetAndAction();
    setObservingColor(false);
    deactivateColorWell();
  }
  return allowed;
}

void QVColorPickerPopover::closeWindow(bool tellDelegate) {
  if (!shown_) return;
  tellDelegateOnHide_ = tellDelegate;
  window_->hide();
  tellDelegateOnHide_ = true;
}

void QVColorPickerPopover::windowDidHide() {
  if (!shown_) return;
  shown_ = false;
  if (tellDelegateOnHide_ && delegate_) delegate_->popoverDidClose(this);
  // Every closing stops the observation first; only the dragging off keeps it, for the panel.
  if (!observingColor_) {
    emit closed();
  } else if (ColorPanel* panel = colorPanel()) {
    disconnect(detachedPanelClosing_);
    detachedPanelClosing_ =
        connect(panel, &ColorPanel::orderedOut, this, &QVColorPickerPopover::detachedPanelDidClose);
  }
}

void QVColorPickerPopover::detachedPanelDidClose() {
  disconnect(detachedPanelClosing_);
  removeTargetAndAction();
  setObservingColor(false);
  emit closed();
}

}  // namespace pellimo::colorpicker
