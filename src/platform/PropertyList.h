// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <optional>

namespace pellimo::platform {

/// Reads an XML property-list dictionary of strings (`<plist><dict><key/><string/>…`). Entries
/// whose value is not a string are skipped; a missing, unreadable or malformed file gives nothing.
std::optional<QMap<QString, QString>> readStringDictionary(const QString& path);

/// Writes an XML property-list dictionary of strings, replacing the file atomically. Fails for
/// text that XML cannot carry (control characters), rather than write a file that reads as nothing.
bool writeStringDictionary(const QString& path, const QMap<QString, QString>& dictionary);

}  // namespace pellimo::platform
