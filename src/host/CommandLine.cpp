// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/CommandLine.h"

#include <QTextStream>
#include <algorithm>
#include <iterator>

namespace pellimo::host {

namespace {

// The overview is also the man page: help2man takes its "Usage:" line for the synopsis and each
// line ending in ':' at the left margin for a section.
const char* const kOverview = R"(Usage: pellimo COMMAND [ARGUMENTS]

Launch and drive Pellimo desktop widgets.

Commands:
  launch [MODULE]             start a module and wait until it takes commands
  launch --all                start every module: the built-in one and each made with `new`
  launch --autostart          start the modules marked to start at login, then the tray when
                              it is marked
  send COMMAND [MODULE]       send a command to a running module (see below)
  status [MODULE] [--json]    show what a running module shows: mode, frame, text, runs
  watch [MODULE] [--count N]  print each announcement and frame report as it comes
  list [--names | --json]     show the modules, which of them run and start at login, and
                              what is wrong with any
  new NAME                    make a new module, with its own settings and commands
  remove NAME [--yes]         quit a module made with `new` and delete it, its settings, its
                              log and its mark to start at login
  autostart on|off [MODULE]   mark a module to start at login, or take the mark away
  autostart on|off --tray     mark the tray icon to start at login, or take the mark away
  tray                        show a tray icon whose menu lists, starts, stops and edits the
                              modules (a system tray or StatusNotifier host is needed)
  help [COMMAND]              show this help, or the help of COMMAND

Commands to send:
  edit     toggle between flat and raised, without animation
  raise    float above other windows, to move, resize or configure
  flat     lie on the desktop again
  config   open the editor
  clear    wipe the module's settings and its script file
  refresh  run the script now; reloads count from now
  kill     quit the module, even one without a usable manifest

MODULE is a module name (see `pellimo list`), a module directory written with a slash
(./clock, clock/, /path/to/clock), or nothing (or "default") for the built-in module. The
modules marked with `pellimo autostart on` start at login through one entry that runs
`pellimo launch --autostart`, and the tray after them when it is marked.

Options:
  -h, --help     show this help; after a command, the command's help
  -v, --version  show the version

Exit status:
  0  success
  1  failure; the message names the module and what to do
  2  usage error: an unknown command or option, a missing or bad argument, or a
     confirmation `remove` cannot ask for

Files:
  ~/.local/share/pellimo/modules/NAME  a module made with `new` ($XDG_DATA_HOME)
  ~/.config/pellimo/IDENTIFIER.conf    a module's settings ($XDG_CONFIG_HOME)
  ~/.config/pellimo/autostart.list     the marks to start at login
  ~/.config/autostart/org.pellimo.Pellimo.desktop
                                       the login entry, while anything is marked
  ~/.local/state/pellimo/IDENTIFIER.log
                                       a module's log ($XDG_STATE_HOME)
  ~/.local/state/pellimo/tray.log      the log of the tray started at login
)";

/// A command of `pellimo`: the arguments it takes and its help. An option ending in '=' takes
/// a value.
struct CommandEntry {
  const char* name;
  const char* usage;
  int maxPositional;
  /// At most two; the unused ones null.
  const char* options[2];
  const char* help;
};

const CommandEntry kCommands[] = {
    {"launch",
     "launch [MODULE]\n       pellimo launch --all | --autostart",
     1,
     {"--all", "--autostart"},
     R"(Start a module and wait until it takes commands; say so when it already runs.

  --all        start every module: the built-in one and each made with `pellimo new`
  --autostart  start the modules marked with `pellimo autostart on`, then the tray when it is
               marked (`pellimo autostart on --tray`); the login entry runs this

With --all or --autostart, a module that is gone or broken is skipped with a message, the others
still start, and the exit status is 1.)"},
    {"send",
     "send COMMAND [MODULE]",
     2,
     {},
     R"(Send a command to a running module:

  edit     toggle between flat and raised, without animation
  raise    float above other windows, to move, resize or configure
  flat     lie on the desktop again
  config   open the editor
  clear    wipe the module's settings and its script file (not its mark to start at login)
  refresh  run the script now; reloads count from now
  kill     quit the module and wait until it has, even one without a usable manifest)"},
    {"status",
     "status [MODULE] [--json]",
     1,
     {"--json"},
     R"(Show what a running module shows: whether it is ready and raised, its frame, whether its
script runs, how the last run ended, the next reload, whether it starts at login, and its text.

  --json  the same as one JSON object)"},
    {"watch",
     "watch [MODULE] [--count N]",
     1,
     {"--count="},
     R"(Print each announcement ("hello") and frame report ("frame {{x, y}, {w, h}}") of the
module as it comes, until interrupted.

  --count N  stop after N lines)"},
    {"list",
     "list [--names | --json]",
     0,
     {"--names", "--json"},
     R"(Show every module: its name, its identifier, whether it runs, whether it starts at login
and what is wrong with a broken one.

  --names  print only the names, one a line, as commands take them
  --json   one JSON object: "modules", each with its "name", "identifier", "state" (running,
           raised, stopped, not responding, broken or unknown), "pid" while it runs,
           "autostart", "problem" and "hello" (the name of its announcement); and
           "trayAutostart", whether the tray starts at login)"},
    {"new",
     "new NAME",
     1,
     {},
     R"(Make a module named NAME (1 to 64 letters, digits, '-' or '_') with its own identifier,
settings and commands, in $XDG_DATA_HOME/pellimo/modules (~/.local/share/pellimo/modules).)"},
    {"remove",
     "remove NAME [--yes]",
     1,
     {"--yes"},
     R"(Remove a module made with `pellimo new`: quit it if it runs, then delete its folder, its
settings, its log and its mark to start at login, after saying what goes. It asks first on a
terminal; elsewhere it deletes nothing and exits with 2 unless given --yes. The built-in module
and module directories named with a slash are not removed.

  --yes  delete without asking)"},
    {"autostart",
     "autostart on|off [MODULE]\n       pellimo autostart on|off --tray",
     2,
     {"--tray"},
     R"(Mark a module to start at login, or take its mark away. The marks live in
$XDG_CONFIG_HOME/pellimo/autostart.list, which `send clear` leaves alone. While anything is
marked, $XDG_CONFIG_HOME/autostart/org.pellimo.Pellimo.desktop runs this `pellimo`, wherever it
is installed, as `pellimo launch --autostart`; it goes when the last mark does.

  --tray  mark the tray icon instead, which then starts after the marked modules)"},
    {"tray",
     "tray [--wait]",
     0,
     {"--wait"},
     R"(Show Pellimo's icon in the system tray, once a session. Its menu lists every module with
its state (running, raised, stopped, starting at login) and, for each, Raise, Lie flat, Edit...,
Refresh, Stop, Start, Start at login and Remove...; it follows modules started and stopped
elsewhere. "New widget..." makes, launches and opens a module; "Start Pellimo at login" marks the
tray as `pellimo autostart on --tray` does; "Quit all widgets" stops every module; "Quit" leaves
them running. A left click raises every running module, the next lays them flat.

It needs a StatusNotifier host (KDE, Xfce, most panels; GNOME with its AppIndicator extension) or
an X11 system tray, and exits with 1 when there is neither; a second start exits with 0.

  --wait  wait up to a minute for a system tray to appear, as at login, where the panel may
          start after the tray)"},
    {"help", "help [COMMAND]", 1, {}, "Show the overview of the commands, or the help of COMMAND."},
};

const CommandEntry* findCommand(const QString& name) {
  const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                   [&](const CommandEntry& entry) { return name == entry.name; });
  return found == std::end(kCommands) ? nullptr : found;
}

bool isOption(const QString& argument) {
  return argument.size() > 1 && argument.startsWith(u'-');
}

}  // namespace

std::optional<Invocation> parseCommandLine(QStringList arguments, QString* error) {
  Invocation call;
  if (arguments.isEmpty()) {
    *error = QStringLiteral("no command given");
    return std::nullopt;
  }
  const QString first = arguments.takeFirst();
  if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
    call.help = true;
    return call;
  }
  if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
    call.version = true;
    return call;
  }
  const CommandEntry* entry = findCommand(first);
  if (!entry) {
    *error = isOption(first) ? QStringLiteral("unknown option %1").arg(first)
                             : QStringLiteral("unknown command \"%1\"").arg(first);
    return std::nullopt;
  }
  call.command = first;
  bool optionsEnd = false;
  while (!arguments.isEmpty()) {
    const QString argument = arguments.takeFirst();
    if (optionsEnd || !isOption(argument)) {
      call.positional.append(argument);
      continue;
    }
    if (argument == QLatin1String("--")) {
      optionsEnd = true;
    } else if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
      call.help = true;
    } else {
      const qsizetype equals = argument.indexOf(u'=');
      const QString name = argument.left(equals);
      const auto allows = [&](const QString& option) {
        return std::any_of(std::begin(entry->options), std::end(entry->options),
                           [&](const char* o) { return o && option == QLatin1String(o); });
      };
      const bool takesValue = allows(name + u'=');
      const bool known = takesValue || allows(name);
      if (!known) {
        *error = QStringLiteral("`%1` has no option %2").arg(call.command, name);
        return std::nullopt;
      }
      if (takesValue && equals < 0 && arguments.isEmpty()) {
        *error = QStringLiteral("%1 needs a value").arg(name);
        return std::nullopt;
      }
      if (!takesValue && equals >= 0) {
        *error = QStringLiteral("%1 takes no value").arg(name);
        return std::nullopt;
      }
      call.options.insert(name, !takesValue   ? QString()
                                : equals >= 0 ? argument.mid(equals + 1)
                                              : arguments.takeFirst());
    }
  }
  if (call.help) return call;
  if (call.positional.size() > entry->maxPositional) {
    *error = QStringLiteral("too many arguments for `%1`: %2")
                 .arg(call.command, call.positional.mid(entry->maxPositional).join(u' '));
    return std::nullopt;
  }
  return call;
}

QString helpText(const QString& command) {
  if (command.isEmpty()) return QString::fromUtf8(kOverview);
  const CommandEntry* entry = findCommand(command);
  if (!entry) return {};
  return QStringLiteral(
             "Usage: pellimo %1\n\n%2\n\nSee `pellimo help` for MODULE and the exit "
             "statuses.\n")
      .arg(QString::fromUtf8(entry->usage), QString::fromUtf8(entry->help));
}

int usageError(const QString& reason, const QString& command) {
  const QString help = command.isEmpty() ? QStringLiteral("pellimo --help")
                                         : QStringLiteral("pellimo help %1").arg(command);
  QTextStream(stderr) << "pellimo: " << reason << " (see `" << help << "`)\n";
  return 2;
}

}  // namespace pellimo::host
