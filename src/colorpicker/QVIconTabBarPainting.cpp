#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QToolTip>
#include <cmath>

#include "colorpicker/QVIconTabBar.h"

namespace pellimo::colorpicker {

namespace {

/// Grey levels at the top, middle and bottom of a gradient.
struct GreyStops {
  double top;
  double middle;
  double bottom;
};

struct TabColors {
  GreyStops fill;
  GreyStops outerEdge;
  GreyStops innerEdge;
};

constexpr TabColors kKeyWindowColors{{0.99, 0.8, 0.99}, {0.9, 0.6, 0.8}, {0.99, 0.7, 0.99}};
constexpr TabColors kOtherWindowColors{{0.99, 0.79, 0.99}, {0.83, 0.43, 0.71}, {0.99, 0.71, 0.99}};
constexpr double kBottomRuleGrey = 0.7;

QColor grey(double level) {
  const auto value = static_cast<float>(level);
  return QColor::fromRgbF(value, value, value);
}

void fillGradient(QPainter& painter, const QRectF& rect, const GreyStops& stops) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0.0, grey(stops.top));
  gradient.setColorAt(0.5, grey(stops.middle));
  gradient.setColorAt(1.0, grey(stops.bottom));
  painter.fillRect(rect, gradient);
}

}  // namespace

QRectF QVIconTabBar::fromBottomLeft(double left, double bottom, double width, double height) const {
  return QRectF(left, this->height() - bottom - height, width, height);
}

void QVIconTabBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TabColors& colors = isActiveWindow() ? kKeyWindowColors : kOtherWindowColors;
  const double h = height();
  const double w = itemWidth_;

  toolTipRects_.clear();
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const double x = startX() + static_cast<double>(i) * w;
    const QRectF tab = fromBottomLeft(std::floor(x + 0.5), 1, w, h - 2);
    toolTipRects_.emplace_back(tab.toAlignedRect(), items_[i]->tooltip());

    if (selectedIndexes_.count(i)) {
      fillGradient(painter, tab, colors.fill);
      fillGradient(painter, fromBottomLeft(std::floor(x + 0.5), 1, 1, h - 2), colors.outerEdge);
      fillGradient(painter, fromBottomLeft(std::floor(x + 1.5), 1, 1, h - 2), colors.innerEdge);
      fillGradient(painter, fromBottomLeft(std::floor(x + w + 0.5), 1, 1, h - 2), colors.outerEdge);
      fillGradient(painter, fromBottomLeft(std::floor(x + w - 0.5), 1, 1, h - 2), colors.innerEdge);
    }

    const QPixmap& icon = items_[i]->icon();
    const QSizeF size = icon.deviceIndependentSize();
    const double left = std::round(x + w / 2 - size.width() / 2);
    const double bottom = std::round(h / 2 - size.height() / 2);
    painter.drawPixmap(fromBottomLeft(left, bottom, size.width(), size.height()).topLeft(), icon);
  }

  // A one-point line centred half a point above the bottom edge covers the bottom row.
  painter.fillRect(fromBottomLeft(0, 0, width(), 1), grey(kBottomRuleGrey));
}

bool QVIconTabBar::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    showToolTip(help->pos(), help->globalPos());
    return true;
  }
  return Control::event(event);
}

void QVIconTabBar::showToolTip(const QPoint& position, const QPoint& globalPosition) {
  for (const auto& [rect, text] : toolTipRects_) {
    if (rect.contains(position)) {
      QToolTip::showText(globalPosition, text, this, rect);
      return;
    }
  }
  QToolTip::hideText();
}

void QVIconTabBar::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) update();
  Control::changeEvent(event);
}

}  // namespace pellimo::colorpicker
