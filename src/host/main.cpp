// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>

#include "host/Commands.h"
#include "host/ModuleLocator.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"

using namespace pellimo;

namespace {

const char* const kUsage = R"(Usage: pellimo COMMAND [ARGUMENTS]

Launch and drive Pellimo desktop widgets.

Commands:
  launch [MODULE]             start a widget module and wait until it takes commands
  send COMMAND [MODULE]       send a command to a running module:
                                edit    toggle between flat and raised, without animation
                                raise   float above other windows, to move, resize or configure
                                flat    lie on the desktop again
                                config  open the editor
                                clear   wipe the module's settings and its script file
                                refresh run the script now; reloads count from now
                                kill    quit the module, even one without a usable manifest
  status [MODULE] [--json]    show what a running module shows: mode, frame, text and runs
  watch [MODULE] [--count N]  print each announcement and frame report as it comes
  list                        show the modules, which of them run and what is wrong with any
  new NAME                    make a new module, with its own settings and commands

MODULE is a module name (see `pellimo list`), a module directory written with a slash
(./clock, clock/, /path/to/clock), or nothing for the built-in module. Exit status: 0 on
success, 1 on failure.

Options:
  -h, --help     show this help
  -v, --version  show the version
)";

int usageError(const QString& reason) {
  return host::fail(reason + QStringLiteral(" (see `pellimo --help`)"));
}

/// Splits the arguments after the command into positional ones and the flags it allows.
bool takeArguments(QStringList args, const QStringList& flags, int maxPositional,
                   QStringList* positional, QStringList* given, QString* countValue) {
  while (!args.isEmpty()) {
    const QString arg = args.takeFirst();
    if (arg.startsWith(QLatin1String("--"))) {
      if (!flags.contains(arg)) return false;
      given->append(arg);
      if (arg == QLatin1String("--count")) {
        if (args.isEmpty()) return false;
        *countValue = args.takeFirst();
      }
    } else {
      positional->append(arg);
    }
  }
  return positional->size() <= maxPositional;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pellimo"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PELLIMO_VERSION));
  QStringList args = app.arguments().mid(1);

  if (args.isEmpty()) return usageError(QStringLiteral("no command given"));
  const QString command = args.takeFirst();
  if (command == QLatin1String("-h") || command == QLatin1String("--help")) {
    QTextStream(stdout) << kUsage;
    return 0;
  }
  if (command == QLatin1String("-v") || command == QLatin1String("--version")) {
    QTextStream(stdout) << "pellimo " << PELLIMO_VERSION << '\n';
    return 0;
  }
  if (command == QLatin1String("new")) {
    if (args.size() != 1) return usageError(QStringLiteral("`new` takes one NAME"));
    return host::newModule(args.first());
  }
  if (command == QLatin1String("list")) {
    if (!args.isEmpty()) return usageError(QStringLiteral("`list` takes no arguments"));
    return host::listModules();
  }

  const bool isSend = command == QLatin1String("send");
  QString sent;
  if (isSend) {
    if (args.isEmpty()) return usageError(QStringLiteral("`send` needs a COMMAND"));
    sent = args.takeFirst();
    const auto& commands = platform::bus::manifest::kCommands;
    if (std::find(commands.begin(), commands.end(), sent) == commands.end()) {
      QStringList names(commands.begin(), commands.end());
      return usageError(QStringLiteral("unknown command \"%1\"; one of %2")
                            .arg(sent, names.join(QStringLiteral(", "))));
    }
  }
  QStringList flags;
  if (command == QLatin1String("status")) flags = {"--json"};
  if (command == QLatin1String("watch")) flags = {"--count"};
  QStringList positional, given;
  QString countValue;
  if (!QStringList{"launch", "send", "status", "watch"}.contains(command)) {
    return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
  }
  if (!takeArguments(args, flags, 1, &positional, &given, &countValue)) {
    return usageError(QStringLiteral("bad arguments for `%1`").arg(command));
  }
  bool countOk = true;
  const int count = countValue.isEmpty() ? 0 : countValue.toInt(&countOk);
  if (!countOk || count < 0) return usageError(QStringLiteral("--count needs a whole number"));

  QString error;
  const auto module = host::locateModule(positional.value(0), &error);
  if (!module) return host::fail(error);
  if (!platform::DistributedNotificationCenter::defaultCenter().isConnected()) {
    return host::fail(QStringLiteral("no D-Bus session bus (is DBUS_SESSION_BUS_ADDRESS set?)"));
  }

  if (command == QLatin1String("launch")) return host::launchModule(*module);
  if (isSend) return host::sendCommand(sent, *module);
  if (command == QLatin1String("status"))
    return host::printStatus(*module, given.contains("--json"));
  return host::watchModule(*module, count);
}
