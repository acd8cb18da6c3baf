// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace pellimo::tray {

/// One module as `pellimo list --json` shows it.
struct ModuleEntry {
  enum class State { Running, Raised, Stopped, NotResponding, Broken, Unknown };

  /// What commands take to name it.
  QString name;
  State state = State::Unknown;
  bool autostart = false;
  /// What keeps it from starting or taking commands; empty when nothing does.
  QString problem;
  /// The name of its announcement; empty when its manifest names none.
  QString hello;

  bool runs() const { return state == State::Running || state == State::Raised; }
  /// "running, starts at login".
  QString describe() const;

  bool operator==(const ModuleEntry&) const = default;
};

/// Everything the tray's menu shows.
struct Listing {
  QList<ModuleEntry> modules;
  bool trayAutostart = false;

  bool operator==(const Listing&) const = default;
};

/// The listing `pellimo list --json` printed, or nothing with the reason in `error`.
std::optional<Listing> parseListing(const QByteArray& json, QString* error);

}  // namespace pellimo::tray
