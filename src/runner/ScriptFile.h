// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace pellimo::runner {

/// The file extension of a language mode ("sh", "rb", "py"), empty for any other mode.
QString extensionForMode(qint64 mode);

/// Writes the script as UTF-8, exactly, to a new "Pellimo.XXXXXX.<ext>" file in the private
/// script directory, with permission bits 0777. Returns the file's path, or nullopt when the
/// file cannot be created, with the reason in `why`.
std::optional<QString> writeScriptFile(const QString& code, const QString& extension,
                                       QString* why = nullptr);

}  // namespace pellimo::runner
