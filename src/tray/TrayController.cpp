// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/TrayController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTextStream>
#include <algorithm>

// Outside any namespace, as Qt's macro needs: a static library's resources are linked in only
// when something refers to them.
static void initialiseResources() {
  Q_INIT_RESOURCE(tray);
}

namespace pellimo::tray {

namespace {

QIcon applicationIcon() {
  initialiseResources();
  return QIcon::fromTheme(QStringLiteral("org.pellimo.Pellimo"),
                          QIcon(QStringLiteral(":/tray/org.pellimo.Pellimo.svg")));
}

}  // namespace

TrayController::TrayController(const QString& program, QObject* parent)
    : QObject(parent), runner_(program), lister_(program) {
  connect(&runner_, &PellimoRunner::failure, this, &TrayController::report);
  connect(&runner_, &PellimoRunner::finished, this, &TrayController::refresh);
  connect(&watch_, &SessionWatch::changed, this, &TrayController::refresh);
  connect(&menu_, &TrayMenu::commandChosen, this,
          [this](const QStringList& arguments) { runner_.run(arguments); });
  connect(&menu_, &TrayMenu::removeChosen, this, &TrayController::confirmRemoval);
  connect(&menu_, &TrayMenu::newWidgetChosen, this, [this] { askForNewWidget(); });
  connect(&menu_, &TrayMenu::quitAllChosen, this, &TrayController::quitAll);
  connect(&menu_, &TrayMenu::quitChosen, qApp, &QApplication::quit);
  // A module raised or laid flat announces nothing: look again before the menu opens.
  connect(menu_.menu(), &QMenu::aboutToShow, this, &TrayController::refresh);
  connect(&icon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger) raiseOrFlattenAll();
          });

  menu_.show(listing_);
  icon_.setIcon(applicationIcon());
  icon_.setToolTip(QStringLiteral("Pellimo"));
  icon_.setContextMenu(menu_.menu());
  icon_.show();
  refresh();
}

void TrayController::refresh() {
  if (listing_in_flight_) {
    listing_wanted_ = true;
    return;
  }
  listing_in_flight_ = true;
  const auto done = [this] {
    listing_in_flight_ = false;
    if (listing_wanted_) {
      listing_wanted_ = false;
      refresh();
    }
  };
  lister_.run(
      {QStringLiteral("list"), QStringLiteral("--json")},
      [this, done](const QByteArray& output) {
        QString error;
        if (const auto listing = parseListing(output, &error)) {
          showListing(*listing);
        } else {
          report(QStringLiteral("cannot read the list of modules: %1").arg(error));
        }
        done();
      },
      [this, done](const QString& message) {
        report(message);
        done();
      });
}

void TrayController::showListing(const Listing& listing) {
  listing_ = listing;
  menu_.show(listing);
  QStringList announcements;
  for (const ModuleEntry& module : listing.modules) {
    if (!module.hello.isEmpty()) announcements.append(module.hello);
  }
  watch_.followAnnouncements(announcements);
  const auto running = std::count_if(listing.modules.begin(), listing.modules.end(),
                                     [](const ModuleEntry& module) { return module.runs(); });
  icon_.setToolTip(
      tr("Pellimo: %1 of %2 widgets running").arg(running).arg(listing.modules.size()));
}

void TrayController::raiseOrFlattenAll() {
  const auto& modules = listing_.modules;
  const bool anyFlat = std::any_of(modules.begin(), modules.end(), [](const ModuleEntry& module) {
    return module.state == ModuleEntry::State::Running;
  });
  const QString command = anyFlat ? QStringLiteral("raise") : QStringLiteral("flat");
  for (const ModuleEntry& module : modules) {
    if (module.runs()) runner_.run({QStringLiteral("send"), command, module.name});
  }
}

void TrayController::quitAll() {
  for (const ModuleEntry& module : listing_.modules) {
    if (module.runs()) runner_.run({QStringLiteral("send"), QStringLiteral("kill"), module.name});
  }
}

void TrayController::askForNewWidget(const QString& name, const QString& problem) {
  auto* dialog = new QInputDialog;
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(tr("New widget"));
  const QString prompt = tr("Name of the new widget (letters, digits, '-' and '_'):");
  dialog->setLabelText(problem.isEmpty() ? prompt : problem + QStringLiteral("\n\n") + prompt);
  dialog->setTextValue(name);
  connect(dialog, &QInputDialog::textValueSelected, this, &TrayController::makeWidget);
  dialog->open();
}

void TrayController::makeWidget(const QString& name) {
  // A refused name comes back in the dialog with the reason, ready to be mended.
  runner_.run(
      {QStringLiteral("new"), name},
      [this, name](const QByteArray&) {
        runner_.run({QStringLiteral("launch"), name}, [this, name](const QByteArray&) {
          runner_.run({QStringLiteral("send"), QStringLiteral("config"), name});
        });
      },
      [this, name](const QString& message) { askForNewWidget(name, message); });
}

void TrayController::confirmRemoval(const QString& module) {
  auto* box = new QMessageBox(
      QMessageBox::Question, tr("Remove %1").arg(module),
      tr("Remove the widget %1? It quits, and its folder, settings, log and mark to start at "
         "login are deleted.")
          .arg(module),
      QMessageBox::Yes | QMessageBox::Cancel);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setDefaultButton(QMessageBox::Cancel);
  connect(box, &QMessageBox::buttonClicked, this, [this, box, module](QAbstractButton* button) {
    if (box->standardButton(button) == QMessageBox::Yes)
      runner_.run({QStringLiteral("remove"), module, QStringLiteral("--yes")});
  });
  box->open();
}

void TrayController::report(const QString& message) {
  QTextStream(stderr) << "pellimo: " << message << '\n';
  // A failure that comes back, as a listing that fails at every refresh does, shows in one box
  // until that is closed.
  if (shownReports_.contains(message)) return;
  shownReports_.insert(message);
  auto* box = new QMessageBox(QMessageBox::Warning, tr("Pellimo"), message, QMessageBox::Ok);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QDialog::finished, this, [this, message] { shownReports_.remove(message); });
  box->open();
}

}  // namespace pellimo::tray
