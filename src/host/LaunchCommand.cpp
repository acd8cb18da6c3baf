// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <optional>

#include "host/Autostart.h"
#include "host/Commands.h"
#include "host/ModuleLocator.h"
#include "host/ModuleProbe.h"
#include "host/Programs.h"
#include "host/Waiting.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PrivateFiles.h"

namespace pellimo::host {

namespace {

constexpr int kReadyTimeoutMs = 15000;

/// The module's own log: a detached widget must not hold the caller's terminal or pipes. Named
/// after a bundle, whose identifier was checked, so that it stays in the log directory. Made
/// private before the widget opens it, since scripts' error output lands there; nothing, with
/// the reason in `why`, when it cannot be.
std::optional<QString> logFile(const platform::Bundle& module, QString* why) {
  const QString log = moduleLogPath(module);
  const QString directory = QFileInfo(log).path();
  if (!platform::makePrivateDirectory(directory, why) || !platform::makePrivateFile(log, why)) {
    return std::nullopt;
  }
  return log;
}

/// Starts `pellimo tray` on its own, logging to its own file, unless a tray already runs.
int startTray() {
  const auto bus = QDBusConnection::sessionBus().interface();
  if (bus->isServiceRegistered(platform::bus::kTrayService)) {
    QTextStream(stdout) << "the tray already runs (pid "
                        << bus->servicePid(platform::bus::kTrayService).value() << ")\n";
    return 0;
  }
  const QString log = stateDirectory() + QStringLiteral("/tray.log");
  QString why;
  if (!platform::makePrivateDirectory(QFileInfo(log).path(), &why) ||
      !platform::makePrivateFile(log, &why)) {
    return fail(QStringLiteral("cannot keep the tray's log: %1").arg(why));
  }
  QProcess process;
  process.setProgram(QCoreApplication::applicationFilePath());
  process.setArguments({QStringLiteral("tray"), QStringLiteral("--wait")});
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(log, QIODevice::Append);
  process.setStandardErrorFile(log, QIODevice::Append);
  qint64 pid = 0;
  if (!process.startDetached(&pid)) return fail(QStringLiteral("cannot start the tray"));
  QTextStream(stdout) << "started the tray (pid " << pid << "); its log: " << log << '\n';
  return 0;
}

}  // namespace

QString stateDirectory() {
  // XDG_STATE_HOME by hand: Qt 6.4 has no standard location for it yet.
  const QString state = qEnvironmentVariable("XDG_STATE_HOME");
  return (state.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state") : state) +
         QStringLiteral("/pellimo");
}

QString moduleLogPath(const platform::Bundle& module) {
  return stateDirectory() + u'/' + module.bundleIdentifier() + QStringLiteral(".log");
}

int launchModule(const platform::Bundle& module) {
  const QString identifier = module.bundleIdentifier();
  if (auto running = findRunningModule(identifier)) {
    // A second copy would quit at once for it all the same.
    if (!running->responding) return fail(notResponding(*running) + "; not starting another");
    QTextStream(stdout) << identifier << " is already running (pid " << running->processIdentifier
                        << ")\n";
    return 0;
  }
  const QString program = companionProgram(QStringLiteral("pellimo-widget"));
  if (program.isEmpty()) {
    return fail(
        QStringLiteral("cannot find pellimo-widget beside %1, in its install folder or on PATH")
            .arg(QCoreApplication::applicationDirPath()));
  }

  bool announced = false;
  const QString hello = manifestName(module, platform::bus::manifest::kHello);
  QObject scope;
  if (!hello.isEmpty()) {
    platform::DistributedNotificationCenter::defaultCenter().addObserver(
        &scope, hello, [&announced] { announced = true; });
  }

  const QString problem = manifestProblem(module);
  if (!problem.isEmpty()) {
    QTextStream(stderr) << "pellimo: warning: " << identifier << ": " << problem
                        << "; commands it names nothing for will not reach the module (`pellimo "
                           "send kill` still stops it)\n";
  }

  QString why;
  const auto logPath = logFile(module, &why);
  if (!logPath) return fail(QStringLiteral("cannot keep the module's log: %1").arg(why));
  const QString log = *logPath;
  QProcess process;
  process.setProgram(program);
  if (!module.isBuiltIn()) process.setArguments({module.directory()});
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(log, QIODevice::Append);
  process.setStandardErrorFile(log, QIODevice::Append);
  qint64 pid = 0;
  if (!process.startDetached(&pid)) {
    return fail(QStringLiteral("cannot start %1").arg(program));
  }

  std::optional<ModuleStatus> status;
  const bool ready = waitUntil(
      [&] {
        status = findRunningModule(identifier);
        const bool settled = status && status->ready &&
                             (announced || hello.isEmpty() || status->processIdentifier != pid);
        return settled || !processAlive(pid);
      },
      kReadyTimeoutMs);

  if (status && status->processIdentifier != pid) {
    if (!status->responding) return fail(notResponding(*status) + "; not starting another");
    QTextStream(stdout) << identifier << " is already running (pid " << status->processIdentifier
                        << ")\n";
    return 0;
  }
  if (!processAlive(pid)) {
    return fail(
        QStringLiteral("%1: pellimo-widget exited before it was ready; its log says why: %2")
            .arg(identifier, log));
  }
  if (!ready) {
    return fail(QStringLiteral("%1 (pid %2) did not become ready within %3 s; see %4")
                    .arg(identifier)
                    .arg(pid)
                    .arg(kReadyTimeoutMs / 1000)
                    .arg(log));
  }
  QTextStream(stdout) << "launched " << identifier << " (pid " << pid << ")\n";
  return 0;
}

int launchModules(bool all) {
  QList<ListedModule> modules;
  AutostartMarks marks;
  if (all) {
    modules = allModules();
  } else {
    QString why;
    if (!marks.load(&why)) return fail(why);
    for (const QString& name : marks.modules()) {
      ListedModule marked{name, name, {}, {}};
      marked.bundle = locateModule(name, &marked.error);
      modules.append(marked);
    }
    if (modules.isEmpty() && !marks.hasTray()) {
      QTextStream(stdout) << "nothing is marked to start at login (see `pellimo help "
                             "autostart`)\n";
      return 0;
    }
  }
  int failed = 0;
  for (const ListedModule& module : modules) {
    if (!module.bundle) {
      QTextStream(stderr) << "pellimo: skipping " << module.argument << ": " << module.error
                          << '\n';
      ++failed;
    } else if (launchModule(*module.bundle) != 0) {
      ++failed;
    }
  }
  const bool trayFailed = marks.hasTray() && startTray() != 0;
  if (failed == 0) return trayFailed ? 1 : 0;
  return fail(QStringLiteral("%1 of %2 modules did not start; the messages above say why")
                  .arg(failed)
                  .arg(modules.size()));
}

}  // namespace pellimo::host
