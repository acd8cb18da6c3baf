// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include "editor/CodeEditorView.h"
#include "editor/Contrast.h"
#include "editor/EditorView.h"
#include "editor/OutPut.h"

namespace pellimo::test {
namespace {

using editor::contrastRatio;

TEST(Contrast, RatiosMatchWcagsWorkedValues) {
  const struct {
    QColor one, other;
    double ratio;
  } cases[] = {
      {Qt::black, Qt::white, 21.0},
      {Qt::white, Qt::black, 21.0},
      {QColor(0x12, 0x34, 0x56), QColor(0x12, 0x34, 0x56), 1.0},
      // The lightest grey that passes on white, and the next one up that does not.
      {QColor(0x76, 0x76, 0x76), Qt::white, 4.54},
      {QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
      {QColor(0xff, 0x00, 0x00), Qt::white, 4.00},
      {QColor(0x00, 0x00, 0xff), Qt::black, 2.44},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(contrastRatio(c.one, c.other), c.ratio, 0.005)
        << c.one.name().toStdString() << " on " << c.other.name().toStdString();
  }
}

/// A colour Scintilla reports, kept as 0xBBGGRR.
QColor fromScintilla(long bgr) {
  return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}

TEST(EditorLook, EveryStyleOfEveryLexerReadsWellOnThePaperAndOnTheCurrentLine) {
  using Sci = QsciScintillaBase;
  for (const bool lexerFirst : {false, true}) {
    editor::OutPut out(nullptr);
    editor::CodeEditorView* view = out.view()->controls().editor;
    QsciScintilla* text = view->textView();
    for (const char* language : {"Shell", "Ruby", "Python"}) {
      if (lexerFirst) view->setSyntaxDefinitionName(language);
      out.configEditor();
      if (!lexerFirst) view->setSyntaxDefinitionName(language);
      ASSERT_TRUE(text->lexer()) << language;
      // Drawn under the text: an opaque colour, without Scintilla's alpha.
      EXPECT_EQ(text->SendScintilla(Sci::SCI_GETCARETLINEBACKALPHA), Sci::SC_ALPHA_NOALPHA);
      const QColor currentLine = fromScintilla(text->SendScintilla(Sci::SCI_GETCARETLINEBACK));
      for (int style = 0; style <= 127; ++style) {
        if (text->lexer()->description(style).isEmpty()) continue;
        const QColor fore = fromScintilla(text->SendScintilla(Sci::SCI_STYLEGETFORE, style));
        const QColor back = fromScintilla(text->SendScintilla(Sci::SCI_STYLEGETBACK, style));
        SCOPED_TRACE(testing::Message()
                     << language << " style " << style << " "
                     << text->lexer()->description(style).toStdString() << " "
                     << fore.name().toStdString() << (lexerFirst ? ", lexer first" : ""));
        EXPECT_GE(contrastRatio(fore, back), editor::kReadableContrast);
        EXPECT_GE(contrastRatio(fore, currentLine), editor::kReadableContrast);
      }
    }
  }
}

}  // namespace
}  // namespace pellimo::test
