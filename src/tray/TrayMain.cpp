// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/TrayMain.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <QTimer>

#include "platform/BusContract.h"
#include "platform/DesktopWindow.h"
#include "tray/TrayController.h"

namespace pellimo::tray {

namespace {

constexpr int kHostWaitMs = 60000;
constexpr int kHostPollMs = 250;
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

int fail(const QString& reason) {
  QTextStream(stderr) << "pellimo: " << reason << '\n';
  return 1;
}

/// At login the panel may come up after the tray. Qt keeps its first answer on whether a tray
/// exists, so the tray waits for a host before it asks.
void waitForTrayHost(const QDBusConnection& bus) {
  QDeadlineTimer deadline(kHostWaitMs);
  while (!bus.interface()->isServiceRegistered(kWatcherService) && !platform::hasX11SystemTray() &&
         !deadline.hasExpired()) {
    QEventLoop idle;
    QTimer::singleShot(kHostPollMs, &idle, &QEventLoop::quit);
    idle.exec();
  }
}

}  // namespace

int runTray(int& argc, char** argv, const QString& pellimo, bool waitForHost) {
  // Qt aborts when it finds no display; a message says more.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    return fail(
        QStringLiteral("no display for the tray (neither DISPLAY nor WAYLAND_DISPLAY is set)"));
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pellimo"));
  QApplication::setDesktopFileName(QStringLiteral("org.pellimo.Pellimo"));
  // Its dialogs come and go; only "Quit" ends the tray.
  QApplication::setQuitOnLastWindowClosed(false);

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return fail(QStringLiteral("no D-Bus session bus (is DBUS_SESSION_BUS_ADDRESS set?)"));
  }
  if (!bus.registerService(platform::bus::kTrayService)) {
    QTextStream(stdout) << "the tray already runs (pid "
                        << bus.interface()->servicePid(platform::bus::kTrayService).value()
                        << ")\n";
    return 0;
  }
  if (waitForHost) waitForTrayHost(bus);
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    return fail(QStringLiteral(
        "no system tray to show the icon in: no StatusNotifier host on the "
        "session bus and no X11 tray (on GNOME, enable the AppIndicator extension)"));
  }
  TrayController tray(pellimo);
  return QApplication::exec();
}

}  // namespace pellimo::tray
