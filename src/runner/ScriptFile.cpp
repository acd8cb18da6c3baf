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

std::optional<QString> writeScriptFile(const QString& code, const QString& extension) {
  const auto directory = privateScriptDirectory();
  if (!directory) return std::nullopt;
  QByteArray path = QFile::encodeName(*directory + QStringLiteral("/Pellimo.XXXXXX.") + extension);
  const int fd = ::mkstemps(path.data(), static_cast<int>(extension.size()) + 1);
  if (fd < 0) return std::nullopt;
  const bool written = writeAll(fd, code.toUtf8());
  ::close(fd);
  if (!written) {
    // A half-written script would run as something the user never wrote.
    ::unlink(path.constData());
    return std::nullopt;
  }
  ::chmod(path.constData(), 0777);
  return QFile::decodeName(path);
}

}  // namespace pellimo::runner
