// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QVariantAnimation>

namespace pellimo::widget {

/// The zoom between the display modes: a scale about the view's centre going 0.01 → 1.2 → 1
/// at key times 0, 0.5 and 1, easing out on the first half and in and out on the second.
class ZoomAnimation : public QObject {
  Q_OBJECT

 public:
  explicit ZoomAnimation(QObject* parent = nullptr);

  /// The scale at a point of the animation, 0 to 1.
  static double scaleAt(double progress);

  void start(int durationMs);
  bool isRunning() const { return animation_.state() == QAbstractAnimation::Running; }
  double scale() const { return scale_; }

 signals:
  void scaleChanged(double scale);
  void finished();

 private:
  QVariantAnimation animation_;
  double scale_ = 1.0;
};

}  // namespace pellimo::widget
