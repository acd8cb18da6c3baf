// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt Widgets program that shows a label and is on the session bus, as a module is:
// the memory floor a widget is held to. Given a size, its window is made that large, so that
// two windows of equal area can be compared.
//   pellimo-bench-label [WIDTH HEIGHT]
#include <QApplication>
#include <QDBusConnection>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Named after the process, so that several labels can run side by side.
  const QString service =
      QStringLiteral("org.pellimo.bench.label.p%1").arg(QCoreApplication::applicationPid());
  if (!QDBusConnection::sessionBus().registerService(service)) return 1;
  QLabel label(QStringLiteral("Mon Jan  1 00:00:00 UTC 2024"));
  if (argc == 3)
    label.resize(QString::fromLocal8Bit(argv[1]).toInt(), QString::fromLocal8Bit(argv[2]).toInt());
  label.show();
  return QApplication::exec();
}
