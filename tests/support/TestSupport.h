// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "ansi/Color.h"
#include "ansi/Font.h"

// GoogleTest prints these in failure messages as text rather than as bytes.
void PrintTo(const QString& text, std::ostream* os);
void PrintTo(const QRect& rect, std::ostream* os);

namespace pellimo::ansi {
void PrintTo(const Color& color, std::ostream* os);
void PrintTo(const Font& font, std::ostream* os);
}  // namespace pellimo::ansi

namespace pellimo::test {

/// Serves the event loop until `done` holds or the time runs out; whether it came to hold.
bool eventually(const std::function<bool()>& done, int timeoutMs = 10000);

/// Serves the event loop for a while, for checks that something does not happen.
void serveFor(int ms);

/// The bytes of a file; none when it cannot be read.
QByteArray fileContents(const QString& path);
/// Writes a file whole; whether that worked.
bool writeFile(const QString& path, const QByteArray& contents);

/// The permission bits of a file, not following a symbolic link; 0 when there is none.
unsigned fileMode(const QString& path);

/// The lines logged through Qt while one of these lives; they are not printed.
class LoggedLines {
 public:
  LoggedLines();
  ~LoggedLines();
  LoggedLines(const LoggedLines&) = delete;
  LoggedLines& operator=(const LoggedLines&) = delete;

  QStringList lines() const;
  /// The lines that contain `text`.
  QStringList containing(const QString& text) const;
};

}  // namespace pellimo::test
