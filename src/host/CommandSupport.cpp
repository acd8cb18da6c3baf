#include <QTextStream>

#include "host/Commands.h"
#include "platform/PropertyList.h"

namespace pellimo::host {

int fail(const QString& reason) {
  QTextStream(stderr) << "pellimo: " << reason << '\n';
  return 1;
}

QString manifestName(const platform::Bundle& module, const QString& key) {
  const auto manifest = platform::readStringDictionary(
      module.pathForResource(QStringLiteral("maniffeest"), QStringLiteral("plist")));
  return manifest ? manifest->value(key) : QString();
}

}  // namespace pellimo::host
