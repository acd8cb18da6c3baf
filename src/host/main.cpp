// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>

#include "host/CommandLine.h"
#include "host/Commands.h"
#include "host/ModuleLocator.h"
#include "host/Programs.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"

using namespace pellimo;

namespace {

bool busConnected() {
  return platform::DistributedNotificationCenter::defaultCenter().isConnected();
}

int noBus() {
  return host::fail(QStringLiteral("no D-Bus session bus (is DBUS_SESSION_BUS_ADDRESS set?)"));
}

/// The commands that act on one module, after the arguments were checked.
int runOnModule(const host::Invocation& call) {
  const bool isSend = call.command == QLatin1String("send");
  QString error;
  const auto module = host::locateModule(call.positional.value(isSend ? 1 : 0), &error);
  if (!module) return host::fail(error);
  if (!busConnected()) return noBus();
  if (call.command == QLatin1String("launch")) return host::launchModule(*module);
  if (isSend) return host::sendCommand(call.positional.first(), *module);
  if (call.command == QLatin1String("status"))
    return host::printStatus(*module, call.has("--json"));
  return host::watchModule(*module, call.options.value(QStringLiteral("--count")).toInt());
}

}  // namespace

int main(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments.append(QString::fromLocal8Bit(argv[i]));
  QString error;
  const auto parsed = host::parseCommandLine(arguments, &error);
  if (!parsed) {
    // Pointed at the command's own help when the command itself was known.
    const QString first = arguments.value(0);
    return host::usageError(error, host::helpText(first).isEmpty() ? QString() : first);
  }
  const host::Invocation& call = *parsed;
  const QString& command = call.command;
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pellimo"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PELLIMO_VERSION));
  const auto usage = [&](const QString& reason) { return host::usageError(reason, command); };
  if (call.version) {
    QTextStream(stdout) << "pellimo " << PELLIMO_VERSION << '\n';
    return 0;
  }
  if (call.help || command == QLatin1String("help")) {
    const QString topic = call.help ? command : call.positional.value(0);
    const QString text = host::helpText(topic);
    if (text.isEmpty()) return host::usageError(QStringLiteral("no command \"%1\"").arg(topic));
    QTextStream(stdout) << text;
    return 0;
  }
  // A program of its own, so that no other command loads Qt's GUI.
  if (command == QLatin1String("tray")) return host::runTray(call.has("--wait"));

  if (command == QLatin1String("new") || command == QLatin1String("remove")) {
    if (call.positional.size() != 1) return usage(QStringLiteral("`%1` needs a NAME").arg(command));
    return command == QLatin1String("new")
               ? host::newModule(call.positional.first())
               : host::removeModule(call.positional.first(), call.has("--yes"));
  }
  if (command == QLatin1String("list")) {
    if (call.has("--names") && call.has("--json"))
      return usage(QStringLiteral("`list` takes --names or --json, not both"));
    return call.has("--json") ? host::listModulesAsJson() : host::listModules(call.has("--names"));
  }
  if (command == QLatin1String("autostart")) {
    const QString state = call.positional.value(0);
    if (state != QLatin1String("on") && state != QLatin1String("off")) {
      return usage(QStringLiteral("`autostart` needs on or off"));
    }
    const bool on = state == QLatin1String("on");
    if (!call.has("--tray")) return host::setAutostart(call.positional.value(1), on);
    if (call.positional.size() > 1)
      return usage(QStringLiteral("`autostart --tray` takes no MODULE"));
    return host::setTrayAutostart(on);
  }
  if (command == QLatin1String("launch") && (call.has("--all") || call.has("--autostart"))) {
    if (call.has("--all") == call.has("--autostart") || !call.positional.isEmpty()) {
      return usage(QStringLiteral("`launch` takes a MODULE, --all or --autostart, one of them"));
    }
    return busConnected() ? host::launchModules(call.has("--all")) : noBus();
  }
  if (command == QLatin1String("send")) {
    const QString sent = call.positional.value(0);
    const auto& commands = platform::bus::manifest::kCommands;
    if (std::find(commands.begin(), commands.end(), sent) == commands.end()) {
      QStringList names(commands.begin(), commands.end());
      return usage((sent.isEmpty() ? QStringLiteral("`send` needs a COMMAND")
                                   : QStringLiteral("unknown command \"%1\"").arg(sent)) +
                   QStringLiteral("; one of %1").arg(names.join(QStringLiteral(", "))));
    }
  }
  if (command == QLatin1String("watch")) {
    bool ok = true;
    const QString count = call.options.value(QStringLiteral("--count"), QStringLiteral("0"));
    if (count.toInt(&ok) < 0 || !ok) return usage(QStringLiteral("--count needs a whole number"));
  }
  return runOnModule(call);
}
