// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QWidget>
#include <memory>

#include "ansi/StyledText.h"
#include "runner/Canvas.h"

namespace pellimo::widget {

/// The output canvas: shows the script's styled output line by line from the top, clipped at
/// its edges, or a plain message in its own base font and colour. Only the lines that fit are
/// laid out, so a long output costs no more to draw than a short one.
class lbl : public QWidget, public runner::Canvas {
  Q_OBJECT

 public:
  explicit lbl(QWidget* parent = nullptr);

  void setPlainText(const QString& text) override;
  void setStyledText(std::shared_ptr<const ansi::StyledText> text) override;
  std::shared_ptr<const ansi::StyledText> styledText() const override { return styled_; }
  QString plainText() const override;
  void setNeedsDisplay() override;

 signals:
  /// The text on show was replaced (not merely lengthened).
  void textReplaced();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void drawStyled(QPainter& painter);
  void drawPlain(QPainter& painter);

  QString message_;
  std::shared_ptr<const ansi::StyledText> styled_;
  QFont baseFont_;
  QColor baseColor_ = Qt::white;
};

}  // namespace pellimo::widget
