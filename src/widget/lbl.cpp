// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/lbl.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "qtbridge/QtColor.h"
#include "qtbridge/QtFont.h"

namespace pellimo::widget {

namespace {

/// The format ranges of one line: one per span of each attribute that has a value.
QList<QTextLayout::FormatRange> formatsOf(const ansi::StyledText& text, ansi::Range line,
                                          QList<ansi::Range>* doubleUnderlines) {
  QList<QTextLayout::FormatRange> formats;
  auto add = [&](const ansi::Range& span, const QTextCharFormat& format) {
    formats.append(
        {static_cast<int>(span.location - line.location), static_cast<int>(span.length), format});
  };
  text.fonts().forEach(line, [&](const auto& span) {
    if (!span.value) return;
    QTextCharFormat format;
    format.setFont(qtbridge::toQFont(*span.value));
    add(span.range, format);
  });
  text.foregrounds().forEach(line, [&](const auto& span) {
    if (!span.value) return;
    QTextCharFormat format;
    format.setForeground(qtbridge::toQColor(*span.value));
    add(span.range, format);
  });
  text.backgrounds().forEach(line, [&](const auto& span) {
    if (!span.value) return;
    QTextCharFormat format;
    format.setBackground(qtbridge::toQColor(*span.value));
    add(span.range, format);
  });
  text.underlines().forEach(line, [&](const auto& span) {
    if (!span.value || *span.value == ansi::kUnderlineNone) return;
    QTextCharFormat format;
    format.setFontUnderline(true);
    add(span.range, format);
    if (*span.value == ansi::kUnderlineDouble) doubleUnderlines->append(span.range);
  });
  return formats;
}

constexpr int kNoticeMs = 6000;

/// Units of a line laid out at first; more only while the line does not reach the edge.
constexpr std::size_t kFirstLaidOutUnits = 512;

/// One line of the canvas, laid out without wrapping.
struct LaidOutLine {
  std::unique_ptr<QTextLayout> layout;
  QTextLine line;
  QList<ansi::Range> doubleUnderlines;
};

LaidOutLine layOut(const ansi::StyledText& text, ansi::Range range, const QFont& font) {
  LaidOutLine laid;
  laid.layout =
      std::make_unique<QTextLayout>(QString::fromUtf16(text.string().data() + range.location,
                                                       static_cast<qsizetype>(range.length)),
                                    font);
  laid.layout->setFormats(formatsOf(text, range, &laid.doubleUnderlines));
  laid.layout->beginLayout();
  laid.line = laid.layout->createLine();
  laid.line.setLeadingIncluded(true);
  laid.line.setLineWidth(1e6);  // no wrapping: long lines are clipped at the edge
  laid.layout->endLayout();
  return laid;
}

}  // namespace

lbl::lbl(QWidget* parent) : QWidget(parent), baseFont_(font()) {
  setAttribute(Qt::WA_TranslucentBackground);
  // Presses on the text reach the content view, which drags the window by them.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  baseFont_.setPointSizeF(12);
  noticeTimer_.setSingleShot(true);
  noticeTimer_.setInterval(kNoticeMs);
  connect(&noticeTimer_, &QTimer::timeout, this, [this] {
    notice_.clear();
    update();
  });
}

void lbl::setPlainText(const QString& text) {
  message_ = text;
  styled_.reset();
  menu_.reset();
  drawnLines_.clear();
  update();
  emit textReplaced();
}

void lbl::setStyledText(std::shared_ptr<const ansi::StyledText> text) {
  styled_ = std::move(text);
  message_.clear();
  update();
  emit textReplaced();
}

void lbl::setScriptMenu(std::shared_ptr<const runner::ScriptMenu> menu) {
  menu_ = std::move(menu);
}

const runner::LineAction* lbl::actionAt(const QPoint& position) const {
  if (!menu_ || !rect().contains(position)) return nullptr;
  for (const DrawnLine& line : drawnLines_) {
    if (position.y() >= line.top && position.y() < line.bottom) return menu_->actionAt(line.start);
  }
  return nullptr;
}

void lbl::showNotice(const QString& text) {
  notice_ = text;
  noticeTimer_.start();
  update();
}

QString lbl::plainText() const {
  return styled_ ? QString::fromStdU16String(styled_->string()) : message_;
}

void lbl::setNeedsDisplay() {
  update();
}

void lbl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setClipRect(rect());
  if (styled_) {
    drawStyled(painter);
  } else {
    drawPlain(painter);
  }
  if (!notice_.isEmpty()) drawNotice(painter);
}

void lbl::drawNotice(QPainter& painter) {
  const QFontMetrics metrics(baseFont_);
  const QRect text = metrics.boundingRect(rect().adjusted(4, 0, -4, 0), Qt::TextWordWrap, notice_);
  QRect box = rect();
  box.setTop(std::max(0, height() - text.height() - 8));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(120, 0, 0, 220));
  painter.drawRoundedRect(box, 4, 4);
  painter.setFont(baseFont_);
  painter.setPen(Qt::white);
  painter.drawText(box.adjusted(4, 4, -4, -4), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   notice_);
}

void lbl::drawPlain(QPainter& painter) {
  painter.setFont(baseFont_);
  painter.setPen(baseColor_);
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message_);
}

void lbl::drawStyled(QPainter& painter) {
  const std::u16string& units = styled_->string();
  drawnLines_.clear();
  qreal y = 0;
  std::size_t start = 0;
  while (start <= units.size() && y < height()) {
    std::size_t end = units.find(u'\n', start);
    if (end == std::u16string::npos) end = units.size();
    // Only as much of a line is laid out as can reach the right edge: a line of millions of
    // units (progress output redrawn with '\r', say) would otherwise take seconds every frame.
    ansi::Range line{start, std::min(end - start, kFirstLaidOutUnits)};
    LaidOutLine laid;
    for (;;) {
      if (line.end() < end && QChar::isHighSurrogate(units[line.end() - 1])) ++line.length;
      laid = layOut(*styled_, line, baseFont_);
      if (line.end() == end || laid.line.naturalTextWidth() > width()) break;
      line.length = std::min(end - start, 2 * line.length);
    }
    const QTextLine& textLine = laid.line;
    laid.layout->draw(&painter, QPointF(0, y));
    for (const ansi::Range& range : laid.doubleUnderlines) {
      // Qt draws single underlines only; the second line sits one line width below the first
      // (which Qt puts at the baseline plus the underline position rounded up), in the colour of
      // the text above it. Closer, the two lines merge into one thick line.
      const auto font = styled_->fonts().at(range.location, line).value;
      const auto color = styled_->foregrounds().at(range.location, line).value;
      const QFontMetricsF metrics(font ? qtbridge::toQFont(*font) : baseFont_);
      const int from = static_cast<int>(range.location - line.location);
      const qreal x1 = textLine.cursorToX(from);
      const qreal x2 = textLine.cursorToX(from + static_cast<int>(range.length));
      const qreal first = y + textLine.ascent() + std::ceil(metrics.underlinePos()) + 0.5;
      const qreal below = first + 2 * metrics.lineWidth();
      painter.setPen(QPen(color ? qtbridge::toQColor(*color) : baseColor_, metrics.lineWidth()));
      painter.drawLine(QPointF(x1, below), QPointF(x2, below));
    }
    drawnLines_.push_back({start, y, y + textLine.height()});
    y += textLine.height();
    if (end == units.size()) break;
    start = end + 1;
  }
}

}  // namespace pellimo::widget
