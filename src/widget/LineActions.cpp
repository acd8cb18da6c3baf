// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/LineActions.h"

#include <QDebug>
#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

#include "widget/lbl.h"

namespace pellimo::widget {

namespace {

QString commandLine(const QString& program, const QStringList& arguments) {
  QStringList words{program};
  for (const QString& argument : arguments)
    words.append(argument.contains(' ') ? '"' + argument + '"' : argument);
  return words.join(' ');
}

/// The last line of what a process wrote on standard error, which says why, as a rule.
QString lastLine(const QString& text) {
  const QStringList lines = text.trimmed().split('\n');
  return lines.isEmpty() ? QString() : lines.last().trimmed();
}

}  // namespace

LineActions::LineActions(lbl* canvas, std::function<void()> refresh, QObject* parent)
    : QObject(parent), canvas_(canvas), refresh_(std::move(refresh)) {}

LineActions::~LineActions() = default;

void LineActions::run(const runner::LineAction& action) {
  if (!action.href.isEmpty()) {
    qInfo().noquote() << "pellimo-widget: action: opening" << action.href;
    if (!QDesktopServices::openUrl(QUrl(action.href))) {
      fail(QStringLiteral("cannot open %1: the desktop has no handler for it").arg(action.href));
    }
  }
  if (!action.program.isEmpty()) {
    start(action);
  } else if (action.refresh) {
    refresh_();
  }
}

void LineActions::start(const runner::LineAction& action) {
  QString program = action.program;
  QStringList arguments = action.arguments;
  if (action.terminal) {
    if (QStandardPaths::findExecutable(QLatin1String(kTerminal)).isEmpty()) {
      fail(QStringLiteral("cannot run %1: there is no terminal emulator (%2); "
                          "terminal=false runs it without one")
               .arg(action.program, QLatin1String(kTerminal)));
      if (action.refresh) refresh_();
      return;
    }
    arguments.prepend(program);
    arguments.prepend(QStringLiteral("-e"));
    program = QLatin1String(kTerminal);
  }
  const QString command = commandLine(program, arguments);
  QString why;
  auto process = runner::ActionProcess::start(program, arguments, &why);
  if (!process) {
    fail(QStringLiteral("cannot run %1: %2").arg(command, why));
    if (action.refresh) refresh_();
    return;
  }
  qInfo().noquote() << "pellimo-widget: action: running" << command << "as pid" << process->pid();
  runner::ActionProcess* started = process.get();
  connect(started, &runner::ActionProcess::finished, this,
          [this, started, command, refresh = action.refresh](
              std::optional<int> exitStatus, std::optional<int> signal, const QString& errors) {
            ended(started, command, exitStatus, signal, errors, refresh);
          });
  running_.push_back(std::move(process));
}

void LineActions::ended(runner::ActionProcess* process, const QString& command,
                        std::optional<int> exitStatus, std::optional<int> signal,
                        const QString& errorText, bool refresh) {
  if (exitStatus == 0) {
    qInfo().noquote() << "pellimo-widget: action:" << command << "exited with 0";
  } else {
    const QString how = exitStatus
                            ? QStringLiteral("exited with %1").arg(*exitStatus)
                            : QStringLiteral("was ended by signal %1").arg(signal.value_or(0));
    const QString why = lastLine(errorText);
    fail(command + ' ' + how + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
  }
  // Not deleted here: it is still emitting.
  const auto found = std::find_if(running_.begin(), running_.end(),
                                  [process](const auto& held) { return held.get() == process; });
  if (found != running_.end()) {
    found->release()->deleteLater();
    running_.erase(found);
  }
  if (refresh) refresh_();
}

void LineActions::fail(const QString& reason) {
  qWarning().noquote() << "pellimo-widget: action:" << reason;
  if (canvas_) canvas_->showNotice(reason);
}

}  // namespace pellimo::widget
