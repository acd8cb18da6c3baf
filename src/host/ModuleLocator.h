// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "platform/Bundle.h"

namespace pellimo::host {

/// Where the modules a user made with `pellimo new` live.
QString modulesDirectory();

/// The module a command names: nothing or "default" is the built-in module; an argument with a
/// slash is a module directory; anything else is a module name, whatever the current directory
/// holds.
std::optional<platform::Bundle> locateModule(const QString& argument, QString* error);

/// One entry of the user's modules: the module, or the reason its directory holds none.
struct ListedModule {
  /// "default" for the built-in module, else the module's name or, for a broken one, its
  /// directory's.
  QString name;
  /// What commands take to name it: "default", or its folder's name.
  QString argument;
  std::optional<platform::Bundle> bundle;
  QString error;
};

/// The built-in module, then every directory in the modules directory, broken ones included so
/// that the user learns what is wrong with them.
QList<ListedModule> allModules();

/// Makes a module directory with a fresh identifier and a manifest of names unique to it.
std::optional<platform::Bundle> createModule(const QString& name, QString* error);

}  // namespace pellimo::host
