// SPDX-License-Identifier: GPL-3.0-or-later
#include <QStringList>
#include <QTextStream>

#include "host/Autostart.h"
#include "host/Commands.h"
#include "platform/BusContract.h"
#include "platform/PropertyList.h"

namespace pellimo::host {

int fail(const QString& reason) {
  QTextStream(stderr) << "pellimo: " << reason << '\n';
  return 1;
}

QString notRunning(const platform::Bundle& module) {
  QString name = markName(module);
  if (name.contains(u' ')) name = u'\'' + name + u'\'';
  const QString launch = module.isBuiltIn() ? QStringLiteral("pellimo launch")
                                            : QStringLiteral("pellimo launch ") + name;
  return QStringLiteral("%1 is not running; start it with `%2`")
      .arg(module.bundleIdentifier(), launch);
}

namespace {

QString manifestPath(const platform::Bundle& module) {
  return module.pathForResource(platform::Bundle::kManifestFile, {});
}

}  // namespace

QString manifestName(const platform::Bundle& module, const QString& key) {
  const auto manifest = platform::readStringDictionary(manifestPath(module));
  return manifest ? manifest->value(key) : QString();
}

QString manifestProblem(const platform::Bundle& module) {
  const QString path = manifestPath(module);
  if (path.isEmpty()) return QStringLiteral("it has no %1").arg(platform::Bundle::kManifestFile);
  const auto manifest = platform::readStringDictionary(path);
  if (!manifest) return QStringLiteral("%1 is not a readable property list").arg(path);
  QStringList missing;
  for (const QLatin1String key : platform::bus::manifest::kKeys) {
    if (manifest->value(key).isEmpty()) missing.append(key);
  }
  if (missing.isEmpty()) return {};
  return QStringLiteral("its %1 names nothing for %2")
      .arg(platform::Bundle::kManifestFile, missing.join(QStringLiteral(", ")));
}

}  // namespace pellimo::host
