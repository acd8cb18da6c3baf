// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSet>
#include <QSystemTrayIcon>

#include "tray/ModuleListing.h"
#include "tray/PellimoRunner.h"
#include "tray/SessionWatch.h"
#include "tray/TrayMenu.h"

namespace pellimo::tray {

/// The tray icon: keeps its menu in step with the session and carries out what is chosen, each
/// action by running `program` (this `pellimo`).
class TrayController : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY(TrayController)

 public:
  explicit TrayController(const QString& program, QObject* parent = nullptr);

 private:
  /// Asks `pellimo list --json` for the modules; one listing at a time, and one more after it
  /// when asked meanwhile.
  void refresh();
  void showListing(const Listing& listing);
  /// Raises every running module, or lays them all flat when all of them are raised already.
  void raiseOrFlattenAll();
  void quitAll();
  /// Asks for the new widget's name, `problem` above the field when the last one was refused.
  void askForNewWidget(const QString& name = {}, const QString& problem = {});
  void makeWidget(const QString& name);
  void confirmRemoval(const QString& module);
  void report(const QString& message);

  PellimoRunner runner_;
  /// Apart from `runner_`, whose every command asks for a listing when it ends.
  PellimoRunner lister_;
  SessionWatch watch_;
  TrayMenu menu_;
  QSystemTrayIcon icon_;
  Listing listing_;
  bool listing_in_flight_ = false;
  bool listing_wanted_ = false;
  /// The failures whose boxes are open.
  QSet<QString> shownReports_;
};

}  // namespace pellimo::tray
