// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QTextLayout>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "ansi/StyledText.h"
#include "runner/Canvas.h"

namespace pellimo::widget {

/// The output canvas: shows the script's styled output line by line from the top, clipped at
/// its edges, or a plain message in its own base font and colour. Only the lines that fit are
/// laid out, so a long output costs no more to draw than a short one. In the menu format it
/// knows which of the lines on show have an action, and a notice can show over its foot.
class lbl : public QWidget, public runner::Canvas {
  Q_OBJECT

 public:
  explicit lbl(QWidget* parent = nullptr);

  void setPlainText(const QString& text) override;
  void setStyledText(std::shared_ptr<const ansi::StyledText> text) override;
  std::shared_ptr<const ansi::StyledText> styledText() const override { return styled_; }
  QString plainText() const override;
  void setScriptMenu(std::shared_ptr<const runner::ScriptMenu> menu) override;
  void setNeedsDisplay() override;

  /// The menu of the text on show; null in the plain format and while a message shows.
  const std::shared_ptr<const runner::ScriptMenu>& scriptMenu() const { return menu_; }
  /// The action of the line drawn at `position`, or null.
  const runner::LineAction* actionAt(const QPoint& position) const;
  /// Shows `text` over the foot of the canvas for a few seconds.
  void showNotice(const QString& text);
  const QString& notice() const { return notice_; }

 signals:
  /// The text on show was replaced (not merely lengthened).
  void textReplaced();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  /// Draws the lines that reach into `area`.
  void drawStyled(QPainter& painter, const QRect& area);
  void drawPlain(QPainter& painter);
  void drawNotice(QPainter& painter);

  /// The attributes over a line, which its layout is made from.
  struct LineLook {
    std::vector<ansi::AttributeLayer<ansi::Font>::Span> fonts;
    std::vector<ansi::AttributeLayer<ansi::Color>::Span> foregrounds;
    std::vector<ansi::AttributeLayer<ansi::Color>::Span> backgrounds;
    std::vector<ansi::AttributeLayer<int>::Span> underlines;

    friend bool operator==(const LineLook&, const LineLook&) = default;
  };
  /// One line of the canvas, laid out without wrapping, with the text and attributes it was
  /// laid out from: streamed output grows below the lines on show, which then need no new
  /// layout.
  struct LaidOutLine {
    std::size_t start = 0;
    std::u16string units;
    LineLook look;
    QList<ansi::Range> doubleUnderlines;  // counted from the line's start
    std::unique_ptr<QTextLayout> layout;
    QTextLine line;
  };
  /// The `index`th line on show over `range`, laid out again (setting `changed`) only if its
  /// text or attributes changed since it was last laid out.
  const LaidOutLine& layOut(std::size_t index, ansi::Range range, bool& changed);
  /// Lays out the lines that fit, from the top; returns the part of the canvas where they
  /// differ from the last ones, empty when none does.
  QRect layOutLinesOnShow();

  /// A line as it was last drawn: where it starts in the text, and its top and bottom.
  struct DrawnLine {
    std::size_t start;
    qreal top;
    qreal bottom;
    /// How far past its box a line's glyphs and underlines may reach: a line's height.
    qreal reach() const { return bottom - top; }
  };

  QString message_;
  std::shared_ptr<const ansi::StyledText> styled_;
  std::shared_ptr<const runner::ScriptMenu> menu_;
  std::vector<DrawnLine> drawnLines_;
  std::vector<LaidOutLine> laidOut_;
  QString notice_;
  QTimer noticeTimer_;
  QFont baseFont_;
  QColor baseColor_ = Qt::white;
};

}  // namespace pellimo::widget
