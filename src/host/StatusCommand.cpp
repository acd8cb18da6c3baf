// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "host/Autostart.h"
#include "host/Commands.h"
#include "host/ModuleLocator.h"
#include "host/ModuleProbe.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"

namespace pellimo::host {

namespace {

QString yesNo(bool value) {
  return value ? QStringLiteral("yes") : QStringLiteral("no");
}

/// "exit 0 after 1.2 s", "signal 15 after 60.0 s, stopped for its time limit".
QString describeRun(const QVariantMap& run) {
  if (run.isEmpty()) return QStringLiteral("none yet");
  QString text =
      run.contains("exitStatus") ? QStringLiteral("exit %1").arg(run.value("exitStatus").toInt())
      : run.contains("signal")   ? QStringLiteral("signal %1").arg(run.value("signal").toInt())
                                 : QStringLiteral("did not start");
  text += QStringLiteral(" after %1 s").arg(run.value("durationMs").toDouble() / 1000, 0, 'f', 1);
  if (run.contains("stoppedFor")) text += ", stopped for " + run.value("stoppedFor").toString();
  return text + " (ended " + run.value("ended").toString() + ')';
}

QJsonValue orNull(const QString& text) {
  return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

/// The marks to start at login; none, with a warning, when they cannot be read.
AutostartMarks marks() {
  AutostartMarks marks;
  QString why;
  if (!marks.load(&why)) QTextStream(stderr) << "pellimo: warning: " << why << '\n';
  return marks;
}

}  // namespace

int printStatus(const platform::Bundle& module, bool json) {
  const auto status = findRunningModule(module.bundleIdentifier());
  if (!status) return fail(notRunning(module));
  if (!status->responding) return fail(notResponding(*status));
  const bool autostart = marks().hasModule(markName(module));
  QTextStream out(stdout);
  if (json) {
    const QJsonObject object{
        {"bundle", status->bundleIdentifier},
        {"pid", status->processIdentifier},
        {"ready", status->ready},
        {"raised", status->raised},
        {"frame", status->frame},
        {"displayPath", status->displayPath},
        {"canvas", status->canvas},
        {"running", status->running},
        {"lastRun",
         status->lastRun.isEmpty() ? QJsonValue() : QJsonObject::fromVariantMap(status->lastRun)},
        {"nextReload", orNull(status->nextReload)},
        {"autostart", autostart}};
    out << QJsonDocument(object).toJson(QJsonDocument::Compact) << '\n';
    return 0;
  }
  out << "bundle: " << status->bundleIdentifier << '\n'
      << "pid: " << status->processIdentifier << '\n'
      << "ready: " << yesNo(status->ready) << '\n'
      << "raised: " << yesNo(status->raised) << '\n'
      << "frame: " << status->frame << '\n'
      << "display: " << status->displayPath << '\n'
      << "running: " << yesNo(status->running) << '\n'
      << "last run: " << describeRun(status->lastRun) << '\n'
      << "next reload: " << (status->nextReload.isEmpty() ? "none" : status->nextReload) << '\n'
      << "autostart: " << yesNo(autostart) << '\n'
      << "canvas:\n"
      << status->canvas << '\n';
  return 0;
}

int listModules(bool namesOnly) {
  QTextStream out(stdout);
  if (namesOnly) {
    for (const ListedModule& listed : allModules())
      out << listed.argument << '\n';
    return 0;
  }
  const bool bus = platform::DistributedNotificationCenter::defaultCenter().isConnected();
  const AutostartMarks autostart = marks();
  for (const ListedModule& listed : allModules()) {
    out << qSetFieldWidth(16) << Qt::left << listed.name << qSetFieldWidth(0) << ' ';
    if (!listed.bundle) {
      out << "-  broken: " << listed.error << '\n';
      continue;
    }
    const platform::Bundle& module = *listed.bundle;
    QString state = bus ? QStringLiteral("stopped") : QStringLiteral("unknown (no session bus)");
    if (bus) {
      if (auto status = findRunningModule(module.bundleIdentifier())) {
        state = status->responding ? QStringLiteral("running (pid %1)")
                                   : QStringLiteral("not responding (pid %1)");
        state = state.arg(status->processIdentifier);
      }
    }
    if (autostart.hasModule(listed.argument)) state += QStringLiteral("; starts at login");
    const QString problem = manifestProblem(module);
    if (!problem.isEmpty()) state += QStringLiteral("; broken: ") + problem;
    out << module.bundleIdentifier() << "  " << state << '\n';
  }
  return 0;
}

int listModulesAsJson() {
  const bool bus = platform::DistributedNotificationCenter::defaultCenter().isConnected();
  const AutostartMarks autostart = marks();
  QJsonArray modules;
  for (const ListedModule& listed : allModules()) {
    QJsonObject entry{{"name", listed.argument},
                      {"autostart", autostart.hasModule(listed.argument)}};
    if (!listed.bundle) {
      entry.insert("state", "broken");
      entry.insert("problem", listed.error);
      modules.append(entry);
      continue;
    }
    const platform::Bundle& module = *listed.bundle;
    entry.insert("identifier", module.bundleIdentifier());
    entry.insert("hello", orNull(manifestName(module, platform::bus::manifest::kHello)));
    entry.insert("problem", orNull(manifestProblem(module)));
    QString state = bus ? QStringLiteral("stopped") : QStringLiteral("unknown");
    if (const auto status = bus ? findRunningModule(module.bundleIdentifier()) : std::nullopt) {
      state = !status->responding ? QStringLiteral("not responding")
              : status->raised    ? QStringLiteral("raised")
                                  : QStringLiteral("running");
      entry.insert("pid", status->processIdentifier);
    }
    entry.insert("state", state);
    modules.append(entry);
  }
  const QJsonObject listing{{"modules", modules}, {"trayAutostart", autostart.hasTray()}};
  QTextStream(stdout) << QJsonDocument(listing).toJson(QJsonDocument::Compact) << '\n';
  return 0;
}

int newModule(const QString& name) {
  QString error;
  const auto module = createModule(name, &error);
  if (!module) return fail(error);
  QTextStream(stdout) << "created " << name << " (" << module->bundleIdentifier() << ") in "
                      << QDir::toNativeSeparators(module->directory()) << '\n'
                      << "launch it with: pellimo launch " << name << '\n';
  return 0;
}

}  // namespace pellimo::host
