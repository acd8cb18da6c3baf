// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrivateFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace pellimo::platform {

namespace {

constexpr mode_t kOthers = 0077;

QString reason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

void setReason(QString* why, const QString& text) {
  if (why) *why = text;
}

/// Clears the group and other bits of an open file or folder; another user's is left alone.
void tightenDescriptor(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid()) return;
  if ((info.st_mode & kOthers) != 0) ::fchmod(fd, info.st_mode & 07777 & ~kOthers);
}

/// Opens `path` as `flags` say and tightens it; false, with the reason, when it cannot be opened.
bool openAndTighten(const QString& path, int flags, const char* what, QString* why) {
  const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0600);
  if (fd < 0) {
    setReason(
        why,
        QStringLiteral("cannot open %1%2: %3").arg(path, QString::fromLatin1(what), reason(errno)));
    return false;
  }
  tightenDescriptor(fd);
  ::close(fd);
  return true;
}

}  // namespace

bool makePrivateDirectory(const QString& path, QString* why) {
  const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
  // Each missing folder on the way is created 0700 too, as the XDG base directories want.
  qsizetype from = 1;
  for (;;) {
    const qsizetype slash = absolute.indexOf(u'/', from);
    const QByteArray native = QFile::encodeName(slash < 0 ? absolute : absolute.left(slash));
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
      setReason(
          why,
          QStringLiteral("cannot create %1: %2").arg(QFile::decodeName(native), reason(errno)));
      return false;
    }
    if (slash < 0) break;
    from = slash + 1;
  }
  return openAndTighten(absolute, O_RDONLY | O_DIRECTORY, "", why);
}

bool makePrivateFile(const QString& path, QString* why) {
  return openAndTighten(path, O_WRONLY | O_CREAT, " for writing", why);
}

void tightenPermissions(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  struct stat info {};
  if (::stat(native.constData(), &info) != 0 || info.st_uid != ::getuid()) return;
  if ((info.st_mode & kOthers) != 0) ::chmod(native.constData(), info.st_mode & 07777 & ~kOthers);
}

}  // namespace pellimo::platform
