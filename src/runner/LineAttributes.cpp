// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/LineAttributes.h"

#include <QRegularExpression>
#include <array>
#include <map>

namespace pellimo::runner {

namespace {

struct NamedColor {
  const char* name;
  unsigned rgb;
};

constexpr std::array kNamedColors{
    NamedColor{"black", 0x000000},     NamedColor{"white", 0xffffff},
    NamedColor{"red", 0xff0000},       NamedColor{"green", 0x008000},
    NamedColor{"lime", 0x00ff00},      NamedColor{"blue", 0x0000ff},
    NamedColor{"yellow", 0xffff00},    NamedColor{"orange", 0xffa500},
    NamedColor{"purple", 0x800080},    NamedColor{"pink", 0xffc0cb},
    NamedColor{"brown", 0xa52a2a},     NamedColor{"cyan", 0x00ffff},
    NamedColor{"aqua", 0x00ffff},      NamedColor{"magenta", 0xff00ff},
    NamedColor{"fuchsia", 0xff00ff},   NamedColor{"gray", 0x808080},
    NamedColor{"grey", 0x808080},      NamedColor{"lightgray", 0xd3d3d3},
    NamedColor{"lightgrey", 0xd3d3d3}, NamedColor{"darkgray", 0xa9a9a9},
    NamedColor{"darkgrey", 0xa9a9a9},  NamedColor{"silver", 0xc0c0c0},
    NamedColor{"maroon", 0x800000},    NamedColor{"olive", 0x808000},
    NamedColor{"navy", 0x000080},      NamedColor{"teal", 0x008080},
    NamedColor{"gold", 0xffd700},      NamedColor{"orangered", 0xff4500},
    NamedColor{"violet", 0xee82ee},    NamedColor{"indigo", 0x4b0082},
};

ansi::Color fromRgb(unsigned rgb) {
  return ansi::Color::rgb(((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0,
                          (rgb & 0xff) / 255.0);
}

bool isFalse(const QString& value) {
  return value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}

bool isTrue(const QString& value) {
  return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<ansi::Color> colorFromName(const QString& name) {
  static const QRegularExpression hex(QStringLiteral("^#([0-9a-fA-F]{3}|[0-9a-fA-F]{6})$"));
  if (hex.match(name).hasMatch()) {
    QString digits = name.mid(1);
    if (digits.size() == 3)
      digits = QString(digits[0]) + digits[0] + digits[1] + digits[1] + digits[2] + digits[2];
    return fromRgb(digits.toUInt(nullptr, 16));
  }
  for (const NamedColor& named : kNamedColors) {
    if (name.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
      return fromRgb(named.rgb);
  }
  return std::nullopt;
}

LineAttributes interpretAttributes(const MenuLine& line) {
  LineAttributes meant;
  LineLook& look = meant.look;
  LineAction& action = meant.action;
  // Parameters come numbered, in any order, perhaps with gaps.
  std::map<int, QString> parameters;
  static const QRegularExpression parameter(QStringLiteral("^param([1-9][0-9]{0,3})$"));
  for (const auto& [rawKey, rawValue] : line.attributes) {
    const QString key = QString::fromStdU16String(rawKey);
    const QString value = QString::fromStdU16String(rawValue);
    bool ok = false;
    if (key == QLatin1String("color")) {
      look.color = colorFromName(value);
    } else if (key == QLatin1String("font")) {
      look.fontFamily = value;
    } else if (key == QLatin1String("size")) {
      const double size = value.toDouble(&ok);
      if (ok && size > 0) look.fontSize = size;
    } else if (key == QLatin1String("trim")) {
      look.trim = !isFalse(value);
    } else if (key == QLatin1String("length")) {
      const int length = value.toInt(&ok);
      if (ok && length > 0) look.length = length;
    } else if (key == QLatin1String("ansi")) {
      look.ansi = !isFalse(value);
    } else if (key == QLatin1String("dropdown")) {
      look.dropdown = !isFalse(value);
    } else if (key == QLatin1String("href")) {
      action.href = value;
    } else if (key == QLatin1String("bash") || key == QLatin1String("shell")) {
      action.program = value;
    } else if (key == QLatin1String("terminal")) {
      action.terminal = !isFalse(value);
    } else if (key == QLatin1String("refresh")) {
      action.refresh = isTrue(value);
    } else if (const auto match = parameter.match(key); match.hasMatch()) {
      parameters[match.captured(1).toInt()] = value;
    }
  }
  if (!action.program.isEmpty()) {
    for (const auto& [number, value] : parameters)
      action.arguments.append(value);
  }
  return meant;
}

}  // namespace pellimo::runner
