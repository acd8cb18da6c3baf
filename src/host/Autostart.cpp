// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/Autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

#include "host/ModuleLocator.h"
#include "platform/PrivateFiles.h"

namespace pellimo::host {

namespace {

const QString kModulePrefix = QStringLiteral("module ");
const QString kTrayMark = QStringLiteral("tray");

QString configDirectory() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

/// A desktop entry string: backslashes and the characters that would end or break the line.
QString entryString(QString text) {
  return text.replace(u'\\', QLatin1String("\\\\"))
      .replace(u'\n', QLatin1String("\\n"))
      .replace(u'\t', QLatin1String("\\t"))
      .replace(u'\r', QLatin1String("\\r"));
}

bool writeFile(const QString& path, const QByteArray& contents, QString* why) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit()) {
    return true;
  }
  *why = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
  return false;
}

bool removeFile(const QString& path, QString* why) {
  QFile file(path);
  if (!file.exists() || file.remove()) return true;
  *why = QStringLiteral("cannot remove %1: %2").arg(path, file.errorString());
  return false;
}

QByteArray loginEntry() {
  const QString program = QCoreApplication::applicationFilePath();
  const QString entry =
      QStringLiteral(
          "[Desktop Entry]\n"
          "Type=Application\n"
          "Name=Pellimo widgets\n"
          "Comment=Start the Pellimo widgets and tray marked with pellimo autostart on\n"
          "TryExec=%1\n"
          "Exec=%2\n"
          "Icon=org.pellimo.Pellimo\n"
          "Terminal=false\n"
          "NoDisplay=true\n"
          "X-GNOME-Autostart-enabled=true\n")
          .arg(entryString(program),
               desktopExec({program, QStringLiteral("launch"), QStringLiteral("--autostart")}));
  return entry.toUtf8();
}

}  // namespace

QString AutostartMarks::filePath() {
  return configDirectory() + QStringLiteral("/pellimo/autostart.list");
}

QString AutostartMarks::entryPath() {
  return configDirectory() + QStringLiteral("/autostart/org.pellimo.Pellimo.desktop");
}

bool AutostartMarks::load(QString* why) {
  lines_.clear();
  QFile file(filePath());
  if (!file.exists()) return true;
  if (!file.open(QIODevice::ReadOnly)) {
    *why = QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
    return false;
  }
  for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
    if (!line.trimmed().isEmpty() && !line.startsWith(u'#')) lines_.append(line);
  }
  return true;
}

bool AutostartMarks::save(QString* why) const {
  if (lines_.isEmpty()) return removeFile(filePath(), why) && removeFile(entryPath(), why);
  const QString path = filePath();
  // Made private first: a file that exists keeps its mode when it is written over.
  if (!platform::makePrivateDirectory(QFileInfo(path).path(), why) ||
      !platform::makePrivateFile(path, why)) {
    return false;
  }
  const QString text = QStringLiteral("# What starts at login; see `pellimo help autostart`.\n") +
                       lines_.join(u'\n') + u'\n';
  if (!writeFile(path, text.toUtf8(), why)) return false;
  const QString entry = entryPath();
  if (!QDir().mkpath(QFileInfo(entry).path())) {
    *why = QStringLiteral("cannot create %1").arg(QFileInfo(entry).path());
    return false;
  }
  return writeFile(entry, loginEntry(), why);
}

QStringList AutostartMarks::modules() const {
  QStringList names;
  for (const QString& line : lines_) {
    if (line.startsWith(kModulePrefix)) names.append(line.mid(kModulePrefix.size()));
  }
  return names;
}

bool AutostartMarks::hasModule(const QString& name) const {
  return lines_.contains(kModulePrefix + name);
}

bool AutostartMarks::setModule(const QString& name, bool marked) {
  return setLine(kModulePrefix + name, marked);
}

bool AutostartMarks::hasTray() const {
  return lines_.contains(kTrayMark);
}

bool AutostartMarks::setTray(bool marked) {
  return setLine(kTrayMark, marked);
}

bool AutostartMarks::setLine(const QString& line, bool marked) {
  if (lines_.contains(line) == marked) return false;
  if (marked) {
    lines_.append(line);
  } else {
    lines_.removeAll(line);
  }
  return true;
}

QString markName(const platform::Bundle& module) {
  if (module.isBuiltIn()) return QStringLiteral("default");
  const QFileInfo directory(module.directory());
  if (directory.absolutePath() == QDir::cleanPath(modulesDirectory())) return directory.fileName();
  return module.directory();
}

QString desktopExec(const QStringList& arguments) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  QStringList quoted;
  for (QString argument : arguments) {
    argument.replace(u'%', QLatin1String("%%"));
    if (std::any_of(argument.begin(), argument.end(),
                    [](QChar c) { return reserved.contains(c); })) {
      QString inQuotes;
      for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') inQuotes += u'\\';
        inQuotes += c;
      }
      argument = u'"' + inQuotes + u'"';
    }
    quoted.append(argument);
  }
  return entryString(quoted.join(u' '));
}

}  // namespace pellimo::host
