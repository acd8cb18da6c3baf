// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

namespace pellimo::widget {

/// The borderless widget window. X11 reports every step of a drag or a resize; the window
/// turns them into settled events: moves (or resizes) less than 150 ms apart are one.
class windowSub : public QWidget {
  Q_OBJECT

 public:
  explicit windowSub(QWidget* parent = nullptr);

  /// Gives the window a frame; a change of place counts as a move, also while the window is
  /// being mapped, when the window manager's own placement does not.
  void setFrame(const QRect& frame);

  /// Style mask 8 (resizable) or 0: whether presses on the edges may resize the window.
  void setResizable(bool resizable) { resizable_ = resizable; }
  bool isResizable() const { return resizable_; }

 signals:
  /// The window has moved and come to rest.
  void didMove();
  /// A resize has ended.
  void didEndLiveResize();

 protected:
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool resizable_ = true;
  bool placed_ = false;
  QTimer moveSettled_;
  QTimer resizeSettled_;
};

}  // namespace pellimo::widget
