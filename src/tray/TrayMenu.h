// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>
#include <QObject>
#include <QStringList>
#include <optional>

#include "tray/ModuleListing.h"

namespace pellimo::tray {

/// The tray's menu: a submenu for each module with what can be done to it, then the tray's own
/// items. It reports what was chosen; the controller acts.
class TrayMenu : public QObject {
  Q_OBJECT

 public:
  explicit TrayMenu(QObject* parent = nullptr);

  QMenu* menu() { return &menu_; }
  /// Shows `listing`. The menu's items are remade only when it changed: a panel names an item by
  /// an identity of its own, and a click on an item remade meanwhile would be lost.
  void show(const Listing& listing);

 signals:
  /// A choice that is one `pellimo` command, such as {"send", "raise", "clock"}.
  void commandChosen(const QStringList& arguments);
  void removeChosen(const QString& module);
  void newWidgetChosen();
  void quitAllChosen();
  void quitChosen();

 private:
  void addModule(const ModuleEntry& module);

  QMenu menu_;
  std::optional<Listing> shown_;
  /// The first of the tray's own items, below the modules.
  QAction* ownItems_ = nullptr;
  QAction* atLogin_ = nullptr;
  QAction* quitAll_ = nullptr;
};

}  // namespace pellimo::tray
