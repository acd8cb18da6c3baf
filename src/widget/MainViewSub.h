// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "widget/ZoomAnimation.h"

namespace pellimo::widget {

class ViewController;
class ZoomEffect;

/// The widget window's content view. It paints the layer (background, rounded corners,
/// border) behind the canvas and the configuration button, plays the zoom, lets the window be
/// dragged by its background and, while its resize handles show, resized by its edges and its
/// corner grip, and reports double-clicks and the window's settled moves and resizes to its
/// controller.
class MainViewSub : public QWidget {
  Q_OBJECT

 public:
  /// The delays of frame saving; tests shorten them.
  struct Timings {
    int initiateMs = 5000;  // frames are saved from this long after the first move on
    int settleMs = 500;     // style mask off, then the save, this long after each move
  };
  static Timings& timings();

  explicit MainViewSub(QWidget* parent = nullptr);

  void setRoot(ViewController* root) { root_ = root; }
  ViewController* root() const { return root_; }

  void setLayerBackground(const QColor& color);
  void setBorder(const QColor& color, double width);
  void setCornerRadius(double radius);
  /// An opaque window shows its background without the desktop through it.
  void setOpaque(bool opaque);
  QColor borderColor() const { return border_; }
  double borderWidth() const { return borderWidth_; }
  bool isOpaque() const { return opaque_; }
  /// Whether the bottom-right corner shows a grip that resizes the window, as the raised widget
  /// does. The edges resize the window, with resize pointers, in both modes.
  void setResizeGrip(bool shown);

  /// Plays the zoom over the whole content, canvas and button included, as they look at each
  /// moment of it.
  void zoom(double durationSeconds);
  const ZoomAnimation& zoomAnimation() const { return zoom_; }

  /// After a move or the end of a live resize: from 5 s after the first such event on, turns
  /// resizing off for 0.5 s and then reports `moveSettled`.
  void updateRect();
  /// After a resize: the same switch of the style mask, then `resizeSettled`.
  void windowDidResize();
  /// Where a click does something: the pointer shows a hand there.
  void setActsAt(std::function<bool(const QPoint&)> actsAt) { actsAt_ = std::move(actsAt); }

  /// The receiver of "clearView"; it has nothing to clear.
  void clear() {}
  bool initiated() const { return initiated_; }

 signals:
  void doubleClicked();
  /// A single click at `position`: a press and release without a drag, and no second click
  /// within the double-click interval.
  void clicked(const QPoint& position);
  /// A right-click, or the menu key, asks for a menu at `globalPosition`.
  void menuRequested(const QPoint& globalPosition);
  /// The window has moved (or ended a live resize), and its frame should be stored and reported.
  void moveSettled();
  /// The window has been resized, and its frame should be stored.
  void resizeSettled();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void paintLayer(QPainter& painter);
  /// Resizing off for the settling time, then `settled`.
  void settle(void (MainViewSub::*settled)());
  bool isResizable() const;
  /// The edges a press at `position` resizes the window from; none where it drags.
  Qt::Edges resizeEdgesAt(const QPoint& position) const;
  void showPointerFor(const QPoint& position);

  QPointer<ViewController> root_;
  bool initiated_ = false;
  QColor background_ = Qt::transparent;
  QColor border_ = Qt::transparent;
  double borderWidth_ = 0;
  double cornerRadius_ = 0;
  bool opaque_ = false;
  bool resizeGrip_ = false;
  ZoomAnimation zoom_;
  ZoomEffect* zoomEffect_;
  bool pressed_ = false;
  QPoint pressPosition_;
  std::function<bool(const QPoint&)> actsAt_;
  /// Holds a click back until a second one can no longer come.
  QTimer click_;
};

}  // namespace pellimo::widget
