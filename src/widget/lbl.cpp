#include "widget/lbl.h"

#include <QPainter>
#include <QTextLayout>

#include "platform/QtConversions.h"

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
    format.setFont(platform::toQFont(*span.value));
    add(span.range, format);
  });
  text.foregrounds().forEach(line, [&](const auto& span) {
    if (!span.value) return;
    QTextCharFormat format;
    format.setForeground(platform::toQColor(*span.value));
    add(span.range, format);
  });
  text.backgrounds().forEach(line, [&](const auto& span) {
    if (!span.value) return;
    QTextCharFormat format;
    format.setBackground(platform::toQColor(*span.value));
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

}  // namespace

lbl::lbl(QWidget* parent) : QWidget(parent), baseFont_(font()) {
  setAttribute(Qt::WA_TranslucentBackground);
  // Presses on the text reach the content view, which drags the window by them.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  baseFont_.setPointSizeF(12);
}

void lbl::setPlainText(const QString& text) {
  message_ = text;
  styled_.reset();
  update();
  emit textReplaced();
}

void lbl::setStyledText(std::shared_ptr<const ansi::StyledText> text) {
  styled_ = std::move(text);
  message_.clear();
  update();
  emit textReplaced();
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
}

void lbl::drawPlain(QPainter& painter) {
  painter.setFont(baseFont_);
  painter.setPen(baseColor_);
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message_);
}

void lbl::drawStyled(QPainter& painter) {
  const std::u16string& units = styled_->string();
  qreal y = 0;
  std::size_t start = 0;
  while (start <= units.size() && y < height()) {
    std::size_t end = units.find(u'\n', start);
    if (end == std::u16string::npos) end = units.size();
    const ansi::Range line{start, end - start};
    QList<ansi::Range> doubles;
    QTextLayout layout(
        QString::fromUtf16(units.data() + start, static_cast<qsizetype>(line.length)), baseFont_);
    layout.setFormats(formatsOf(*styled_, line, &doubles));
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setLeadingIncluded(true);
    textLine.setLineWidth(1e6);  // no wrapping: long lines are clipped at the edge
    layout.endLayout();
    layout.draw(&painter, QPointF(0, y));
    for (const ansi::Range& range : doubles) {
      // Qt draws single underlines only; the second line sits just below the first, in the
      // colour of the text above it.
      const auto font = styled_->fonts().at(range.location, line).value;
      const auto color = styled_->foregrounds().at(range.location, line).value;
      const QFontMetricsF metrics(font ? platform::toQFont(*font) : baseFont_);
      const int from = static_cast<int>(range.location - line.location);
      const qreal x1 = textLine.cursorToX(from);
      const qreal x2 = textLine.cursorToX(from + static_cast<int>(range.length));
      const qreal below = y + textLine.ascent() + metrics.underlinePos() + 2 * metrics.lineWidth();
      painter.setPen(QPen(color ? platform::toQColor(*color) : baseColor_, metrics.lineWidth()));
      painter.drawLine(QPointF(x1, below), QPointF(x2, below));
    }
    y += textLine.height();
    if (end == units.size()) break;
    start = end + 1;
  }
}

}  // namespace pellimo::widget
