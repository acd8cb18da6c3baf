// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pellimo::widget {

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

}  // namespace pellimo::widget
