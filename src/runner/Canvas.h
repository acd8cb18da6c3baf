// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

#include "ansi/StyledText.h"
#include "runner/ScriptMenu.h"

namespace pellimo::runner {

/// What the runner draws on: the widget's text field, or a recording stand-in in tests.
class Canvas {
 public:
  virtual ~Canvas() = default;

  /// Plain text in the canvas's own base font and colour (messages, errors).
  virtual void setPlainText(const QString& text) = 0;
  /// Styled text to show. The canvas shares it: a runner keeps appending to the text of the
  /// run in progress and asks for a redraw, instead of handing over a new copy each time.
  virtual void setStyledText(std::shared_ptr<const ansi::StyledText> text) = 0;
  /// The styled text on show, or null while a plain message is shown.
  virtual std::shared_ptr<const ansi::StyledText> styledText() const = 0;
  virtual QString plainText() const = 0;
  /// What the lines of the styled text on show do, in the menu format; null in the plain one.
  /// Shared and growing in place as the styled text is. A canvas that takes no clicks has no
  /// use for it.
  virtual void setScriptMenu(std::shared_ptr<const ScriptMenu>) {}
  /// Asks for a repaint of the window the canvas sits in.
  virtual void setNeedsDisplay() = 0;
};

/// The widget's font and the colour of uncoloured text, read at every drawing.
struct Appearance {
  ansi::Font font;
  ansi::Color fontColor;

  friend bool operator==(const Appearance&, const Appearance&) = default;
};

}  // namespace pellimo::runner
