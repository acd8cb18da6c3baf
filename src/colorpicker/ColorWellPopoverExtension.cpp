// Every colour well's part in the colour picker popover: a click on a well closes the popover,
// and all wells can be deactivated without the colour panel coming on screen.

#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"

namespace pellimo::colorpicker {

namespace {

ColorWell* hiddenWellInstance = nullptr;

}  // namespace

void ColorWell::performActivationClickWithShiftDown(bool shiftDown) {
  if (isActive()) {
    deactivate();
    return;
  }
  QVColorPickerPopover* popover = QVColorPickerPopover::sharedPopover();
  if (popover->isShown()) {
    const bool animates = popover->animates();
    popover->setAnimates(false);
    popover->close();
    popover->setAnimates(animates);
  }
  popover->setTarget(nullptr);
  popover->setAction({});
  activate(!shiftDown);
}

void ColorWell::deactivateAll() {
  ColorPanel::disablePanel();
  delete hiddenWellInstance;
  hiddenWellInstance = new ColorWell;
  hiddenWellInstance->setColor(ansi::Color::rgb(1 / 255.0, 2 / 255.0, 3 / 255.0));
  // Exclusive activation is what deactivates every other well.
  hiddenWellInstance->activate(true);
  hiddenWellInstance->deactivate();
  ColorPanel::enablePanel();
}

ColorWell* ColorWell::hiddenWell() {
  return hiddenWellInstance;
}

}  // namespace pellimo::colorpicker
