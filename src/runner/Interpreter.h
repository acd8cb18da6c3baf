// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace pellimo::runner {

/// The interpreter of a language mode: "/bin/sh", "/usr/bin/ruby" or "/usr/bin/python" (where
/// that does not exist, "/usr/bin/python3"); empty for any other mode.
QString interpreterForMode(qint64 mode);

/// The extra arguments stored as one text: split at every ","; an empty text gives none.
QStringList splitArguments(const QString& text);

}  // namespace pellimo::runner
