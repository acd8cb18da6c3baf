// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMutex>
#include <QThread>

void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

void PrintTo(const QRect& rect, std::ostream* os) {
  *os << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height()
      << ")";
}

namespace pellimo::ansi {

void PrintTo(const Color& color, std::ostream* os) {
  *os << (color.model == Color::Model::Grey ? "grey(" : "rgb(") << color.c0 << ", " << color.c1
      << ", " << color.c2 << ", alpha " << color.alpha << ")";
}

void PrintTo(const Font& font, std::ostream* os) {
  *os << "font(\"" << font.family << "\", " << font.pointSize << " pt, weight " << font.weight
      << (font.italic ? ", italic)" : ")");
}

}  // namespace pellimo::ansi

namespace pellimo::test {

bool eventually(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // Outside a running event loop, objects given to deleteLater() wait for this.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QThread::msleep(5);
  }
  return true;
}

void serveFor(int ms) {
  eventually([] { return false; }, ms);
}

QByteArray fileContents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

unsigned fileMode(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

namespace {

QMutex loggedMutex;
QStringList logged;

void keepLine(QtMsgType, const QMessageLogContext&, const QString& line) {
  const QMutexLocker lock(&loggedMutex);
  logged.append(line);
}

}  // namespace

LoggedLines::LoggedLines() {
  const QMutexLocker lock(&loggedMutex);
  logged.clear();
  qInstallMessageHandler(keepLine);
}

LoggedLines::~LoggedLines() {
  qInstallMessageHandler(nullptr);
}

QStringList LoggedLines::lines() const {
  const QMutexLocker lock(&loggedMutex);
  return logged;
}

QStringList LoggedLines::containing(const QString& text) const {
  return lines().filter(text);
}

}  // namespace pellimo::test
