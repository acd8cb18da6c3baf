// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>
#include <algorithm>

#include "Desktop.h"
#include "ModuleHarness.h"
#include "platform/BusContract.h"

namespace pellimo::test {
namespace {

const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

/// One item of a D-Bus menu, as GetLayout gives it.
struct MenuItem {
  int id = 0;
  QString label;
  QList<MenuItem> children;

  /// The item whose label starts with `start`, itself or beneath it.
  const MenuItem* find(const QString& start) const {
    if (label.startsWith(start)) return this;
    for (const MenuItem& child : children) {
      if (const MenuItem* found = child.find(start)) return found;
    }
    return nullptr;
  }
};

MenuItem readItem(const QDBusArgument& argument) {
  MenuItem item;
  QVariantMap properties;
  argument.beginStructure();
  argument >> item.id >> properties;
  argument.beginArray();
  while (!argument.atEnd()) {
    QDBusVariant child;
    argument >> child;
    item.children.append(readItem(child.variant().value<QDBusArgument>()));
  }
  argument.endArray();
  argument.endStructure();
  item.label = properties.value(QStringLiteral("label")).toString();
  return item;
}

/// The part of a panel that tray items register with: with it on the session bus, Qt shows a tray
/// icon as a StatusNotifierItem with a D-Bus menu.
class StatusNotifierWatcher : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registered)
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
  Q_PROPERTY(int ProtocolVersion READ protocolVersion)

 public:
  /// Claims the watcher's name and path; whether the bus let it.
  bool publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.registerService("org.kde.StatusNotifierWatcher") &&
           bus.registerObject("/StatusNotifierWatcher", this,
                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                  QDBusConnection::ExportAllProperties);
  }
  QStringList registered() const { return items; }
  bool hostRegistered() const { return true; }
  int protocolVersion() const { return 0; }

  QStringList items;

 public slots:
  void RegisterStatusNotifierItem(const QString& service) {
    items.append(service);
    emit StatusNotifierItemRegistered(service);
  }
  void RegisterStatusNotifierHost(const QString&) { emit StatusNotifierHostRegistered(); }

 signals:
  void StatusNotifierItemRegistered(const QString& service);
  void StatusNotifierItemUnregistered(const QString& service);
  void StatusNotifierHostRegistered();
};

/// Counts the LayoutUpdated signals of a menu.
class LayoutWatch : public QObject {
  Q_OBJECT

 public:
  int updates = 0;

 public slots:
  void layoutUpdated(uint, int) { ++updates; }
};

class TrayEndToEnd : public ::testing::Test {
 protected:
  /// Starts the tray and waits until its item registered with the watcher.
  void startTray() {
    ASSERT_TRUE(watcher.publish());
    tray = harness.startHost({"tray"});
    ASSERT_TRUE(eventually([&] { return !watcher.items.isEmpty(); }))
        << tray->readAllStandardError().toStdString();
    item = watcher.items.first();
    menuPath = itemProperty("Menu").value<QDBusObjectPath>().path();
    ASSERT_FALSE(menuPath.isEmpty());
  }

  /// A property of the tray's StatusNotifierItem, or nothing when it cannot be read.
  QVariant itemProperty(const QString& name) {
    QDBusMessage get = QDBusMessage::createMethodCall(item, "/StatusNotifierItem",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get << QString("org.kde.StatusNotifierItem") << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    if (reply.type() != QDBusMessage::ReplyMessage) return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
  }

  MenuItem menu() {
    QDBusMessage call = QDBusMessage::createMethodCall(item, menuPath, kMenuInterface, "GetLayout");
    call << 0 << -1 << QStringList();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) return {};
    return readItem(reply.arguments().at(1).value<QDBusArgument>());
  }

  bool menuShows(const QString& label) {
    return eventually([&] { return menu().find(label) != nullptr; });
  }

  /// Clicks the item `label` in the submenu of `module`, or in the menu itself for none.
  void click(const QString& module, const QString& label) {
    const MenuItem root = menu();
    const MenuItem* submenu = module.isEmpty() ? &root : root.find(module + " (");
    ASSERT_TRUE(submenu) << module.toStdString();
    const MenuItem* chosen = submenu->find(label);
    ASSERT_TRUE(chosen) << label.toStdString();
    QDBusMessage event = QDBusMessage::createMethodCall(item, menuPath, kMenuInterface, "Event");
    event << chosen->id << QString("clicked") << QVariant::fromValue(QDBusVariant(QString())) << 0u;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(event);
    ASSERT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
  }

  /// The widths of the icon's pixmaps that hold more than blank pixels.
  QList<int> drawnIconWidths() {
    const auto pixmaps = itemProperty("IconPixmap").value<QDBusArgument>();
    QList<int> widths;
    pixmaps.beginArray();
    while (!pixmaps.atEnd()) {
      int width = 0;
      int height = 0;
      QByteArray argb;
      pixmaps.beginStructure();
      pixmaps >> width >> height >> argb;
      pixmaps.endStructure();
      if (argb.count('\0') < argb.size()) widths.append(width);
    }
    pixmaps.endArray();
    return widths;
  }

  /// Clicks the icon as a panel does on a left click.
  bool activate() {
    QDBusMessage call = QDBusMessage::createMethodCall(item, "/StatusNotifierItem",
                                                       "org.kde.StatusNotifierItem", "Activate");
    call << 0 << 0;
    return QDBusConnection::sessionBus().call(call).type() == QDBusMessage::ReplyMessage;
  }

  ModuleHarness harness;
  StatusNotifierWatcher watcher;
  QProcess* tray = nullptr;
  QString item;
  QString menuPath;
};

/// Types `keys` into the tray's "New widget" dialog, other than `previous`, once it shows and has
/// the keyboard; the dialog's window, or nothing when none came.
QString typeNewWidget(const QStringList& keys, const QString& previous = {}) {
  // A refused name comes back only after a `pellimo new` has run and failed: slow when busy.
  constexpr int kSlowDialogMs = 30000;
  const QStringList find{"search", "--onlyvisible", "--name", "^New widget$"};
  QString dialog;
  const bool shown = eventually(
      [&] {
        dialog = x("xdotool", find).section('\n', 0, 0);
        return !dialog.isEmpty() && dialog != previous;
      },
      kSlowDialogMs);
  if (!shown || !giveKeyboard(dialog)) return {};
  x("xdotool", QStringList{"key"} + keys);
  return dialog;
}

TEST_F(TrayEndToEnd, MenuFollowsTheSessionDrivesTheModulesAndMakesNewOnes) {
  ASSERT_EQ(harness.host({"new", "alpha"}).exitCode, 0);
  ASSERT_EQ(harness.host({"new", "beta"}).exitCode, 0);
  ASSERT_EQ(harness.host({"autostart", "on", "beta"}).exitCode, 0);
  ASSERT_EQ(harness.host({"launch", "alpha"}).exitCode, 0);
  ASSERT_NO_FATAL_FAILURE(startTray());
  EXPECT_TRUE(menuShows("alpha (running)"));
  EXPECT_TRUE(menuShows("beta (stopped, starts at login)"));
  // The application's SVG icon, drawn at the sizes panels ask for.
  const QList<int> widths = drawnIconWidths();
  EXPECT_TRUE(std::any_of(widths.begin(), widths.end(), [](int width) { return width >= 32; }))
      << testing::PrintToString(widths);

  LayoutWatch layout;
  ASSERT_TRUE(QDBusConnection::sessionBus().connect(item, menuPath, kMenuInterface, "LayoutUpdated",
                                                    &layout, SLOT(layoutUpdated(uint, int))));
  const int newWidget = menu().find("New widget")->id;
  ASSERT_EQ(harness.host({"launch", "beta"}).exitCode, 0);
  EXPECT_TRUE(eventually([&] { return layout.updates > 0 && menu().find("beta (running"); }));
  // The tray's own items keep their identity, so a click the panel sends meanwhile still lands.
  EXPECT_EQ(menu().find("New widget")->id, newWidget);

  // A left click raises every running widget; the next lays them flat.
  EXPECT_TRUE(activate());
  EXPECT_TRUE(menuShows("alpha (raised)"));
  EXPECT_TRUE(menuShows("beta (raised, starts at login)"));
  EXPECT_TRUE(activate());
  EXPECT_TRUE(menuShows("alpha (running)"));
  EXPECT_TRUE(menuShows("beta (running, starts at login)"));

  click("alpha", "Edit…");
  EXPECT_TRUE(eventually([] { return !x("xdotool", kFindEditor).isEmpty(); }));

  click("alpha", "Stop");
  EXPECT_TRUE(menuShows("alpha (stopped)"));
  ASSERT_TRUE(eventually([] { return x("xdotool", kFindEditor).isEmpty(); }));

  // A name already taken comes back in the dialog to mend.
  click({}, "New widget…");
  const QString first = typeNewWidget({"a", "l", "p", "h", "a", "Return"});
  ASSERT_FALSE(first.isEmpty()) << tray->readAllStandardError().toStdString();
  EXPECT_FALSE(typeNewWidget({"End", "2", "Return"}, first).isEmpty());
  EXPECT_TRUE(menuShows("alpha2 (running)")) << tray->readAllStandardError().toStdString();
  EXPECT_TRUE(eventually([] { return !x("xdotool", kFindEditor).isEmpty(); }));

  const Finished second = harness.host({"tray"});
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_TRUE(second.out.contains(QString("the tray already runs (pid %1)").arg(tray->processId())))
      << second.out.toStdString();
}

TEST_F(TrayEndToEnd, LaunchAtLoginStartsTheMarkedTrayAfterTheModulesAndWaitsForThePanel) {
  ASSERT_EQ(harness.host({"new", "alpha"}).exitCode, 0);
  ASSERT_EQ(harness.host({"autostart", "on", "alpha"}).exitCode, 0);
  ASSERT_EQ(harness.host({"autostart", "on", "--tray"}).exitCode, 0);
  // The login entry stays while only the tray is marked.
  ASSERT_EQ(harness.host({"autostart", "off", "alpha"}).exitCode, 0);
  const QString entry = harness.root() + "/config/autostart/org.pellimo.Pellimo.desktop";
  EXPECT_TRUE(QFileInfo::exists(entry));
  ASSERT_EQ(harness.host({"autostart", "on", "alpha"}).exitCode, 0);

  const Finished launched = harness.host({"launch", "--autostart"});
  EXPECT_EQ(launched.exitCode, 0) << launched.err.toStdString();
  EXPECT_TRUE(launched.out.contains("launched")) << launched.out.toStdString();
  // The panel comes up after the tray has started.
  const auto bus = QDBusConnection::sessionBus().interface();
  ASSERT_TRUE(eventually([&] { return bus->isServiceRegistered(platform::bus::kTrayService); }));
  ASSERT_TRUE(watcher.publish());
  ASSERT_TRUE(eventually([&] { return !watcher.items.isEmpty(); }));
  const uint pid = bus->servicePid(platform::bus::kTrayService).value();
  EXPECT_GT(pid, 0u);
  ::kill(pid_t(pid), SIGTERM);

  ASSERT_EQ(harness.host({"autostart", "off", "--tray"}).exitCode, 0);
  ASSERT_EQ(harness.host({"autostart", "off", "alpha"}).exitCode, 0);
  EXPECT_FALSE(QFileInfo::exists(entry));
}

TEST_F(TrayEndToEnd, ShowsInARealX11TrayWithoutAWatcher) {
  QProcess trayer;
  trayer.start("trayer", {"--edge", "top", "--align", "right", "--expand", "true"});
  ASSERT_TRUE(trayer.waitForStarted());
  ASSERT_TRUE(eventually([] { return !x("xdotool", {"search", "--class", "trayer"}).isEmpty(); }));
  tray = harness.startHost({"tray"});
  // Embedded, the icon's window is a child of the tray's, not of the root window.
  const bool embedded = eventually([] {
    const QString icon = x("xdotool", {"search", "--classname", "pellimo"}).section('\n', 0, 0);
    const QString tree = icon.isEmpty() ? QString() : x("xwininfo", {"-tree", "-id", icon});
    const qsizetype parent = tree.indexOf("Parent window id:");
    return parent >= 0 && !tree.mid(parent).section('\n', 0, 0).contains("root window");
  });
  EXPECT_TRUE(embedded) << tray->readAllStandardError().toStdString();
  EXPECT_EQ(tray->state(), QProcess::Running);
  trayer.kill();
  trayer.waitForFinished();
}

TEST_F(TrayEndToEnd, WithoutAnyTrayItSaysSoAndExitsWithOne) {
  const Finished alone = harness.host({"tray"});
  EXPECT_EQ(alone.exitCode, 1);
  EXPECT_EQ(alone.err.count('\n'), 1) << alone.err.toStdString();
  EXPECT_TRUE(alone.err.startsWith("pellimo: no system tray")) << alone.err.toStdString();
}

}  // namespace
}  // namespace pellimo::test

#include "TrayEndToEndTest.moc"
