// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/Interpreter.h"

#include <QFileInfo>

namespace pellimo::runner {

QString interpreterForMode(qint64 mode) {
  switch (mode) {
    case 0:
      return QStringLiteral("/bin/sh");
    case 1:
      return QStringLiteral("/usr/bin/ruby");
    case 2: {
      // Debian and others ship no "python" any more, only "python3".
      const QString python = QStringLiteral("/usr/bin/python");
      return QFileInfo::exists(python) ? python : QStringLiteral("/usr/bin/python3");
    }
    default:
      return QString();
  }
}

QStringList splitArguments(const QString& text) {
  if (text.isEmpty()) return {};
  return text.split(QLatin1Char(','));
}

}  // namespace pellimo::runner
