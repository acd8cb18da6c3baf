// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/ScriptFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstdlib>

#include "runner/ScriptDirectory.h"

namespace pellimo::runner {

namespace {

bool writeAll(int fd, const QByteArray& bytes) {
  qsizetype written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += n;
  }
  return true;
}

}  // namespace

QString extensionForMode(qint64 mode) {
  switch (mode) {
    case 0:
      return QStringLiteral("sh");
    case 1:
      return QStringLiteral("rb");
    case 2:
      return QStringLiteral("py");
    default:
      return QString();
  }
}

std::optional<QString> writeScriptFile(const QString& code, const QString& extension,
                                       QString* why) {
  const auto directory = privateScriptDirectory(why);
  if (!directory) return std::nullopt;
  QByteArray path = QFile::encodeName(*directory + QStringLiteral("/Pellimo.XXXXXX.") + extension);
  const int fd = ::mkstemps(path.data(), static_cast<int>(extension.size()) + 1);
  if (fd < 0) {
    if (why)
      *why =
          QStringLiteral("cannot create a file in %1: %2").arg(*directory, qt_error_string(errno));
    return std::nullopt;
  }
  const bool written = writeAll(fd, code.toUtf8());
  const int writeError = errno;
  ::close(fd);
  if (!written) {
    if (why) {
      *why = QStringLiteral("cannot write %1: %2")
                 .arg(QFile::decodeName(path), qt_error_string(writeError));
    }
    // A half-written script would run as something the user never wrote.
    ::unlink(path.constData());
    return std::nullopt;
  }
  ::chmod(path.constData(), 0777);
  return QFile::decodeName(path);
}

}  // namespace pellimo::runner
