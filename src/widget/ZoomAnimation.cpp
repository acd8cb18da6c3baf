// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/ZoomAnimation.h"

#include <QEasingCurve>
#include <QPointF>

namespace pellimo::widget {

namespace {

constexpr double kFrom = 0.01;
constexpr double kOvershoot = 1.2;
constexpr double kTo = 1.0;

/// The timing functions of the two segments: ease-out and ease-in-ease-out.
QEasingCurve bezier(QPointF first, QPointF second) {
  QEasingCurve curve(QEasingCurve::BezierSpline);
  curve.addCubicBezierSegment(first, second, QPointF(1, 1));
  return curve;
}

}  // namespace

double ZoomAnimation::scaleAt(double progress) {
  static const QEasingCurve easeOut = bezier({0.0, 0.0}, {0.58, 1.0});
  static const QEasingCurve easeInOut = bezier({0.42, 0.0}, {0.58, 1.0});
  if (progress <= 0) return kFrom;
  if (progress >= 1) return kTo;
  if (progress < 0.5)
    return kFrom + (kOvershoot - kFrom) * easeOut.valueForProgress(progress / 0.5);
  return kOvershoot + (kTo - kOvershoot) * easeInOut.valueForProgress((progress - 0.5) / 0.5);
}

ZoomAnimation::ZoomAnimation(QObject* parent) : QObject(parent) {
  animation_.setStartValue(0.0);
  animation_.setEndValue(1.0);
  connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
    scale_ = scaleAt(value.toDouble());
    emit scaleChanged(scale_);
  });
  connect(&animation_, &QVariantAnimation::finished, this, [this] {
    // Removed at the end, the animation leaves the content at its own size.
    scale_ = kTo;
    emit finished();
  });
}

void ZoomAnimation::start(int durationMs) {
  animation_.stop();
  animation_.setDuration(durationMs);
  scale_ = kFrom;
  animation_.start();
}

}  // namespace pellimo::widget
