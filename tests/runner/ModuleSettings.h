#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

#include "ModuleHarness.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {

/// Stores settings for the built-in module before it starts; the harness has pointed this
/// process's XDG directories at its private ones.
inline void seedBuiltInSettings(const QVariantMap& values,
                                const std::optional<ansi::Font>& codeFont = std::nullopt) {
  platform::SettingsStore store(QStringLiteral("org.pellimo.widget"));
  for (auto it = values.begin(); it != values.end(); ++it)
    store.setValue(it.value(), it.key());
  if (codeFont) store.setFont(*codeFont, QStringLiteral("codeFont"));
  store.synchronize();
}

/// The built-in module's canvas text, as `pellimo status --json` reports it.
inline QString moduleCanvas(ModuleHarness& harness) {
  const Finished result = harness.host({QStringLiteral("status"), QStringLiteral("--json")});
  return QJsonDocument::fromJson(result.out.toUtf8()).object().value("canvas").toString();
}

}  // namespace pellimo::test
