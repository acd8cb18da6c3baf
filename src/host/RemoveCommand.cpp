// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

#include "host/Autostart.h"
#include "host/CommandLine.h"
#include "host/Commands.h"
#include "host/ModuleLocator.h"
#include "host/ModuleProbe.h"
#include "host/Waiting.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/SettingsStore.h"

namespace pellimo::host {

namespace {

constexpr int kGoneTimeoutMs = 10000;

/// Asks on the terminal; whether the answer was yes.
bool confirmed(const QString& question) {
  QTextStream(stdout) << question << " [y/N] " << Qt::flush;
  QTextStream in(stdin);
  const QString answer = in.readLine().trimmed().toLower();
  return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

/// Quits the running module and waits until its process is gone, so that nothing it writes
/// while quitting outlives the removal.
int quit(const platform::Bundle& module, const ModuleStatus& running) {
  if (!running.responding) {
    return fail(
        notResponding(running) +
        QStringLiteral("; end it (kill %1) and remove it again").arg(running.processIdentifier));
  }
  if (const int status = sendCommand(platform::bus::manifest::kKill, module); status != 0) {
    return status;
  }
  if (!waitUntil([&] { return !processAlive(running.processIdentifier); }, kGoneTimeoutMs)) {
    return fail(QStringLiteral("%1 (pid %2) did not end")
                    .arg(module.bundleIdentifier())
                    .arg(running.processIdentifier));
  }
  return 0;
}

}  // namespace

int removeModule(const QString& name, bool confirmedAlready) {
  if (name.contains(u'/')) {
    return usageError(QStringLiteral("`remove` takes the name of a module made with `pellimo "
                                     "new`; %1 is a module directory, which is yours to delete")
                          .arg(name),
                      QStringLiteral("remove"));
  }
  if (name.isEmpty() || name == QLatin1String("default")) {
    return fail(
        QStringLiteral("the built-in module cannot be removed; `pellimo send clear` "
                       "wipes its settings"));
  }
  const QString directory = modulesDirectory() + u'/' + name;
  if (name == QLatin1String(".") || name == QLatin1String("..") || !QFileInfo(directory).isDir()) {
    return fail(QStringLiteral("unknown module \"%1\" (see `pellimo list`)").arg(name));
  }
  QString error;
  const auto module = platform::Bundle::fromDirectory(directory, &error);
  AutostartMarks marks;
  QString why;
  if (!marks.load(&why)) return fail(why);

  // A broken module's folder still goes; only a usable identifier names settings and a log.
  QStringList files;
  std::optional<ModuleStatus> running;
  if (module) {
    const QString settings = platform::SettingsStore::filePath(module->bundleIdentifier());
    for (const QString& file :
         {settings, settings + QStringLiteral(".corrupt"), moduleLogPath(*module)}) {
      if (QFileInfo::exists(file)) files.append(file);
    }
    if (platform::DistributedNotificationCenter::defaultCenter().isConnected()) {
      running = findRunningModule(module->bundleIdentifier());
    }
  }
  const bool marked = marks.hasModule(name);
  marks.setModule(name, false);

  QTextStream out(stdout);
  out << "removing " << name << " ("
      << (module ? module->bundleIdentifier() : QStringLiteral("broken: ") + error) << "):\n";
  if (running) out << "  quit it (pid " << running->processIdentifier << ")\n";
  out << "  delete " << directory << "/\n";
  for (const QString& file : files)
    out << "  delete " << file << '\n';
  if (marked) {
    out << "  take away its mark to start at login";
    if (marks.modules().isEmpty()) out << " and delete " << AutostartMarks::entryPath();
    out << '\n';
  }
  out.flush();
  if (!confirmedAlready) {
    if (!::isatty(STDIN_FILENO)) {
      return usageError(
          QStringLiteral("nothing removed: there is no terminal to confirm on; add --yes"),
          QStringLiteral("remove"));
    }
    if (!confirmed(QStringLiteral("Remove %1?").arg(name))) {
      return fail(QStringLiteral("nothing removed"));
    }
  }

  if (running) {
    if (const int status = quit(*module, *running); status != 0) return status;
  }
  if (!QDir(directory).removeRecursively()) {
    return fail(QStringLiteral("cannot delete all of %1").arg(directory));
  }
  for (const QString& file : files) {
    if (!QFile::remove(file) && QFileInfo::exists(file)) {
      return fail(QStringLiteral("cannot delete %1").arg(file));
    }
  }
  if (marked && !marks.save(&why)) return fail(why);
  out << "removed " << name << '\n';
  return 0;
}

}  // namespace pellimo::host
