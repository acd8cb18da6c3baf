// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>
#include <QString>
#include <optional>

namespace pellimo::platform {

/// A module's identity and resources: either the built-in default module compiled into
/// `pellimo-widget` as Qt resources, or a module directory holding "module.plist" (keys
/// "identifier" and, optionally, "name") and its "maniffeest.plist".
class Bundle {
 public:
  /// The files of a module directory and the keys of its identity file.
  static constexpr QLatin1String kIdentityFile{"module.plist"};
  static constexpr QLatin1String kManifestFile{"maniffeest.plist"};
  static constexpr QLatin1String kIdentifierKey{"identifier"};
  static constexpr QLatin1String kNameKey{"name"};

  /// The longest identifier taken: with its suffixes it must still fit in one file name.
  static constexpr qsizetype kMaxIdentifierLength = 128;

  /// The module in `dir`; nothing, with the reason in `error`, when its "module.plist" is
  /// missing, unreadable or names no valid identifier.
  static std::optional<Bundle> fromDirectory(const QString& dir, QString* error = nullptr);
  /// Whether `identifier` is reverse-DNS: parts of ASCII letters, digits, '-' and '_' joined by
  /// dots. Settings and log files are named after it, so nothing else may reach a path.
  static bool isValidIdentifier(const QString& identifier);
  /// The built-in default module, from the resources under ":/module/".
  static Bundle builtIn();

  /// The bundle of the running module: the built-in one until `setMain` says otherwise.
  static const Bundle& main();
  static void setMain(Bundle bundle);

  QString bundleIdentifier() const { return identifier_; }
  /// The "name" of "module.plist", or the directory's name when it gives none.
  QString name() const { return name_; }
  QString directory() const { return directory_; }
  /// Whether this is the built-in module, which lives in the widget program's resources.
  bool isBuiltIn() const { return directory_.startsWith(u':'); }
  /// The path of the resource `name`.`type` in the bundle, or an empty string when it does not
  /// exist. An empty `type` takes `name` as the whole file name.
  QString pathForResource(const QString& name, const QString& type) const;

 private:
  Bundle(QString directory, QString identifier, QString name);

  QString directory_;
  QString identifier_;
  QString name_;
};

}  // namespace pellimo::platform
