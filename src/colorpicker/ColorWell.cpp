// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/ColorWell.h"

#include <QList>
#include <QMouseEvent>
#include <QPainter>

#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorSwatch.h"
#include "colorpicker/QVColorPickerPopover.h"

namespace pellimo::colorpicker {

namespace {

QList<QPointer<ColorWell>>& activeWells() {
  static QList<QPointer<ColorWell>> wells;
  return wells;
}

ColorWell* hiddenWellInstance = nullptr;

}  // namespace

ColorWell::ColorWell(QWidget* parent) : Control(parent) {}

void ColorWell::setColor(const ansi::Color& color) {
  color_ = color;
  update();
}

void ColorWell::activate(bool exclusive) {
  if (exclusive) {
    const QList<QPointer<ColorWell>> others = activeWells();
    for (const QPointer<ColorWell>& well : others) {
      if (well && well != this) well->deactivate();
    }
  }
  ColorPanel* panel = ColorPanel::sharedColorPanel();
  panel->setColor(color_);
  if (!active_) {
    active_ = true;
    activeWells().append(this);
    panelConnection_ =
        connect(panel, &ColorPanel::colorChanged, this, &ColorWell::takeColorFromPanel);
  }
  panel->orderFront();
  update();
}

void ColorWell::deactivate() {
  if (!active_) return;
  active_ = false;
  activeWells().removeIf([this](const QPointer<ColorWell>& well) { return !well || well == this; });
  disconnect(panelConnection_);
  update();
}

void ColorWell::performActivationClickWithShiftDown(bool shiftDown) {
  if (isActive()) {
    deactivate();
    return;
  }
  // A click on a well closes the colour picker popover first.
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

void ColorWell::takeColorFromPanel(const ansi::Color& color) {
  setColor(color);
  sendAction();
}

void ColorWell::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    Control::mousePressEvent(event);
    return;
  }
  performActivationClickWithShiftDown(event->modifiers().testFlag(Qt::ShiftModifier));
}

void ColorWell::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  painter.fillRect(rect(), palette().button());
  paintSwatch(painter, frame.adjusted(4, 4, -3, -3), color_);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame);
  if (isActive()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

}  // namespace pellimo::colorpicker
