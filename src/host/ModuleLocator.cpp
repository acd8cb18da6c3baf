// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ModuleLocator.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>

#include "platform/BusContract.h"
#include "platform/PropertyList.h"

namespace pellimo::host {

namespace {

bool isValidName(const QString& name) {
  static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9_-]{0,63}$"));
  return pattern.match(name).hasMatch();
}

}  // namespace

QString modulesDirectory() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/pellimo/modules");
}

std::optional<platform::Bundle> locateModule(const QString& argument, QString* error) {
  if (argument.isEmpty() || argument == QLatin1String("default")) {
    return platform::Bundle::builtIn();
  }
  if (argument.contains(QLatin1Char('/'))) {
    const QString directory = QFileInfo(argument).absoluteFilePath();
    if (QFileInfo(directory).isDir()) return platform::Bundle::fromDirectory(directory, error);
    *error = QStringLiteral("no module directory at %1").arg(directory);
    return std::nullopt;
  }
  // "." and ".." have no slash yet would name the modules directory or its parent.
  const bool named = argument != QLatin1String(".") && argument != QLatin1String("..");
  const QString directory = modulesDirectory() + '/' + argument;
  if (named && QFileInfo(directory).isDir()) {
    return platform::Bundle::fromDirectory(directory, error);
  }
  *error = QStringLiteral("unknown module \"%1\" (see `pellimo list`)").arg(argument);
  if (QFileInfo(argument).isDir()) {
    *error += QStringLiteral("; for the directory here, say ./%1").arg(argument);
  }
  return std::nullopt;
}

QList<ListedModule> allModules() {
  QList<ListedModule> modules{
      {QStringLiteral("default"), QStringLiteral("default"), platform::Bundle::builtIn(), {}}};
  const QDir root(modulesDirectory());
  for (const QString& entry : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    ListedModule module;
    module.bundle = platform::Bundle::fromDirectory(root.filePath(entry), &module.error);
    module.name = module.bundle ? module.bundle->name() : entry;
    module.argument = entry;
    modules.append(module);
  }
  return modules;
}

std::optional<platform::Bundle> createModule(const QString& name, QString* error) {
  if (!isValidName(name)) {
    *error = QStringLiteral(
        "module names are 1 to 64 letters, digits, '-' or '_', starting with a letter or digit");
    return std::nullopt;
  }
  if (name == QLatin1String("default")) {
    *error = QStringLiteral("\"default\" names the built-in module; choose another name");
    return std::nullopt;
  }
  const QString directory = modulesDirectory() + '/' + name;
  if (QFileInfo::exists(directory)) {
    *error = QStringLiteral("a module named \"%1\" already exists at %2").arg(name, directory);
    return std::nullopt;
  }
  if (!QDir().mkpath(directory)) {
    *error = QStringLiteral("cannot create %1").arg(directory);
    return std::nullopt;
  }
  // The identifier names the settings store too, so it must never collide with another module's.
  const QString suffix = QUuid::createUuid().toString(QUuid::Id128).left(12);
  const QString identifier = QStringLiteral("org.pellimo.module.%1.%2").arg(name, suffix);
  QMap<QString, QString> manifest;
  for (const QLatin1String key : platform::bus::manifest::kKeys) {
    manifest.insert(key, identifier + '.' + key);
  }
  manifest.insert(platform::bus::manifest::kRefresh,
                  identifier + '.' + platform::bus::manifest::kRefresh);
  const bool written =
      platform::writeStringDictionary(
          directory + u'/' + platform::Bundle::kIdentityFile,
          {{platform::Bundle::kIdentifierKey, identifier}, {platform::Bundle::kNameKey, name}}) &&
      platform::writeStringDictionary(directory + u'/' + platform::Bundle::kManifestFile, manifest);
  if (!written) {
    *error = QStringLiteral("cannot write the module files in %1").arg(directory);
    return std::nullopt;
  }
  return platform::Bundle::fromDirectory(directory, error);
}

}  // namespace pellimo::host
