// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTextStream>

#include "host/Autostart.h"
#include "host/Commands.h"
#include "host/ModuleLocator.h"

namespace pellimo::host {

int setAutostart(const QString& argument, bool on) {
  AutostartMarks marks;
  QString why;
  if (!marks.load(&why)) return fail(why);
  QString error;
  const auto module = locateModule(argument, &error);
  QString name;
  if (module) {
    name = markName(*module);
  } else if (!on && marks.hasModule(argument)) {
    name = argument;  // the mark of a module that is gone
  } else {
    return fail(error);
  }
  const bool changed = marks.setModule(name, on);
  if (!marks.save(&why)) return fail(why);
  QTextStream out(stdout);
  if (on) {
    out << name << (changed ? " starts" : " already starts") << " at login, through "
        << AutostartMarks::entryPath() << '\n';
  } else {
    out << name << (changed ? " no longer starts" : " was not marked to start") << " at login\n";
    if (marks.modules().isEmpty()) out << "no module starts at login\n";
  }
  return 0;
}

int setTrayAutostart(bool on) {
  AutostartMarks marks;
  QString why;
  if (!marks.load(&why)) return fail(why);
  const bool changed = marks.setTray(on);
  if (!marks.save(&why)) return fail(why);
  QTextStream out(stdout);
  if (on) {
    out << "the tray" << (changed ? " starts" : " already starts")
        << " at login, after the marked modules, through " << AutostartMarks::entryPath() << '\n';
  } else {
    out << "the tray" << (changed ? " no longer starts" : " was not marked to start")
        << " at login\n";
  }
  return 0;
}

}  // namespace pellimo::host
