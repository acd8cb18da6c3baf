// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "tray/TrayController.h"

namespace pellimo::test {
namespace {

QList<QMessageBox*> openBoxes() {
  QList<QMessageBox*> boxes;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) boxes.append(box);
  }
  return boxes;
}

int linesIn(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? static_cast<int>(file.readAll().count('\n')) : 0;
}

TEST(TrayReport, AListingThatKeepsFailingShowsOneBoxUntilItIsClosed) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Stands for `pellimo`: every listing fails the same way, and each call leaves a line.
  const QString calls = dir.filePath(QStringLiteral("calls"));
  const QString program = dir.filePath(QStringLiteral("pellimo"));
  QFile script(program);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QStringLiteral("#!/bin/sh\necho >>'%1'\necho 'the list is unreadable' >&2\nexit 1\n")
                   .arg(calls)
                   .toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  tray::TrayController tray(program);
  ASSERT_TRUE(eventually([] { return openBoxes().size() == 1; }));
  QMenu* menu = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<QMenu*>(widget)) menu = found;
  }
  ASSERT_NE(menu, nullptr);

  // Listings run one at a time: once the third has begun, the second has been reported.
  emit menu->aboutToShow();
  emit menu->aboutToShow();
  ASSERT_TRUE(eventually([&] { return linesIn(calls) == 3; }));
  EXPECT_EQ(openBoxes().size(), 1);
  EXPECT_TRUE(openBoxes().value(0)->text().contains(QStringLiteral("the list is unreadable")));

  openBoxes().value(0)->accept();
  ASSERT_TRUE(eventually([] { return openBoxes().isEmpty(); }));
  emit menu->aboutToShow();
  EXPECT_TRUE(eventually([] { return openBoxes().size() == 1; }));
}

}  // namespace
}  // namespace pellimo::test
