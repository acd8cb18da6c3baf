// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QTimer>
#include <QWidget>
#include <memory>
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
  void drawStyled(QPainter& painter);
  void drawPlain(QPainter& painter);
  void drawNotice(QPainter& painter);

  /// A line as it was last drawn: where it starts in the text, and its top and bottom.
  struct DrawnLine {
    std::size_t start;
    qreal top;
    qreal bottom;
  };

  QString message_;
  std::shared_ptr<const ansi::StyledText> styled_;
  std::shared_ptr<const runner::ScriptMenu> menu_;
  std::vector<DrawnLine> drawnLines_;
  QString notice_;
  QTimer noticeTimer_;
  QFont baseFont_;
  QColor baseColor_ = Qt::white;
};

}  // namespace pellimo::widget
