// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessInfo.h"

#include <QFile>
#include <QList>

namespace pellimo::platform {

quint64 processStartTime(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return 0;
  const QByteArray line = stat.readAll();
  // Field 2, the command name, is in parentheses and may itself hold spaces and parentheses.
  const qsizetype nameEnd = line.lastIndexOf(')');
  if (nameEnd < 0) return 0;
  const QList<QByteArray> fields = line.mid(nameEnd + 1).simplified().split(' ');
  constexpr qsizetype kStartTimeAfterName = 22 - 3;  // fields after the name start at field 3
  if (fields.size() <= kStartTimeAfterName) return 0;
  bool ok = false;
  const quint64 ticks = fields.at(kStartTimeAfterName).toULongLong(&ok);
  return ok ? ticks : 0;
}

}  // namespace pellimo::platform
