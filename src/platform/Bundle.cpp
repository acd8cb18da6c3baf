// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Bundle.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

#include "platform/PropertyList.h"

namespace pellimo::platform {

namespace {

std::optional<Bundle>& mainBundle() {
  static std::optional<Bundle> bundle;
  return bundle;
}

}  // namespace

Bundle::Bundle(QString directory, QString identifier, QString name)
    : directory_(std::move(directory)), identifier_(std::move(identifier)), name_(std::move(name)) {
  if (name_.isEmpty()) name_ = QFileInfo(directory_).fileName();
}

std::optional<Bundle> Bundle::fromDirectory(const QString& dir, QString* error) {
  const auto fail = [error](const QString& reason) -> std::optional<Bundle> {
    if (error) *error = reason;
    return std::nullopt;
  };
  const QString directory = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
  if (!QFileInfo(directory).isDir()) return fail(QStringLiteral("%1 is not a directory").arg(dir));
  const QString identityPath = directory + u'/' + kIdentityFile;
  if (!QFileInfo::exists(identityPath)) {
    return fail(QStringLiteral("%1 is not a module: it has no %2").arg(dir, kIdentityFile));
  }
  const auto identity = readStringDictionary(identityPath);
  if (!identity) {
    return fail(QStringLiteral("%1 is not a readable property list").arg(identityPath));
  }
  const QString identifier = identity->value(kIdentifierKey);
  if (identifier.isEmpty()) return fail(QStringLiteral("%1 has no identifier").arg(identityPath));
  if (!isValidIdentifier(identifier)) {
    return fail(QStringLiteral("%1: identifier \"%2\" is not a reverse-DNS name (parts of letters, "
                               "digits, '-' or '_' joined by dots, at most %3 characters)")
                    .arg(identityPath, identifier)
                    .arg(kMaxIdentifierLength));
  }
  return Bundle(directory, identifier, identity->value(kNameKey));
}

bool Bundle::isValidIdentifier(const QString& identifier) {
  if (identifier.isEmpty() || identifier.size() > kMaxIdentifierLength) return false;
  // Parts of letters, digits, '-' and '_', none of them empty, joined by single dots.
  QChar previous = u'.';
  for (const QChar c : identifier) {
    const char16_t u = c.unicode();
    const bool partCharacter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                               (u >= u'0' && u <= u'9') || u == u'_' || u == u'-';
    if (!partCharacter && !(u == u'.' && previous != u'.')) return false;
    previous = c;
  }
  return previous != u'.';
}

Bundle Bundle::builtIn() {
  const QString directory = QStringLiteral(":/module");
  const auto identity =
      readStringDictionary(directory + u'/' + kIdentityFile).value_or(QMap<QString, QString>{});
  return Bundle(directory, identity.value(kIdentifierKey), identity.value(kNameKey));
}

const Bundle& Bundle::main() {
  auto& bundle = mainBundle();
  if (!bundle) bundle = builtIn();
  return *bundle;
}

void Bundle::setMain(Bundle bundle) {
  mainBundle() = std::move(bundle);
}

QString Bundle::pathForResource(const QString& name, const QString& type) const {
  const QString file = type.isEmpty() ? name : name + u'.' + type;
  const QString path = directory_ + u'/' + file;
  return QFileInfo(path).isFile() ? path : QString();
}

}  // namespace pellimo::platform
