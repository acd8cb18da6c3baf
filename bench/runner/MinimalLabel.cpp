// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt Widgets program that shows a label: the memory floor a widget is held to.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QStringLiteral("Mon Jan  1 00:00:00 UTC 2024"));
  label.show();
  return QApplication::exec();
}
