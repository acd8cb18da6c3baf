// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SettingsStore.h"

#include <unistd.h>

#include <cerrno>

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/Bundle.h"
#include "platform/HandEditedValues.h"
#include "platform/PrivateFiles.h"
#include "platform/SettingsCodec.h"
#include "platform/SettingsKeys.h"

namespace pellimo::platform {

namespace {

// INI keeps every value as text; these keys hold numbers and must come back as numbers.
const QSet<QString> kIntegerKeys{keys::kModeValue, keys::kReloadAfter, keys::kTimeout};

std::unique_ptr<QSettings> openSettings(const QString& path) {
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

/// Why the file cannot be opened to read, as the system words it.
QString readError(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QStringLiteral("unknown error") : file.errorString();
}

}  // namespace

QString SettingsStore::filePath(const QString& bundleIdentifier) {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/pellimo/") + bundleIdentifier + QStringLiteral(".conf");
}

SettingsStore::SettingsStore(const QString& bundleIdentifier) {
  if (!Bundle::isValidIdentifier(bundleIdentifier)) {
    // Such an identifier could name a file anywhere; Bundle refuses it, so none should come here.
    qWarning("pellimo: \"%s\" is not a bundle identifier; its settings are kept for this run only",
             qPrintable(bundleIdentifier));
    scratch_ = std::make_unique<QTemporaryDir>();
    settings_ = openSettings(scratch_->filePath(QStringLiteral("settings.conf")));
    error_ = QStringLiteral("\"%1\" is not a bundle identifier").arg(bundleIdentifier);
    return;
  }
  settings_ = openSettings(filePath(bundleIdentifier));
  const QString path = settings_->fileName();
  tightenPermissions(QFileInfo(path).absolutePath());
  tightenPermissions(path);
  switch (settings_->status()) {
    case QSettings::NoError:
      takeHandEditedValues();
      break;
    case QSettings::AccessError:
      // QSettings does not write over a file it cannot open, so the user's file stays as it is.
      error_ = QStringLiteral("cannot read %1: %2").arg(path, readError(path));
      qWarning("pellimo-widget: %s; starting with empty settings", qPrintable(error_));
      break;
    case QSettings::FormatError:
      moveCorruptFileAside();
      break;
  }
}

void SettingsStore::moveCorruptFileAside() {
  // Keep the damaged file for the user to look at, and start from a clean one.
  const QString path = settings_->fileName();
  const QString aside = path + QStringLiteral(".corrupt");
  settings_.reset();
  QFile::remove(aside);
  const QString outcome = QFile::rename(path, aside) ? QStringLiteral("moved it to %1").arg(aside)
                                                     : QStringLiteral("could not move it aside");
  qWarning("pellimo: settings file %s is corrupt; %s, starting with empty settings",
           qPrintable(path), qPrintable(outcome));
  settings_ = openSettings(path);
  if (settings_->status() == QSettings::FormatError) settings_->clear();
}

void SettingsStore::takeHandEditedValues() {
  QFile file(settings_->fileName());
  if (!file.open(QIODevice::ReadOnly)) return;
  const auto found = handEditedValues(file.readAll());
  for (auto value = found.begin(); value != found.end(); ++value) {
    // A number's line may well end in a comment, and INI reads that one right.
    if (kIntegerKeys.contains(value.key())) continue;
    // Stored again, so that the next write quotes it and loses nothing the user typed.
    settings_->setValue(value.key(), value->text);
    if (value->certain) continue;
    qWarning(
        "pellimo-widget: settings file %s: \"%s\" holds a \",\" or \";\" outside quotes, "
        "so its text after \"=\" is used as written; to be sure how it reads, write it as "
        "%s=\"...\" with \\\" for each \" and \\\\ for each \\ inside",
        qPrintable(settings_->fileName()), qPrintable(value.key()), qPrintable(value.key()));
  }
}

SettingsStore::~SettingsStore() = default;

SettingsStore& SettingsStore::standard() {
  static SettingsStore store(Bundle::main().bundleIdentifier());
  return store;
}

QVariant SettingsStore::valueForKey(const QString& key) const {
  const QVariant value = settings_->value(key);
  if (!value.isValid() || !kIntegerKeys.contains(key)) return value;
  bool ok = false;
  const qint64 number = value.toLongLong(&ok);
  return ok ? QVariant(number) : value;
}

void SettingsStore::setValue(const QVariant& value, const QString& key) {
  settings_->setValue(key, value);
}

void SettingsStore::removeObjectForKey(const QString& key) {
  settings_->remove(key);
}

void SettingsStore::clear() {
  settings_->clear();
}

QVariantMap SettingsStore::dictionaryRepresentation() const {
  QVariantMap dictionary;
  for (const QString& key : settings_->allKeys()) {
    dictionary.insert(key, valueForKey(key));
  }
  return dictionary;
}

bool SettingsStore::synchronize() {
  if (scratch_) return false;
  const QString path = settings_->fileName();
  const QString directory = QFileInfo(path).absolutePath();
  // QSettings writes only when something changed, so check the directory for itself too. A file
  // that is there before QSettings writes keeps its mode, which keeps a new one private.
  QString why;
  if (!makePrivateDirectory(directory, &why) || !makePrivateFile(path, &why)) {
    error_ = why;
    return false;
  }
  if (::access(QFile::encodeName(directory).constData(), W_OK) != 0) {
    error_ = QStringLiteral("cannot write in %1: %2").arg(directory, qt_error_string(errno));
    return false;
  }
  settings_->sync();
  if (settings_->status() == QSettings::NoError) return true;
  if (error_.isEmpty()) error_ = QStringLiteral("cannot write %1").arg(path);
  return false;
}

QString SettingsStore::errorString() const {
  return error_;
}

QString SettingsStore::fileName() const {
  return settings_->fileName();
}

qint64 SettingsStore::integerForKey(const QString& key) const {
  bool ok = false;
  const qint64 number = settings_->value(key).toLongLong(&ok);
  return ok ? number : 0;
}

QString SettingsStore::stringForKey(const QString& key) const {
  return settings_->value(key).toString();
}

std::optional<ansi::Color> SettingsStore::colorForKey(const QString& key) const {
  return unarchiveColor(stringForKey(key));
}

void SettingsStore::setColor(const ansi::Color& color, const QString& key) {
  setValue(archiveColor(color), key);
}

std::optional<ansi::Font> SettingsStore::fontForKey(const QString& key) const {
  return unarchiveFont(stringForKey(key));
}

void SettingsStore::setFont(const ansi::Font& font, const QString& key) {
  setValue(archiveFont(font), key);
}

}  // namespace pellimo::platform
