#pragma once

#include <QTimer>
#include <QWidget>

class QSizeGrip;

namespace pellimo::editor {

/// The editor window and its content view in one: frameless and dark, moved by a press on its
/// background and resized from its edges or its size grip. Each end of a resize turns resizing
/// off for 0.5 s, as a stored move of the widget window does.
class EditorView : public QWidget {
  Q_OBJECT

 public:
  explicit EditorView(QWidget* parent = nullptr);

  bool isResizable() const { return resizable_; }
  /// The resize grip, for the layout to put in the bottom-right corner.
  QSizeGrip* sizeGrip() const { return grip_; }

  /// The end of a resize: resizing off at once, on again 0.5 s later.
  void windowDidResize();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void setResizable(bool resizable);
  Qt::Edges edgesAt(const QPoint& position) const;

  QSizeGrip* grip_;
  QTimer resizeSettled_;
  bool resizable_ = true;
};

}  // namespace pellimo::editor
