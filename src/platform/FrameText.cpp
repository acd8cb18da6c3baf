// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FrameText.h"

#include <QLocale>
#include <array>

namespace pellimo::platform {

namespace {

QString number(qreal value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool isDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

/// The end of the run of digits that starts at `i`.
qsizetype digitsEnd(QStringView text, qsizetype i) {
  while (i < text.size() && isDigit(text[i]))
    ++i;
  return i;
}

// The leading number of a field, as a scanner reads it ("12px" is 12); 0 when there is none.
// Only ASCII spaces and digits count. Scanned by hand: a regular expression would load its
// engine for the one frame read at start.
qreal leadingNumber(QStringView field) {
  qsizetype i = 0;
  while (i < field.size() && (field[i] == u' ' || (field[i] >= u'\t' && field[i] <= u'\r')))
    ++i;
  const qsizetype start = i;
  if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) ++i;
  qsizetype end = digitsEnd(field, i);
  if (end > i) {
    if (end < field.size() && field[end] == u'.') end = digitsEnd(field, end + 1);
  } else if (i + 1 < field.size() && field[i] == u'.' && isDigit(field[i + 1])) {
    end = digitsEnd(field, i + 1);
  } else {
    return 0;
  }
  if (end < field.size() && (field[end] == u'e' || field[end] == u'E')) {
    qsizetype exponent = end + 1;
    if (exponent < field.size() && (field[exponent] == u'+' || field[exponent] == u'-')) ++exponent;
    const qsizetype exponentEnd = digitsEnd(field, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }
  bool ok = false;
  const qreal value = QLocale::c().toDouble(field.mid(start, end - start), &ok);
  return ok ? value : 0;
}

}  // namespace

QString stringFromRect(const QRectF& rect) {
  return QStringLiteral("{{%1, %2}, {%3, %4}}")
      .arg(number(rect.x()), number(rect.y()), number(rect.width()), number(rect.height()));
}

QRectF rectFromString(const QString& text) {
  QString numbers = text;
  numbers.remove(u'{').remove(u'}');
  const QList<QStringView> fields = QStringView(numbers).split(u',');
  std::array<qreal, 4> values{};
  for (qsizetype i = 0; i < qsizetype(values.size()) && i < fields.size(); ++i) {
    values[i] = leadingNumber(fields.at(i));
  }
  return QRectF(values[0], values[1], values[2], values[3]);
}

}  // namespace pellimo::platform
