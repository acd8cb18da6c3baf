// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pellimo::platform {

// Settings hold scripts, and scripts hold tokens and passwords: what Pellimo keeps for a user is
// theirs alone. Files and folders made here are 0600 and 0700, and older ones that let others in
// are tightened the first time they are used.

/// Makes the folder (and any missing parent) with mode 0700, or takes group and other access
/// away from one that exists. False with the reason in `why` when it cannot be used.
bool makePrivateDirectory(const QString& path, QString* why = nullptr);

/// Creates the file empty with mode 0600 when missing, or takes group and other access away from
/// one that exists; its contents are left alone. False with the reason in `why` when it cannot
/// be opened for writing.
bool makePrivateFile(const QString& path, QString* why = nullptr);

/// Takes group and other access away from the file or folder at `path` if it exists.
void tightenPermissions(const QString& path);

}  // namespace pellimo::platform
