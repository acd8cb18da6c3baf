// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "ansi/Color.h"
#include "runner/MenuLineParser.h"

namespace pellimo::runner {

/// What a click on a line does: open a link, run a program, rerun the script, or several.
struct LineAction {
  QString href;
  /// Run directly with its arguments, never through a shell the line does not name.
  QString program;
  QStringList arguments;
  /// In the desktop's terminal emulator, as the menu-bar tools run commands by default.
  bool terminal = true;
  /// Rerun the script once the program has exited (at once when there is none).
  bool refresh = false;

  bool isEmpty() const { return href.isEmpty() && program.isEmpty() && !refresh; }
  friend bool operator==(const LineAction&, const LineAction&) = default;
};

/// How a line shows.
struct LineLook {
  /// The colour of the text no escape sequence colours.
  std::optional<ansi::Color> color;
  QString fontFamily;
  std::optional<double> fontSize;
  bool trim = true;
  /// At most this many characters, the last of them an ellipsis.
  std::optional<int> length;
  bool ansi = true;
  /// False leaves a menu line out of the menu.
  bool dropdown = true;

  friend bool operator==(const LineLook&, const LineLook&) = default;
};

/// The meaning of a line's attributes. Unknown keys, and values that mean nothing (a colour
/// with no name, a size that is no number), are ignored.
struct LineAttributes {
  LineLook look;
  LineAction action;
};
LineAttributes interpretAttributes(const MenuLine& line);

/// A CSS colour name or `#rgb`/`#rrggbb`; null for anything else.
std::optional<ansi::Color> colorFromName(const QString& name);

}  // namespace pellimo::runner
