#pragma once

#include <QProcess>

namespace pellimo::test {

/// A stand-in module process (ModuleStub.cpp), killed at the end of the test.
struct ModuleHelper {
  /// Starts the process and waits until its module object is on the bus.
  explicit ModuleHelper(const QString& bundleIdentifier) {
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(PELLIMO_MODULE_STUB), {bundleIdentifier});
    while (!process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    exported = process.readLine() == "exported\n";
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
