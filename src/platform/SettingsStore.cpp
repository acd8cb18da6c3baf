#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/Bundle.h"
#include "platform/SettingsCodec.h"
#include "platform/SettingsKeys.h"

namespace pellimo::platform {

namespace {

// INI keeps every value as text; these keys hold numbers and must come back as numbers.
const QSet<QString> kIntegerKeys{keys::kModeValue, keys::kReloadAfter, keys::kTimeout};

QString settingsPath(const QString& bundleIdentifier) {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/pellimo/") + bundleIdentifier + QStringLiteral(".conf");
}

std::unique_ptr<QSettings> openSettings(const QString& path) {
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace

SettingsStore::SettingsStore(const QString& bundleIdentifier) {
  if (!Bundle::isValidIdentifier(bundleIdentifier)) {
    // Such an identifier could name a file anywhere; Bundle refuses it, so none should come here.
    qWarning("pellimo: \"%s\" is not a bundle identifier; its settings are kept for this run only",
             qPrintable(bundleIdentifier));
    scratch_ = std::make_unique<QTemporaryDir>();
    settings_ = openSettings(scratch_->filePath(QStringLiteral("settings.conf")));
    return;
  }
  settings_ = openSettings(settingsPath(bundleIdentifier));
  if (settings_->status() != QSettings::FormatError) return;
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
  const QString directory = QFileInfo(settings_->fileName()).absolutePath();
  // QSettings writes only when something changed, so check the directory for itself too.
  if (!QDir().mkpath(directory) || !QFileInfo(directory).isWritable()) return false;
  settings_->sync();
  return settings_->status() == QSettings::NoError;
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
