// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

class QsciLexer;
class QsciScintilla;

namespace pellimo::editor {

/// The code editor of the editor window: QScintilla on a dark ground with line numbers in the
/// gutter, offering the calls the editor controller makes of its code view.
class CodeEditorView : public QWidget {
  Q_OBJECT

 public:
  explicit CodeEditorView(QWidget* parent = nullptr);

  /// Colours the text as "Shell", "Ruby" or "Python"; any other name leaves the text plain.
  void setSyntaxDefinitionName(const QString& name);
  QString syntaxDefinitionName() const { return syntaxDefinitionName_; }

  void setGutterBackgroundColour(const QColor& colour);
  void setGutterTextColour(const QColor& colour);
  void setHighlightsCurrentLine(bool highlights);
  /// The current line's colour, a translucent one as it shows over the paper; every style is
  /// made readable on it.
  void setCurrentLineHighlightColour(const QColor& colour);

  /// The whole text as typed.
  QString string() const;
  void setString(const QString& text);
  /// The font the text is shown in: the lexer's default font.
  QFont textFont() const;

  /// The QScintilla view itself, for focus and inspection.
  QsciScintilla* textView() const { return text_; }

 private:
  /// The gutter's colours are styles, which a new lexer resets: they are applied again.
  void applyGutterColours();

  QsciScintilla* text_;
  QsciLexer* lexer_ = nullptr;
  QString syntaxDefinitionName_;
  QFont font_;
  QColor gutterBackground_;
  QColor gutterText_;
  QColor currentLineHighlight_;
};

}  // namespace pellimo::editor
