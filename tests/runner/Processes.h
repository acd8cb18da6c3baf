#pragma once

#include <sys/types.h>

#include <QDir>
#include <QFile>
#include <vector>

namespace pellimo::test {

/// One row of the process table, as /proc tells it.
struct ProcessEntry {
  pid_t pid = 0;
  pid_t parent = 0;
  pid_t group = 0;
  char state = '?';
};

/// Every process that has not exited yet (zombies, which only wait to be reaped, are left out).
inline std::vector<ProcessEntry> liveProcesses() {
  std::vector<ProcessEntry> table;
  const QStringList names = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
  for (const QString& name : names) {
    bool numeric = false;
    const pid_t pid = name.toInt(&numeric);
    if (!numeric) continue;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(name));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces and parentheses: the fields start after the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 3) continue;
    ProcessEntry entry{pid, fields[1].toInt(), fields[2].toInt(), fields[0].at(0)};
    if (entry.state != 'Z' && entry.state != 'X') table.push_back(entry);
  }
  return table;
}

inline std::vector<ProcessEntry> liveChildrenOf(pid_t parent) {
  std::vector<ProcessEntry> children;
  for (const ProcessEntry& entry : liveProcesses()) {
    if (entry.parent == parent) children.push_back(entry);
  }
  return children;
}

inline std::vector<ProcessEntry> liveDescendantsOf(pid_t ancestor) {
  const std::vector<ProcessEntry> table = liveProcesses();
  std::vector<ProcessEntry> found;
  std::vector<pid_t> parents{ancestor};
  while (!parents.empty()) {
    const pid_t parent = parents.back();
    parents.pop_back();
    for (const ProcessEntry& entry : table) {
      if (entry.parent != parent) continue;
      found.push_back(entry);
      parents.push_back(entry.pid);
    }
  }
  return found;
}

inline std::vector<ProcessEntry> liveMembersOfGroup(pid_t group) {
  std::vector<ProcessEntry> members;
  for (const ProcessEntry& entry : liveProcesses()) {
    if (entry.group == group) members.push_back(entry);
  }
  return members;
}

}  // namespace pellimo::test
