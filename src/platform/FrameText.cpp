// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FrameText.h"

#include <QLocale>
#include <QRegularExpression>
#include <array>

namespace pellimo::platform {

namespace {

QString number(qreal value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The leading number of a field, as a scanner reads it ("12px" is 12); 0 when there is none.
qreal leadingNumber(QStringView field) {
  static const QRegularExpression numberPrefix(
      QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
  const QRegularExpressionMatch match = numberPrefix.match(field);
  if (!match.hasMatch()) return 0;
  bool ok = false;
  const qreal value = QLocale::c().toDouble(match.capturedView().trimmed(), &ok);
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
