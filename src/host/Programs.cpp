// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/Programs.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

#include "host/Commands.h"

namespace pellimo::host {

QString companionProgram(const QString& name) {
  const QString here = QCoreApplication::applicationDirPath();
  for (const QString& candidate :
       {here + u'/' + name,
        QDir::cleanPath(here + QStringLiteral("/" PELLIMO_COMPANIONS_FROM_BIN "/") + name)}) {
    if (QFileInfo(candidate).isExecutable()) return candidate;
  }
  return QStandardPaths::findExecutable(name);
}

int runTray(bool waitForHost) {
  const QString tray = companionProgram(QStringLiteral("pellimo-tray"));
  if (tray.isEmpty()) {
    return fail(QStringLiteral("cannot find pellimo-tray beside %1 or on PATH")
                    .arg(QCoreApplication::applicationFilePath()));
  }
  const QByteArray program = QFile::encodeName(tray);
  const QByteArray pellimo = QFile::encodeName(QCoreApplication::applicationFilePath());
  char wait[] = "--wait";
  char* const arguments[] = {const_cast<char*>(program.constData()),
                             const_cast<char*>(pellimo.constData()), waitForHost ? wait : nullptr,
                             nullptr};
  ::execv(program.constData(), arguments);
  return fail(
      QStringLiteral("cannot run %1: %2").arg(tray, QString::fromLocal8Bit(std::strerror(errno))));
}

}  // namespace pellimo::host
