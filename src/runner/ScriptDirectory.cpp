#include "runner/ScriptDirectory.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <QDebug>
#include <QDir>
#include <QFile>

namespace pellimo::runner {

namespace {

/// `path` once it is a directory of the user's own, open to nobody else; made when missing.
std::optional<QString> privateDirectory(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return std::nullopt;

  // lstat, not stat: a symbolic link planted at this name by someone else must not be followed.
  struct stat info {};
  if (::lstat(native.constData(), &info) != 0) return std::nullopt;
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return std::nullopt;
  if ((info.st_mode & 0077) != 0) return std::nullopt;
  return path;
}

}  // namespace

std::optional<QString> privateScriptDirectory() {
  const QString temporary = QDir::tempPath() + QStringLiteral("/pellimo-%1").arg(::getuid());
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (runtime.isEmpty()) return privateDirectory(temporary);
  const QString preferred = QFile::decodeName(runtime) + QStringLiteral("/pellimo");
  if (auto directory = privateDirectory(preferred)) return directory;
  // A runtime directory that is missing or unusable must not stop every run.
  static bool warned = false;
  if (!warned) {
    warned = true;
    qWarning().noquote() << "pellimo-widget: cannot keep scripts in" << preferred << "- using"
                         << temporary << "instead";
  }
  return privateDirectory(temporary);
}

}  // namespace pellimo::runner
