#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "platform/Bundle.h"

namespace pellimo::host {

/// Where the modules a user made with `pellimo new` live.
QString modulesDirectory();

/// The module a command names: nothing or "default" is the built-in module; an argument with a
/// slash, or an existing directory, is a module directory; anything else is a module name.
std::optional<platform::Bundle> locateModule(const QString& argument, QString* error);

/// Every module the user can launch, the built-in one first.
QList<platform::Bundle> allModules();

/// Makes a module directory with a fresh identifier and a manifest of names unique to it.
std::optional<platform::Bundle> createModule(const QString& name, QString* error);

}  // namespace pellimo::host
