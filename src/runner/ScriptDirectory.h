// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace pellimo::runner {

/// The private per-user directory script files are written to: $XDG_RUNTIME_DIR/pellimo, else
/// (when that is unset or unusable, with one warning line) <system temp>/pellimo-<uid>. Created
/// with mode 0700; refused (nullopt) when it is a symbolic link, not a directory, not owned by
/// the user, or open to others, with the reason in `why`.
std::optional<QString> privateScriptDirectory(QString* why = nullptr);

}  // namespace pellimo::runner
