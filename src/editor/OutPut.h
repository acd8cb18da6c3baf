// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A Qt header first: moc cannot parse <compare>, which the ansi headers bring, before Qt's own.
#include <QFontDialog>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

#include "ansi/Font.h"
#include "widget/EditorController.h"

class QComboBox;

namespace pellimo::colorpicker {
class ColorWell;
class QVColorPickerPopover;
}  // namespace pellimo::colorpicker

namespace pellimo::widget {
class ViewController;
}

namespace pellimo::editor {

class EditorView;

/// The editor window's controller: the script, its language, arguments and reload interval,
/// run from here through the widget's controller; and the widget's font, text colour and
/// background. Appearance choices are stored as they are made, the script and its fields when
/// it is run.
class OutPut : public QObject, public widget::EditorController {
  Q_OBJECT

 public:
  explicit OutPut(widget::ViewController* host);
  ~OutPut() override;

  /// Builds the window and restores the language, script and arguments into its controls.
  void viewDidLoad() override;
  qint64 selectedLanguageTag() const override;
  QString scriptText() const override;
  /// The "prefs" segue: styles and shows the editor window.
  void present() override;

  void viewDidAppear();
  /// The editor window's style: floating, on every desktop, out of the taskbar and pager.
  void config();
  /// The code editor's look, given to the first editor of the process only.
  void configEditor();

  void pickLanguage(QComboBox* sender);
  void runCode(QObject* sender);
  void cancelEdit(QObject* sender);
  void pickFont(QObject* sender);
  void changeFont(QFontDialog* sender);
  void chosenColor(colorpicker::ColorWell* sender);
  /// Opens the colour picker on the widget's background, with the widget raised (or flat, when
  /// it was raised) to show it until the picker closes.
  void showPicker(QWidget* sender);
  void colorChanged(colorpicker::QVColorPickerPopover* sender);

  /// Ends the editor's presentation; the widget's reload timer starts again from the stored
  /// interval, without an immediate run.
  void dismissController();
  /// The "return" segue: back to the widget window.
  void performReturnSegue();

  /// The editor window; built on first use.
  EditorView* view();
  /// The font dialog of the last `pickFont`; none before it.
  QFontDialog* fontPanel() const { return fontPanel_; }

 private:
  void loadView();
  /// Puts the widget back in the mode it had before `showPicker`.
  void pickerDidClose();
  /// The picker belongs to the editor and leaves the screen with it.
  void closePicker();
  void selectItemWithTag(qint64 tag);
  /// Gives the hidden editor window the frame it opens with: where the user last put it, or
  /// beside the widget.
  void placeWindow();
  /// Stores a frame the user gave the editor window.
  void windowDidSettle();
  /// Shows the language, script and arguments in the editor's controls.
  void showScript(qint64 mode, const QString& script, const QString& arguments);

  /// What the store held when the editor opened, for Cancel to put back.
  struct Stored {
    qint64 mode = 0;
    QString script;
    QString arguments;
  };
  Stored opened_;
  bool pickedLanguage_ = false;
  /// Whether the widget was raised when `showPicker` opened the picker that is on screen.
  std::optional<bool> raisedBeforePicker_;

  widget::ViewController* host_;
  std::unique_ptr<EditorView> view_;
  QPointer<QFontDialog> fontPanel_;
  /// The frame the window was last placed in or stored with; a settled frame equal to it is not
  /// the user's doing.
  QRect placed_;
  /// The size the editor opens with beside the widget: the user's last, or the window's own; a
  /// placement that had to make it smaller does not change it.
  QSize openingSize_;
  qint64 mode_ = 0;
  qint64 reloadAfterValue_ = 0;
  ansi::Font font_;
  QString syntaxDefinition_;
};

}  // namespace pellimo::editor
