#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

namespace pellimo::test {

/// A hand and an eye on the test's X display: xdotool for the keyboard and the pointer,
/// xprop and xwininfo for windows, ImageMagick's `import` for screenshots.
namespace desktop {

/// Serves the event loop for a while: the programs under test take their time to react.
void pause(int ms);

/// Runs a tool to its end; its standard output, or nothing when it failed.
std::optional<QString> tool(const QString& program, const QStringList& arguments);

/// Mapped windows that `xdotool search` finds with these options.
QList<qulonglong> visibleWindows(const QStringList& search);
/// The first mapped window whose name matches, once there is one.
std::optional<qulonglong> waitForWindow(const QString& namePattern, int timeoutMs = 10000);
/// The window's area on screen.
QRect geometry(qulonglong window);
/// The text xprop prints for a property of the window.
QString property(qulonglong window, const QString& name);

/// Makes the window the active one and waits until it is.
bool activate(qulonglong window);
void key(const QString& keys);
void type(const QString& text);
void click(const QPoint& at);
/// Presses at `from`, moves by `offset` in `steps` steps, releases.
void drag(const QPoint& from, const QPoint& offset, int steps);

QImage screenshot();
/// The centre of the first square of `side` pixels, inside `within`, painted exactly `colour`.
std::optional<QPoint> findSquare(const QImage& image, const QRect& within, QRgb colour, int side);

}  // namespace desktop
}  // namespace pellimo::test
