// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace pellimo::host {

/// What the arguments ask for, checked against the table of commands: a known command, its
/// options (each allowed for it, with its value where it takes one) and no more positional
/// arguments than it takes. What the values mean is for the command to check.
struct Invocation {
  /// Empty only for the overview (`pellimo help`, `pellimo --help`) and the version.
  QString command;
  QStringList positional;
  /// "--json" maps to an empty string, "--count" to its value.
  QMap<QString, QString> options;
  bool help = false;
  bool version = false;

  bool has(const char* option) const { return options.contains(QLatin1String(option)); }
};

/// The invocation `arguments` (the program's name left out) make, or nothing with the usage
/// error in `error`.
std::optional<Invocation> parseCommandLine(QStringList arguments, QString* error);

/// The help of `command`, or the overview for an empty one (what help2man makes the man page
/// from); an empty string for an unknown command.
QString helpText(const QString& command);

/// Prints "pellimo: <reason>" and where the help is on standard error, and returns the usage
/// error status, 2.
int usageError(const QString& reason, const QString& command = {});

}  // namespace pellimo::host
