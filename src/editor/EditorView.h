// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSizeGrip;

namespace pellimo::colorpicker {
class ColorWell;
}

namespace pellimo::editor {

class CodeEditorView;

/// The editor window and its content view in one: frameless and dark, moved by a press on its
/// background and resized from its edges or its size grip. Each end of a resize turns resizing
/// off for 0.5 s, as a stored move of the widget window does. Its controls: language,
/// arguments and reload interval on top, the appearance controls under them, the code editor in
/// the middle, Cancel and Run at the bottom, each with a mnemonic.
class EditorView : public QWidget {
  Q_OBJECT

 public:
  /// The controls the editor's controller reads and wires.
  struct Controls {
    QComboBox* LanguagePicker;
    QLineEdit* arguments;
    QLineEdit* reloadAfter;
    /// Seconds a reloaded run may take; empty for the default, 0 for no limit.
    QLineEdit* timeout;
    /// How output lines are read: "plain" or "menu", as the item's data.
    QComboBox* lineFormat;
    QPushButton* fontBtn;
    colorpicker::ColorWell* fontColor;
    QPushButton* backgroundBtn;
    CodeEditorView* editor;
    QPushButton* cancelBtn;
    QPushButton* runBtn;
    /// Why the last Run could not run; hidden otherwise.
    QLabel* message;
  };

  explicit EditorView(QWidget* parent = nullptr);

  const Controls& controls() const { return controls_; }

  bool isResizable() const { return resizable_; }
  /// The resize grip, for the layout to put in the bottom-right corner.
  QSizeGrip* sizeGrip() const { return grip_; }

  /// The end of a resize: resizing off at once, on again 0.5 s later.
  void windowDidResize();

 signals:
  /// The shown window was moved or resized and has come to rest.
  void frameSettled();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layOut();
  void setResizable(bool resizable);
  Qt::Edges resizableEdgesAt(const QPoint& position) const;

  QSizeGrip* grip_;
  Controls controls_;
  QTimer resizeSettled_;
  QTimer frameSettled_;
  bool resizable_ = true;
};

}  // namespace pellimo::editor
