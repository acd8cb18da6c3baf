#include "widget/Manifest.h"

#include <QDebug>
#include <QStringList>

#include "platform/Bundle.h"
#include "platform/PropertyList.h"

namespace pellimo::widget {

namespace {

const QStringList kKeys = {"hello", "frame", "edit", "kill", "raise", "flat", "config", "clear"};

}  // namespace

Manifest readManifest() {
  const platform::Bundle& bundle = platform::Bundle::main();
  const QString path =
      bundle.pathForResource(QStringLiteral("maniffeest"), QStringLiteral("plist"));
  const auto manifest = platform::readStringDictionary(path);
  static bool reported = false;
  if (!manifest) {
    if (!reported) {
      qWarning().noquote() << "pellimo-widget: no readable manifest \"maniffeest.plist\" in"
                           << bundle.bundleIdentifier() << "- the host cannot reach this module";
    }
    reported = true;
    return {};
  }
  QStringList missing;
  for (const QString& key : kKeys) {
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
