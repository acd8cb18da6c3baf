// The colour panel's part in the colour picker popover: it can be kept off screen while a well
// activates, and it takes its content back from the popover whenever it comes on screen.

#include <cmath>

#include "colorpicker/ColorPanel.h"
#include "colorpicker/QVColorPickerPopover.h"

namespace pellimo::colorpicker {

namespace {

bool colorPanelEnabled = true;

qint32 byteOf(double component) {
  return static_cast<qint32>(std::lround(component * 255.0));
}

}  // namespace

void ColorPanel::disablePanel() {
  colorPanelEnabled = false;
}

void ColorPanel::enablePanel() {
  colorPanelEnabled = true;
}

void ColorPanel::orderFront() {
  if (!colorPanelEnabled) return;
  // The popover borrows this panel's content view once it has shown; the window needs it back.
  if (QVColorPickerPopover::sharedPopover()->colorPanel()) restoreContentView();
  show();
  raise();
}

QString ColorPanel::colorText() {
  const ansi::Color color = sharedColorPanel()->color().toRGB();
  return QString::asprintf("r: %d, g: %d, b: %d, a: %d", byteOf(color.c0), byteOf(color.c1),
                           byteOf(color.c2), byteOf(color.alpha));
}

}  // namespace pellimo::colorpicker
