#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace pellimo::test {

/// A hand and an eye on the test's X display: xdotool for the keyboard and for windows, xprop
/// for their properties. X delivers the keys in order, so each acts on what the ones before did.
namespace desktop {

/// Runs a tool to its end; its standard output, or nothing when it failed.
std::optional<QString> tool(const QString& program, const QStringList& arguments);

/// Mapped windows that `xdotool search` finds with these options.
QList<qulonglong> visibleWindows(const QStringList& search);
/// The first mapped window whose name matches, once there is one.
std::optional<qulonglong> waitForWindow(const QString& namePattern, int timeoutMs = 10000);
/// The text xprop prints for a property of the window.
QString property(qulonglong window, const QString& name);

/// Makes the window the active one and waits until it is.
bool activate(qulonglong window);
void key(const QString& keys);
void type(const QString& text);

}  // namespace desktop
}  // namespace pellimo::test
