// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/CodeEditorView.h"

#include <Qsci/qscilexerbash.h>
#include <Qsci/qscilexerpython.h>
#include <Qsci/qscilexerruby.h>
#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>
#include <QVBoxLayout>

#include "editor/Contrast.h"

namespace pellimo::editor {

namespace {

const QColor kPaper(0x1e, 0x1e, 0x1e);
const QColor kText(0xd4, 0xd4, 0xd4);
const QColor kSelection(0x26, 0x4f, 0x78);
const QColor kGutter(0x2d, 0x2d, 0x2d);
const QColor kGutterText(0x85, 0x85, 0x85);
constexpr int kLastLexerStyle = 127;

/// The lexers' colours are chosen for a light ground; on the dark paper and the dark current
/// line a dark colour keeps its hue and gets the mirrored lightness, then is lightened until it
/// reads well on both.
QColor forDarkPaper(const QColor& colour, const QColor& currentLine) {
  QColor hsl = colour.toHsl();
  if (hsl.lightness() < 128) {
    hsl = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), 255 - hsl.lightness());
  }
  QColor rgb = hsl.toRgb();
  for (int lightness = hsl.lightness();
       lightness < 255 &&
       qMin(contrastRatio(rgb, kPaper), contrastRatio(rgb, currentLine)) < kReadableContrast;
       ++lightness) {
    rgb = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness + 1).toRgb();
  }
  return rgb;
}

/// A translucent colour as it shows over the paper: Scintilla draws a translucent current line
/// over the text, fading it, and an opaque one under it.
QColor overPaper(const QColor& colour) {
  const auto mixed = [&](float over, float under) {
    return over * colour.alphaF() + under * (1 - colour.alphaF());
  };
  return QColor::fromRgbF(mixed(colour.redF(), kPaper.redF()),
                          mixed(colour.greenF(), kPaper.greenF()),
                          mixed(colour.blueF(), kPaper.blueF()));
}

QsciLexer* lexerNamed(const QString& name, QObject* parent) {
  if (name == QLatin1String("Shell")) return new QsciLexerBash(parent);
  if (name == QLatin1String("Ruby")) return new QsciLexerRuby(parent);
  if (name == QLatin1String("Python")) return new QsciLexerPython(parent);
  return nullptr;
}

}  // namespace

CodeEditorView::CodeEditorView(QWidget* parent)
    : QWidget(parent),
      text_(new QsciScintilla(this)),
      font_(QFontDatabase::systemFont(QFontDatabase::FixedFont)),
      gutterBackground_(kGutter),
      gutterText_(kGutterText),
      currentLineHighlight_(kPaper) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  // Focus given to this view, by a label's mnemonic for one, goes to the text.
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(text_);

  text_->setUtf8(true);
  text_->setFont(font_);
  text_->setPaper(kPaper);
  text_->setColor(kText);
  text_->setCaretForegroundColor(Qt::white);
  text_->setSelectionBackgroundColor(kSelection);
  text_->setMarginsFont(font_);
  text_->setMarginType(0, QsciScintilla::NumberMargin);
  text_->setMarginLineNumbers(0, true);
  text_->setMarginWidth(0, QStringLiteral("00000"));
  text_->setMarginWidth(1, 0);
  // A scroll bar only for lines that are wider than the view.
  text_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTH, 1);
  text_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTHTRACKING, true);
  applyGutterColours();
}

void CodeEditorView::setSyntaxDefinitionName(const QString& name) {
  syntaxDefinitionName_ = name;
  QsciLexer* lexer = lexerNamed(name, this);
  if (lexer) {
    lexer->setDefaultFont(font_);
    lexer->setFont(font_);
    lexer->setDefaultPaper(kPaper);
    lexer->setPaper(kPaper);
    lexer->setDefaultColor(kText);
    for (int style = 0; style <= kLastLexerStyle; ++style) {
      if (!lexer->description(style).isEmpty()) {
        lexer->setColor(forDarkPaper(lexer->color(style), currentLineHighlight_), style);
      }
    }
  }
  text_->setLexer(lexer);
  delete lexer_;
  lexer_ = lexer;
  if (!lexer_) {
    text_->setFont(font_);
    text_->setPaper(kPaper);
    text_->setColor(kText);
  }
  applyGutterColours();
}

void CodeEditorView::setGutterBackgroundColour(const QColor& colour) {
  gutterBackground_ = colour;
  applyGutterColours();
}

void CodeEditorView::setGutterTextColour(const QColor& colour) {
  gutterText_ = colour;
  applyGutterColours();
}

void CodeEditorView::applyGutterColours() {
  text_->setMarginsBackgroundColor(gutterBackground_);
  text_->setMarginsForegroundColor(gutterText_);
}

void CodeEditorView::setHighlightsCurrentLine(bool highlights) {
  text_->setCaretLineVisible(highlights);
}

void CodeEditorView::setCurrentLineHighlightColour(const QColor& colour) {
  currentLineHighlight_ = overPaper(colour);
  text_->setCaretLineBackgroundColor(currentLineHighlight_);
  text_->SendScintilla(QsciScintillaBase::SCI_SETCARETLINEBACKALPHA,
                       QsciScintillaBase::SC_ALPHA_NOALPHA);
  // The styles were made readable on the current line as it was.
  if (lexer_) setSyntaxDefinitionName(syntaxDefinitionName_);
}

QString CodeEditorView::string() const {
  return text_->text();
}

void CodeEditorView::setString(const QString& text) {
  text_->setText(text);
}

QFont CodeEditorView::textFont() const {
  return lexer_ ? lexer_->defaultFont() : text_->font();
}

}  // namespace pellimo::editor
