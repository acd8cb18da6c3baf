// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SettingsCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace pellimo::platform {

namespace {

const QString kClass = QStringLiteral("class");

QString toText(const QJsonObject& object) {
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

std::optional<QJsonObject> objectOfClass(const QString& text, QStringView expectedClass) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  QJsonObject object = document.object();
  if (object.value(kClass).toString() != expectedClass) return std::nullopt;
  return object;
}

std::optional<double> unitInterval(const QJsonValue& value) {
  if (!value.isDouble()) return std::nullopt;
  const double number = value.toDouble();
  if (!(number >= 0.0 && number <= 1.0)) return std::nullopt;
  return number;
}

}  // namespace

QString archiveColor(const ansi::Color& color) {
  const bool grey = color.model == ansi::Color::Model::Grey;
  const QJsonArray components =
      grey ? QJsonArray{color.c0} : QJsonArray{color.c0, color.c1, color.c2};
  return toText({{kClass, QStringLiteral("color")},
                 {QStringLiteral("model"), grey ? QStringLiteral("grey") : QStringLiteral("rgb")},
                 {QStringLiteral("components"), components},
                 {QStringLiteral("alpha"), color.alpha}});
}

std::optional<ansi::Color> unarchiveColor(const QString& text) {
  const auto object = objectOfClass(text, u"color");
  if (!object) return std::nullopt;
  const QString model = object->value(QStringLiteral("model")).toString();
  const QJsonArray components = object->value(QStringLiteral("components")).toArray();
  const auto alpha = unitInterval(object->value(QStringLiteral("alpha")));
  if (!alpha) return std::nullopt;
  double c[3] = {0, 0, 0};
  const qsizetype expected = model == u"grey" ? 1 : model == u"rgb" ? 3 : 0;
  if (expected == 0 || components.size() != expected) return std::nullopt;
  for (qsizetype i = 0; i < expected; ++i) {
    const auto component = unitInterval(components.at(i));
    if (!component) return std::nullopt;
    c[i] = *component;
  }
  return expected == 1 ? ansi::Color::grey(c[0], *alpha)
                       : ansi::Color::rgb(c[0], c[1], c[2], *alpha);
}

QString archiveFont(const ansi::Font& font) {
  return toText({{kClass, QStringLiteral("font")},
                 {QStringLiteral("family"), QString::fromStdString(font.family)},
                 {QStringLiteral("pointSize"), font.pointSize},
                 {QStringLiteral("weight"), font.weight},
                 {QStringLiteral("italic"), font.italic}});
}

std::optional<ansi::Font> unarchiveFont(const QString& text) {
  const auto object = objectOfClass(text, u"font");
  if (!object) return std::nullopt;
  const QJsonValue family = object->value(QStringLiteral("family"));
  const QJsonValue pointSize = object->value(QStringLiteral("pointSize"));
  const QJsonValue weight = object->value(QStringLiteral("weight"));
  const QJsonValue italic = object->value(QStringLiteral("italic"));
  if (!family.isString() || !pointSize.isDouble() || !weight.isDouble() || !italic.isBool()) {
    return std::nullopt;
  }
  const double size = pointSize.toDouble();
  const double weightValue = weight.toDouble();
  if (!(size > 0.0) || !std::isfinite(size)) return std::nullopt;
  if (weightValue < ansi::Font::kLightestWeight || weightValue > ansi::Font::kHeaviestWeight ||
      weightValue != std::floor(weightValue)) {
    return std::nullopt;
  }
  return ansi::Font{family.toString().toStdString(), size, static_cast<int>(weightValue),
                    italic.toBool()};
}

}  // namespace pellimo::platform
