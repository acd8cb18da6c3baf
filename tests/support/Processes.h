// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <vector>

namespace pellimo::test {

struct ProcessEntry {
  pid_t pid = 0;
  pid_t parent = 0;
  pid_t group = 0;
  pid_t session = 0;
};

/// The processes /proc lists that `keep` accepts, zombies (which only wait to be reaped) left out.
inline std::vector<ProcessEntry> liveProcesses(
    const std::function<bool(const ProcessEntry&)>& keep) {
  std::vector<ProcessEntry> found;
  for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(name));
    if (name.toInt() == 0 || !stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces and parentheses: the fields start after the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 4 || fields[0] == "Z" || fields[0] == "X") continue;
    const ProcessEntry entry{name.toInt(), fields[1].toInt(), fields[2].toInt(), fields[3].toInt()};
    if (keep(entry)) found.push_back(entry);
  }
  return found;
}

/// The state letter /proc gives process `pid` ('R', 'S', 'T' for stopped...), or 0 when it is gone.
inline char processState(pid_t pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return 0;
  const QByteArray line = stat.readAll();
  const qsizetype state = line.lastIndexOf(')') + 2;
  return state > 1 && state < line.size() ? line.at(state) : 0;
}

inline std::vector<ProcessEntry> liveChildrenOf(pid_t parent) {
  return liveProcesses([=](const ProcessEntry& entry) { return entry.parent == parent; });
}

inline std::vector<ProcessEntry> liveMembersOfGroup(pid_t group) {
  return liveProcesses([=](const ProcessEntry& entry) { return entry.group == group; });
}

}  // namespace pellimo::test
