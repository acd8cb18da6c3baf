// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace pellimo::platform {

/// A top-level value of a settings file as the user typed it, where the INI format would read
/// something else.
struct HandEditedValue {
  /// The text after the "=", surrounding blanks trimmed.
  QString text;
  /// Whether `text` is surely what was meant: without quotes, backslashes or a leading "@" the
  /// only INI syntax in it is the "," and ";" that INI would have cut it at.
  bool certain = false;

  friend bool operator==(const HandEditedValue&, const HandEditedValue&) = default;
};

/// The top-level keys of an INI file (before any section or under [General]) whose values hold
/// a "," or ";" outside quotes: INI reads the first as a list separator, which loses the blanks
/// after it, and the second as the start of a comment. The module's own writes quote both, so
/// only a hand edit puts them there. A value that starts with a quote is left to the INI reader,
/// and where a key is given twice the last line counts, as it does for the INI reader.
QMap<QString, HandEditedValue> handEditedValues(const QByteArray& iniFile);

}  // namespace pellimo::platform
