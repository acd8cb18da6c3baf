#include "DesktopDriver.h"

#include <QProcess>

#include "ModuleHarness.h"

namespace pellimo::test::desktop {

std::optional<QString> tool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

QList<qulonglong> visibleWindows(const QStringList& search) {
  QList<qulonglong> windows;
  const auto out =
      tool(QStringLiteral("xdotool"),
           QStringList{QStringLiteral("search"), QStringLiteral("--onlyvisible")} + search);
  if (!out) return windows;
  for (const QString& line : out->split('\n', Qt::SkipEmptyParts))
    windows.append(line.toULongLong());
  return windows;
}

std::optional<qulonglong> waitForWindow(const QString& namePattern, int timeoutMs) {
  std::optional<qulonglong> found;
  eventually(
      [&] {
        const auto windows = visibleWindows({QStringLiteral("--name"), namePattern});
        if (!windows.isEmpty()) found = windows.first();
        return found.has_value();
      },
      timeoutMs);
  return found;
}

QString property(qulonglong window, const QString& name) {
  return tool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), name})
      .value_or(QString());
}

bool activate(qulonglong window) {
  // Asked again until it holds: a window manager may pass over a request for a window it is
  // still taking in. xdotool complains about the all-desktops number but activates all the same.
  return eventually([&] {
    tool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QString::number(window)});
    return tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")})
               .value_or(QString())
               .trimmed()
               .toULongLong() == window;
  });
}

void key(const QString& keys) {
  tool(QStringLiteral("xdotool"),
       {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), keys});
}

void type(const QString& text) {
  tool(QStringLiteral("xdotool"),
       {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

}  // namespace pellimo::test::desktop
