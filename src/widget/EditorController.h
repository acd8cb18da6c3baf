// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pellimo::widget {

class ViewController;

/// What the widget needs of its configuration editor; the editor layer implements it, so the
/// widget does not depend on that layer.
class EditorController {
 public:
  virtual ~EditorController() = default;

  /// Restores the language, script and arguments into the editor's controls.
  virtual void viewDidLoad() = 0;
  /// The tag of the language picked in the editor.
  virtual qint64 selectedLanguageTag() const = 0;
  /// The script text in the code editor.
  virtual QString scriptText() const = 0;
  /// Shows the editor window (the "prefs" segue).
  virtual void present() = 0;
};

/// The editor lives in a module of its own, loaded when it is first opened: an idle widget does
/// without the code editor and the colour picker. The module's one entry point, under this name,
/// makes an editor for `host`; the caller owns it.
inline constexpr char kMakeEditorSymbol[] = "pellimo_make_editor";
using MakeEditor = EditorController* (*)(ViewController& host);

}  // namespace pellimo::widget
