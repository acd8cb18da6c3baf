#pragma once

#include <QCoreApplication>
#include <QProcess>

namespace pellimo::test {

inline constexpr char kHelperOption[] = "--module-helper";
inline constexpr char kHelperExported[] = "exported";

/// This test binary started again as a module process (see main.cpp); killed at the end of the
/// test when it is still running.
struct ModuleHelper {
  /// Starts the process and waits until its module object is on the bus.
  explicit ModuleHelper(const QString& bundleIdentifier) {
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), {kHelperOption, bundleIdentifier});
    QByteArray output;
    while (!exported && process.waitForReadyRead(5000)) {
      output += process.readAll();
      exported = output.contains(kHelperExported);
    }
  }
  ~ModuleHelper() {
    process.kill();
    process.waitForFinished();
  }
  qint64 pid() const { return process.processId(); }

  QProcess process;
  bool exported = false;
};

}  // namespace pellimo::test
