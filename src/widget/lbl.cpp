// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/lbl.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "ansi/Utf16Block.h"
#include "qtbridge/QtColor.h"
#include "qtbridge/QtFont.h"

namespace pellimo::widget {

namespace {

/// The format ranges of one line: one per span of each attribute that has a value. The double
/// underlines' ranges are counted from the line's start.
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
    if (*span.value == ansi::kUnderlineDouble)
      doubleUnderlines->append({span.range.location - line.location, span.range.length});
  });
  return formats;
}

constexpr int kNoticeMs = 6000;

/// Units of a line laid out at first, per pixel of the canvas's width: few characters are
/// narrower than four pixels. More are laid out only while the line does not reach the edge.
constexpr int kPixelsPerFirstUnit = 4;
constexpr std::size_t kFewestFirstUnits = 32;

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
  laidOut_.clear();
  update();
  emit textReplaced();
}

void lbl::setStyledText(std::shared_ptr<const ansi::StyledText> text) {
  const bool showedMessage = !styled_;
  styled_ = std::move(text);
  message_.clear();
  if (showedMessage) {
    update();
  } else {
    // A reloading script mostly prints what it printed before with a few characters changed,
    // a clock its time: only the lines that changed are drawn again.
    setNeedsDisplay();
  }
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
  if (!styled_) {
    update();
    return;
  }
  // Streamed output mostly grows below the lines on show, which then need no drawing.
  const QRect changed = layOutLinesOnShow();
  if (!changed.isEmpty()) update(changed);
}

void lbl::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRect(rect());
  if (styled_) {
    drawStyled(painter, event->rect());
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

QRect lbl::layOutLinesOnShow() {
  const std::u16string& units = styled_->string();
  const std::vector<DrawnLine> before = std::exchange(drawnLines_, {});
  // What drawing the lines changes, from the top of the first line that changed to the bottom
  // of the last; once a line's height changes, all below it moves.
  qreal changedTop = height();
  qreal changedBottom = 0;
  const std::size_t firstUnits =
      std::max(kFewestFirstUnits, static_cast<std::size_t>(width() / kPixelsPerFirstUnit));
  qreal y = 0;
  std::size_t start = 0;
  while (start <= units.size() && y < height()) {
    // Streamed output that never breaks its line is searched to its end at every drawing.
    const std::size_t end = ansi::findUnit(units, start, u'\n');
    // Only as much of a line is laid out as can reach the right edge: a line of millions of
    // units (progress output redrawn with '\r', say) would otherwise take seconds every frame.
    const std::size_t index = drawnLines_.size();
    ansi::Range line{start, std::min(end - start, firstUnits)};
    // A line laid out before from the same start is tried at the same length first.
    if (index < laidOut_.size() && laidOut_[index].start == start)
      line.length = std::min(end - start, std::max(line.length, laidOut_[index].units.size()));
    const LaidOutLine* laid = nullptr;
    bool changed = false;
    for (;;) {
      if (line.end() < end && QChar::isHighSurrogate(units[line.end() - 1])) ++line.length;
      laid = &layOut(index, line, changed);
      if (line.end() == end || laid->line.naturalTextWidth() > width()) break;
      line.length = std::min(end - start, 2 * line.length);
    }
    const DrawnLine drawn{start, y, y + laid->line.height()};
    const bool moved = index >= before.size() || before[index].bottom != drawn.bottom;
    if (changed || moved) {
      changedTop = std::min(changedTop, drawn.top - drawn.reach());
      changedBottom = std::max(changedBottom, moved ? height() : drawn.bottom + drawn.reach());
    }
    drawnLines_.push_back(drawn);
    y = drawn.bottom;
    if (end == units.size()) break;
    start = end + 1;
  }
  laidOut_.resize(drawnLines_.size());
  // Lines no longer on show leave their place to be cleared.
  if (drawnLines_.size() < before.size()) {
    changedTop = std::min(changedTop, before[drawnLines_.size()].top);
    changedBottom = height();
  }
  if (changedTop >= changedBottom) return {};
  // Whole pixels covering the area, rounded by truncation: the maths library's floor and ceiling
  // would keep a page of it resident for this alone.
  const int top = static_cast<int>(std::max(qreal(0), changedTop));
  const int bottom = static_cast<int>(changedBottom);
  return QRect(0, top, width(), bottom + (changedBottom > bottom ? 1 : 0) - top);
}

void lbl::drawStyled(QPainter& painter, const QRect& area) {
  layOutLinesOnShow();
  for (std::size_t i = 0; i < drawnLines_.size(); ++i) {
    // Lines outside the area to draw would be clipped away whole.
    const DrawnLine& drawn = drawnLines_[i];
    if (drawn.bottom + drawn.reach() < area.top() || drawn.top - drawn.reach() > area.bottom())
      continue;
    const LaidOutLine& laid = laidOut_[i];
    const ansi::Range line{laid.start, laid.units.size()};
    const QTextLine& textLine = laid.line;
    const qreal y = drawnLines_[i].top;
    laid.layout->draw(&painter, QPointF(0, y));
    for (const ansi::Range& range : laid.doubleUnderlines) {
      // Qt draws single underlines only; the second line sits one line width below the first
      // (which Qt puts at the baseline plus the underline position rounded up), in the colour of
      // the text above it. Closer, the two lines merge into one thick line.
      const auto font = styled_->fonts().at(line.location + range.location, line).value;
      const auto color = styled_->foregrounds().at(line.location + range.location, line).value;
      const QFontMetricsF metrics(font ? qtbridge::toQFont(*font) : baseFont_);
      const int from = static_cast<int>(range.location);
      const qreal x1 = textLine.cursorToX(from);
      const qreal x2 = textLine.cursorToX(from + static_cast<int>(range.length));
      const qreal first = y + textLine.ascent() + std::ceil(metrics.underlinePos()) + 0.5;
      const qreal below = first + 2 * metrics.lineWidth();
      painter.setPen(QPen(color ? qtbridge::toQColor(*color) : baseColor_, metrics.lineWidth()));
      painter.drawLine(QPointF(x1, below), QPointF(x2, below));
    }
  }
}

const lbl::LaidOutLine& lbl::layOut(std::size_t index, ansi::Range range, bool& changed) {
  const std::u16string_view units =
      std::u16string_view(styled_->string()).substr(range.location, range.length);
  // Compared before any format is made: making them costs more than the rest of a check.
  LineLook look{styled_->fonts().spans(range), styled_->foregrounds().spans(range),
                styled_->backgrounds().spans(range), styled_->underlines().spans(range)};
  if (index >= laidOut_.size()) laidOut_.resize(index + 1);
  LaidOutLine& laid = laidOut_[index];
  if (laid.layout && laid.start == range.location && laid.units == units && laid.look == look)
    return laid;
  changed = true;
  laid.start = range.location;
  laid.units = units;
  laid.look = std::move(look);
  laid.doubleUnderlines.clear();
  laid.layout = std::make_unique<QTextLayout>(
      QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())), baseFont_);
  laid.layout->setFormats(formatsOf(*styled_, range, &laid.doubleUnderlines));
  laid.layout->beginLayout();
  laid.line = laid.layout->createLine();
  laid.line.setLeadingIncluded(true);
  laid.line.setLineWidth(1e6);  // no wrapping: long lines are clipped at the edge
  laid.layout->endLayout();
  return laid;
}

}  // namespace pellimo::widget
