// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <optional>

#include "ansi/Color.h"
#include "ansi/Font.h"

class QSettings;
class QTemporaryDir;

namespace pellimo::platform {

/// A module's persistent per-user settings: an INI file at
/// `$XDG_CONFIG_HOME/pellimo/<bundle identifier>.conf`. A corrupt file is moved aside (with one
/// warning line) and the store starts empty; so does an unreadable one, which is left in place.
/// A file or folder that others can read is made private on opening. An identifier that is not
/// a valid bundle identifier gets a store kept for this run only (with one warning line) and
/// never names a file.
class SettingsStore {
 public:
  explicit SettingsStore(const QString& bundleIdentifier);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  /// The store of the main bundle, created on first use: set the main bundle before.
  static SettingsStore& standard();
  /// The file that keeps the settings of a valid bundle identifier.
  static QString filePath(const QString& bundleIdentifier);

  /// The stored value, or an invalid QVariant. The integer keys (`keys::kModeValue`,
  /// `keys::kReloadAfter`) come back as integers, though INI keeps them as text.
  QVariant valueForKey(const QString& key) const;
  QVariant objectForKey(const QString& key) const { return valueForKey(key); }
  void setValue(const QVariant& value, const QString& key);
  void setObject(const QVariant& value, const QString& key) { setValue(value, key); }
  void removeObjectForKey(const QString& key);
  QVariantMap dictionaryRepresentation() const;
  /// Removes every stored value.
  void clear();
  /// Writes pending changes; whether that succeeded, which needs a writable directory and a valid
  /// identifier. QSettings keeps its first write error, so after one failure every later call
  /// reports failure too. The file is kept 0600 in a 0700 folder.
  bool synchronize();
  /// What went wrong reading the file or in the last failed `synchronize`, with the system's
  /// reason; empty when nothing did.
  QString errorString() const;
  QString fileName() const;

  /// The integer under `key`; 0 when absent or not an integer.
  qint64 integerForKey(const QString& key) const;
  /// The string under `key`; empty when absent (`objectForKey` tells absent apart).
  QString stringForKey(const QString& key) const;
  /// The colour archived under `key`; nothing when absent or not a colour.
  std::optional<ansi::Color> colorForKey(const QString& key) const;
  void setColor(const ansi::Color& color, const QString& key);
  /// The font archived under `key`; nothing when absent or not a font.
  std::optional<ansi::Font> fontForKey(const QString& key) const;
  void setFont(const ansi::Font& font, const QString& key);

 private:
  void moveCorruptFileAside();
  /// Values a user typed with a "," or ";" outside quotes, taken as typed (see
  /// HandEditedValues.h); one warning line for each that could have meant something else.
  void takeHandEditedValues();

  /// Holds the file of a store kept for this run only; declared first so it outlives the file.
  std::unique_ptr<QTemporaryDir> scratch_;
  std::unique_ptr<QSettings> settings_;
  QString error_;
};

}  // namespace pellimo::platform
