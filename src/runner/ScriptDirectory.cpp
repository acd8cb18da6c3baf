// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/ScriptDirectory.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <QDebug>
#include <QDir>
#include <QFile>

namespace pellimo::runner {

namespace {

void setReason(QString* why, const QString& text) {
  if (why) *why = text;
}

/// `path` once it is a directory of the user's own, open to nobody else; made when missing.
/// Otherwise nothing, and why not in `why`.
std::optional<QString> privateDirectory(const QString& path, QString* why) {
  const QByteArray native = QFile::encodeName(path);
  if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
    setReason(why, QStringLiteral("cannot create %1: %2").arg(path, qt_error_string(errno)));
    return std::nullopt;
  }

  // lstat, not stat: a symbolic link planted at this name by someone else must not be followed.
  struct stat info {};
  if (::lstat(native.constData(), &info) != 0) {
    setReason(why, QStringLiteral("cannot look at %1: %2").arg(path, qt_error_string(errno)));
    return std::nullopt;
  }
  if (S_ISLNK(info.st_mode)) {
    setReason(why, QStringLiteral("%1 is a symbolic link").arg(path));
  } else if (!S_ISDIR(info.st_mode)) {
    setReason(why, QStringLiteral("%1 is not a directory").arg(path));
  } else if (info.st_uid != ::getuid()) {
    setReason(why,
              QStringLiteral("%1 belongs to another user (uid %2)").arg(path).arg(info.st_uid));
  } else if ((info.st_mode & 0077) != 0) {
    setReason(why, QStringLiteral("%1 is open to other users (mode %2)")
                       .arg(path)
                       .arg(info.st_mode & 0777, 4, 8, QLatin1Char('0')));
  } else {
    return path;
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> privateScriptDirectory(QString* why) {
  const QString temporary = QDir::tempPath() + QStringLiteral("/pellimo-%1").arg(::getuid());
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (runtime.isEmpty()) return privateDirectory(temporary, why);
  const QString preferred = QFile::decodeName(runtime) + QStringLiteral("/pellimo");
  QString unusable;
  if (auto directory = privateDirectory(preferred, &unusable)) return directory;
  // A runtime directory that is missing or unusable must not stop every run.
  static bool warned = false;
  if (!warned) {
    warned = true;
    qWarning().noquote() << "pellimo-widget: cannot keep scripts in" << preferred << "-" << unusable
                         << "- using" << temporary << "instead";
  }
  return privateDirectory(temporary, why);
}

}  // namespace pellimo::runner
