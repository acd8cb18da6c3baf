// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "platform/Bundle.h"

namespace pellimo::host {

/// What starts at login. The marks live in a file of their own beside the modules' settings, so
/// that a module's "clear" leaves them: one mark a line, "module NAME" for a module (NAME as
/// commands take it: "default", a name from `pellimo new`, or a module directory's absolute
/// path), and "tray" for the tray icon. Lines this version does not know are kept as they are.
class AutostartMarks {
 public:
  /// $XDG_CONFIG_HOME/pellimo/autostart.list: not "<identifier>.conf", so no module's settings.
  static QString filePath();
  /// The one XDG autostart entry, $XDG_CONFIG_HOME/autostart/org.pellimo.Pellimo.desktop.
  static QString entryPath();

  /// Reads the marks; a missing file holds none. False with the reason when it cannot be read.
  bool load(QString* why);
  /// Writes the marks, removing the file when none is left, and keeps the login entry: there,
  /// running this very `pellimo` by its absolute path, while anything is marked, and gone when
  /// nothing is. False with the reason when either cannot be written.
  bool save(QString* why) const;

  QStringList modules() const;
  bool hasModule(const QString& name) const;
  /// Marks or unmarks a module; returns whether that changed anything.
  bool setModule(const QString& name, bool marked);

  /// Whether `pellimo launch --autostart` starts the tray icon after the modules.
  bool hasTray() const;
  /// Marks or unmarks the tray; returns whether that changed anything.
  bool setTray(bool marked);

 private:
  /// Adds or takes away one mark line; returns whether that changed anything.
  bool setLine(const QString& line, bool marked);

  QStringList lines_;
};

/// The name a mark keeps for `module`: "default" for the built-in one, the folder's name for one
/// made with `pellimo new`, else its directory.
QString markName(const platform::Bundle& module);

/// `arguments` as the Exec key of a desktop entry holds them: each argument with a reserved
/// character in double quotes, with '"', '`', '$' and '\' escaped inside, '%' doubled, and the
/// whole escaped once more as a desktop entry string.
QString desktopExec(const QStringList& arguments);

}  // namespace pellimo::host
