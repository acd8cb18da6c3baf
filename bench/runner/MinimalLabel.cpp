// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt Widgets program that shows a label and is on the session bus, as a module is:
// the memory floor a widget is held to.
#include <QApplication>
#include <QDBusConnection>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (!QDBusConnection::sessionBus().registerService(QStringLiteral("org.pellimo.bench.label")))
    return 1;
  QLabel label(QStringLiteral("Mon Jan  1 00:00:00 UTC 2024"));
  label.show();
  return QApplication::exec();
}
