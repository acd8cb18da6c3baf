// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/Manifest.h"

#include <QDebug>
#include <QStringList>

#include "platform/Bundle.h"
#include "platform/BusContract.h"
#include "platform/PropertyList.h"

namespace pellimo::widget {

Manifest readManifest() {
  const platform::Bundle& bundle = platform::Bundle::main();
  const QString path =
      bundle.pathForResource(QStringLiteral("maniffeest"), QStringLiteral("plist"));
  const auto manifest = platform::readStringDictionary(path);
  static bool reported = false;
  if (!manifest) {
    if (!reported) {
      qWarning().noquote() << "pellimo-widget: no readable manifest \"maniffeest.plist\" in"
                           << bundle.bundleIdentifier()
                           << "- of the host's commands only kill and refresh reach this module";
    }
    reported = true;
    return {};
  }
  QStringList missing;
  for (const QLatin1String key : platform::bus::manifest::kKeys) {
    if (manifest->value(key).isEmpty()) missing.append(key);
  }
  if (!missing.isEmpty() && !reported) {
    qWarning().noquote() << "pellimo-widget: the manifest of" << bundle.bundleIdentifier()
                         << "has no name for:" << missing.join(QStringLiteral(", "));
  }
  reported = true;
  return *manifest;
}

}  // namespace pellimo::widget
