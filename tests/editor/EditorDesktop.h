// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "ModuleHarness.h"

// What the editor's tests on the private desktop share: X tools, the editor window, the status.
namespace pellimo::test {

/// Runs an X tool (xdotool, xprop) to its end: its trimmed output, or nothing when it failed.
inline QString x(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  const bool ran = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
                   process.exitCode() == 0;
  return ran ? QString::fromUtf8(process.readAllStandardOutput()).trimmed() : QString();
}

inline const QStringList kFindEditor{"search", "--onlyvisible", "--name", "^Pellimo editor$"};

/// Opens the launched module's editor with the host's "config" and gives it the keyboard: its
/// window, or nothing when it never showed.
inline QString openEditor(ModuleHarness& harness) {
  if (harness.host({"send", "config"}).exitCode != 0) return {};
  QString editor;
  if (!eventually(
          [&] { return !(editor = x("xdotool", kFindEditor).section('\n', 0, 0)).isEmpty(); }))
    return {};
  // Asked again until it holds: a window manager may pass over a request for a window it is
  // still taking in.
  const bool active = eventually([&] {
    x("xdotool", {"windowactivate", editor});
    return x("xdotool", {"getactivewindow"}) == editor;
  });
  return active ? editor : QString();
}

inline QJsonObject statusOf(ModuleHarness& harness) {
  return QJsonDocument::fromJson(harness.host({"status", "--json"}).out.toUtf8()).object();
}

inline QString canvasOf(ModuleHarness& harness) {
  return statusOf(harness).value("canvas").toString();
}

}  // namespace pellimo::test
