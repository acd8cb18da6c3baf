// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/TrayMenu.h"

#include <algorithm>

namespace pellimo::tray {

TrayMenu::TrayMenu(QObject* parent) : QObject(parent) {
  ownItems_ = menu_.addSeparator();
  connect(menu_.addAction(tr("New widget…")), &QAction::triggered, this,
          &TrayMenu::newWidgetChosen);
  atLogin_ = menu_.addAction(tr("Start Pellimo at login"));
  atLogin_->setCheckable(true);
  connect(atLogin_, &QAction::triggered, this, [this](bool on) {
    emit commandChosen({QStringLiteral("autostart"),
                        on ? QStringLiteral("on") : QStringLiteral("off"),
                        QStringLiteral("--tray")});
  });
  menu_.addSeparator();
  quitAll_ = menu_.addAction(tr("Quit all widgets"));
  connect(quitAll_, &QAction::triggered, this, &TrayMenu::quitAllChosen);
  connect(menu_.addAction(tr("Quit")), &QAction::triggered, this, &TrayMenu::quitChosen);
}

void TrayMenu::show(const Listing& listing) {
  if (shown_ == listing) return;
  shown_ = listing;
  // Each module's item is its submenu's own action, which goes with the submenu.
  qDeleteAll(menu_.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly));
  for (const ModuleEntry& module : listing.modules)
    addModule(module);
  atLogin_->setChecked(listing.trayAutostart);
  quitAll_->setEnabled(std::any_of(listing.modules.begin(), listing.modules.end(),
                                   [](const ModuleEntry& module) { return module.runs(); }));
}

void TrayMenu::addModule(const ModuleEntry& module) {
  auto* submenu = new QMenu(QStringLiteral("%1 (%2)").arg(module.name, module.describe()), &menu_);
  const QString name = module.name;
  const auto command = [&](const QString& text, const QStringList& arguments, bool enabled) {
    QAction* action = submenu->addAction(text);
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this,
            [this, arguments] { emit commandChosen(arguments); });
    return action;
  };
  const auto send = [&](const QString& text, const char* sent) {
    command(text, {QStringLiteral("send"), QLatin1String(sent), name}, module.runs());
  };
  if (module.state == ModuleEntry::State::Broken) {
    submenu->addAction(module.problem)->setEnabled(false);
  } else {
    if (!module.problem.isEmpty()) submenu->addAction(module.problem)->setEnabled(false);
    send(tr("Raise"), "raise");
    send(tr("Lie flat"), "flat");
    send(tr("Edit…"), "config");
    send(tr("Refresh"), "refresh");
    send(tr("Stop"), "kill");
    command(tr("Start"), {QStringLiteral("launch"), name},
            module.state == ModuleEntry::State::Stopped);
    submenu->addSeparator();
    QAction* atLogin = submenu->addAction(tr("Start at login"));
    atLogin->setCheckable(true);
    atLogin->setChecked(module.autostart);
    connect(atLogin, &QAction::triggered, this, [this, name](bool on) {
      emit commandChosen(
          {QStringLiteral("autostart"), on ? QStringLiteral("on") : QStringLiteral("off"), name});
    });
  }
  // The built-in module has no folder to remove; `send clear` is its reset.
  if (name != QLatin1String("default")) {
    submenu->addSeparator();
    connect(submenu->addAction(tr("Remove…")), &QAction::triggered, this,
            [this, name] { emit removeChosen(name); });
  }
  menu_.insertMenu(ownItems_, submenu);
}

}  // namespace pellimo::tray
