// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/PellimoRunner.h"

#include <QProcess>
#include <QRegularExpression>

namespace pellimo::tray {

namespace {

QString messageOf(QProcess& process, const QStringList& arguments) {
  static const QRegularExpression prefix(QStringLiteral("^pellimo: "),
                                         QRegularExpression::MultilineOption);
  QString message = QString::fromUtf8(process.readAllStandardError()).trimmed();
  message.remove(prefix);
  if (!message.isEmpty()) return message;
  return process.exitStatus() == QProcess::CrashExit
             ? QStringLiteral("`pellimo %1` crashed").arg(arguments.join(u' '))
             : QStringLiteral("`pellimo %1` failed (exit status %2)")
                   .arg(arguments.join(u' '))
                   .arg(process.exitCode());
}

}  // namespace

PellimoRunner::PellimoRunner(QString program, QObject* parent)
    : QObject(parent), program_(std::move(program)) {}

void PellimoRunner::run(const QStringList& arguments, Succeeded succeeded, Failed failed) {
  auto* process = new QProcess(this);
  process->setStandardInputFile(QProcess::nullDevice());
  connect(process, &QProcess::finished, this, [=, this](int exitCode, QProcess::ExitStatus status) {
    process->deleteLater();
    if (status == QProcess::NormalExit && exitCode == 0) {
      if (succeeded) succeeded(process->readAllStandardOutput());
    } else {
      const QString message = messageOf(*process, arguments);
      if (failed) {
        failed(message);
      } else {
        emit failure(message);
      }
    }
    emit finished();
  });
  connect(process, &QProcess::errorOccurred, this, [=, this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    process->deleteLater();
    const QString message =
        QStringLiteral("cannot run %1: %2").arg(program_, process->errorString());
    if (failed) {
      failed(message);
    } else {
      emit failure(message);
    }
  });
  process->start(program_, arguments);
}

}  // namespace pellimo::tray
