// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModuleHarness.h"

#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QTimer>

#include "platform/RunningApplications.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {

namespace {

/// The programs start as a terminal's foreground job does, with SIGINT and SIGHUP handled by
/// default, whatever this test process inherited: a module keeps them ignored when it starts
/// with them ignored.
void startWithDefaultSignals(QProcess& process) {
  process.setChildProcessModifier([] {
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGHUP, SIG_DFL);
  });
}

}  // namespace

ModuleHarness::ModuleHarness() : env_(QProcessEnvironment::systemEnvironment()) {
  const QString base = dir_.path();
  const QList<std::pair<const char*, QString>> dirs = {{"HOME", base + "/home"},
                                                       {"XDG_CONFIG_HOME", base + "/config"},
                                                       {"XDG_DATA_HOME", base + "/data"},
                                                       {"XDG_STATE_HOME", base + "/state"},
                                                       {"XDG_CACHE_HOME", base + "/cache"},
                                                       {"XDG_RUNTIME_DIR", base + "/runtime"}};
  for (const auto& [name, path] : dirs) {
    QDir().mkpath(path);
    env_.insert(QString::fromLatin1(name), path);
    qputenv(name, QFile::encodeName(path));
  }
  QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (!env_.contains(QStringLiteral("DISPLAY"))) {
    env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }
}

ModuleHarness::~ModuleHarness() {
  for (const auto& app : platform::runningApplications()) {
    ::kill(static_cast<pid_t>(app.processIdentifier), SIGKILL);
  }
  for (auto& process : processes_) {
    if (process->state() != QProcess::NotRunning) {
      process->kill();
      process->waitForFinished(2000);
    }
  }
}

Finished ModuleHarness::host(const QStringList& arguments, int timeoutMs) {
  QProcess process;
  process.setProcessEnvironment(env_);
  process.setWorkingDirectory(workingDirectory_);
  startWithDefaultSignals(process);
  process.start(QStringLiteral(PELLIMO_HOST), arguments);
  Finished result;
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    result.err = QStringLiteral("timed out");
    return result;
  }
  result.exitCode = process.exitCode();
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}

QProcess* ModuleHarness::startHost(const QStringList& arguments) {
  return start(QStringLiteral(PELLIMO_HOST), arguments);
}

QProcess* ModuleHarness::startWidget(const QStringList& arguments) {
  return start(QStringLiteral(PELLIMO_WIDGET), arguments);
}

QProcess* ModuleHarness::start(const QString& program, const QStringList& arguments) {
  auto& process = processes_.emplace_back(std::make_unique<QProcess>());
  process->setProcessEnvironment(env_);
  process->setWorkingDirectory(workingDirectory_);
  startWithDefaultSignals(*process);
  process->start(program, arguments);
  process->waitForStarted();
  return process.get();
}

QString ModuleHarness::scriptDirectory() const {
  return dir_.path() + "/runtime/pellimo";
}

QList<qint64> runningPids(const QString& identifier) {
  QList<qint64> pids;
  for (const auto& app : platform::runningApplicationsWithBundleIdentifier(identifier))
    pids.append(app.processIdentifier);
  return pids;
}

bool storeSettings(const QMap<QString, QVariant>& values, const QString& identifier) {
  platform::SettingsStore settings(identifier);
  for (auto value = values.begin(); value != values.end(); ++value)
    settings.setValue(value.value(), value.key());
  return settings.synchronize();
}

QJsonObject statusOf(ModuleHarness& harness, const QString& module) {
  return QJsonDocument::fromJson(harness.host({"status", module, "--json"}).out.toUtf8()).object();
}

}  // namespace pellimo::test
