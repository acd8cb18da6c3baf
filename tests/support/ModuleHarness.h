// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <vector>

#include "TestSupport.h"

namespace pellimo::test {

/// What a finished program printed and returned.
struct Finished {
  int exitCode = -1;
  QString out;
  QString err;
};

/// A private home for the real programs: temporary HOME and XDG directories (for this test
/// process too, so the settings it reads are the modules'), the offscreen platform unless a
/// display is wanted, and every module it started stopped at the end.
class ModuleHarness {
 public:
  ModuleHarness();
  ~ModuleHarness();

  /// Runs `pellimo` with the arguments and waits for it to finish.
  Finished host(const QStringList& arguments, int timeoutMs = 30000);
  /// Starts `pellimo` and leaves it running (for `watch`).
  QProcess* startHost(const QStringList& arguments);
  /// Starts `pellimo-widget` directly, bypassing the host.
  QProcess* startWidget(const QStringList& arguments = {});

  QString root() const { return dir_.path(); }
  QString scriptDirectory() const;
  QProcessEnvironment environment() const { return env_; }
  /// The environment of the programs started from now on.
  void setEnvironment(const QProcessEnvironment& environment) { env_ = environment; }
  /// The current directory of the programs started from now on; empty for this process's.
  void setWorkingDirectory(const QString& directory) { workingDirectory_ = directory; }

 private:
  QProcess* start(const QString& program, const QStringList& arguments);

  QTemporaryDir dir_;
  QProcessEnvironment env_;
  QString workingDirectory_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

/// The built-in module's identifier.
inline const QString kBuiltIn = QStringLiteral("org.pellimo.widget");

/// The process ids of the running instances of a module, oldest first.
QList<qint64> runningPids(const QString& identifier = kBuiltIn);

/// Stores settings of a module, the built-in one unless named, for its next start; whether they
/// were written.
bool storeSettings(const QMap<QString, QVariant>& values, const QString& identifier = kBuiltIn);

/// What `pellimo status --json` reports of a module, the built-in one unless named.
QJsonObject statusOf(ModuleHarness& harness, const QString& module = QStringLiteral("default"));

}  // namespace pellimo::test
