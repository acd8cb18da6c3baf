// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/ModuleListing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace pellimo::tray {

namespace {

using State = ModuleEntry::State;

const QMap<QString, State> kStates{{QStringLiteral("running"), State::Running},
                                   {QStringLiteral("raised"), State::Raised},
                                   {QStringLiteral("stopped"), State::Stopped},
                                   {QStringLiteral("not responding"), State::NotResponding},
                                   {QStringLiteral("broken"), State::Broken},
                                   {QStringLiteral("unknown"), State::Unknown}};

}  // namespace

QString ModuleEntry::describe() const {
  QString text = kStates.key(state);
  if (autostart) text += QStringLiteral(", starts at login");
  return text;
}

std::optional<Listing> parseListing(const QByteArray& json, QString* error) {
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
  const QJsonValue modules = document.object().value(QLatin1String("modules"));
  if (!document.isObject() || !modules.isArray()) {
    *error = parseError.error != QJsonParseError::NoError
                 ? parseError.errorString()
                 : QStringLiteral("it holds no list of modules");
    return std::nullopt;
  }
  Listing listing;
  listing.trayAutostart = document.object().value(QLatin1String("trayAutostart")).toBool();
  for (const QJsonValue& value : modules.toArray()) {
    const QJsonObject object = value.toObject();
    ModuleEntry entry;
    entry.name = object.value(QLatin1String("name")).toString();
    entry.state = kStates.value(object.value(QLatin1String("state")).toString(), State::Unknown);
    entry.autostart = object.value(QLatin1String("autostart")).toBool();
    entry.problem = object.value(QLatin1String("problem")).toString();
    entry.hello = object.value(QLatin1String("hello")).toString();
    if (!entry.name.isEmpty()) listing.modules.append(entry);
  }
  return listing;
}

}  // namespace pellimo::tray
