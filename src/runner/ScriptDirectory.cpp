#include "runner/ScriptDirectory.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <QDir>
#include <QFile>

namespace pellimo::runner {

std::optional<QString> privateScriptDirectory() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  const QString path = !runtime.isEmpty()
                           ? QFile::decodeName(runtime) + QStringLiteral("/pellimo")
                           : QDir::tempPath() + QStringLiteral("/pellimo-%1").arg(::getuid());
  const QByteArray native = QFile::encodeName(path);
  if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return std::nullopt;

  // lstat, not stat: a symbolic link planted at this name by someone else must not be followed.
  struct stat info {};
  if (::lstat(native.constData(), &info) != 0) return std::nullopt;
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return std::nullopt;
  if ((info.st_mode & 0077) != 0) return std::nullopt;
  return path;
}

}  // namespace pellimo::runner
