#include "colorpicker/ColorWell.h"

#include <QList>
#include <QMouseEvent>
#include <QPainter>

#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorSwatch.h"

namespace pellimo::colorpicker {

namespace {

QList<QPointer<ColorWell>>& activeWells() {
  static QList<QPointer<ColorWell>> wells;
  return wells;
}

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
