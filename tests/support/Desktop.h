// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QString>
#include <QStringList>

#include "ModuleHarness.h"
#include "platform/FrameText.h"

// What the end-to-end tests on the private desktop share: X tools, screenshots, the host's status.
namespace pellimo::test {

/// Runs an X tool (xdotool, xprop) to its end: its trimmed output, or nothing when it failed.
inline QString x(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  const bool ran = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
                   process.exitCode() == 0;
  return ran ? QString::fromUtf8(process.readAllStandardOutput()).trimmed() : QString();
}

inline void clickAt(const QPoint& at, const QStringList& how = {"1"}) {
  x("xdotool",
    QStringList{"mousemove", QString::number(at.x()), QString::number(at.y()), "click"} + how);
}

/// A window's place on the screen, from xwininfo: xdotool adds the frame's offset to a framed
/// window's position.
inline QRect geometryOf(const QString& window) {
  QRect rect;
  for (const QString& line : x("xwininfo", {"-id", window}).split('\n')) {
    const int value = line.section(':', 1).trimmed().toInt();
    if (line.contains("Absolute upper-left X:")) rect.moveLeft(value);
    if (line.contains("Absolute upper-left Y:")) rect.moveTop(value);
    if (line.contains("Width:")) rect.setWidth(value);
    if (line.contains("Height:")) rect.setHeight(value);
  }
  return rect;
}

inline QImage screenshot(const QRect& area) {
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

/// The bounding box of the pixels that pass `wanted`.
inline QRect boxOf(const QImage& image, bool (*wanted)(QRgb)) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (wanted(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

inline bool isRed(QRgb p) {
  return qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80;
}
/// Also the dimmer yellow of a one-pixel border smoothed by scaling.
inline bool isYellow(QRgb p) {
  return qRed(p) > 70 && qGreen(p) > 60 && qBlue(p) < 50;
}

inline QString canvasOf(ModuleHarness& harness) {
  return statusOf(harness).value("canvas").toString();
}
inline QRect frameOf(ModuleHarness& harness) {
  return platform::rectFromString(statusOf(harness).value("frame").toString()).toRect();
}

/// Gives `window` the keyboard; whether it got it. Asked again until it holds: a window manager
/// may pass over a request for a window it is still taking in, and on a loaded machine may not
/// have answered at all, so the window is also focused directly, which needs no manager.
inline bool giveKeyboard(const QString& window, int timeoutMs = 10000) {
  return eventually(
      [&] {
        x("xdotool", {"windowactivate", window});
        if (x("xdotool", {"getactivewindow"}) == window) return true;
        x("xdotool", {"windowfocus", window});
        return x("xdotool", {"getwindowfocus"}) == window;
      },
      timeoutMs);
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
  return giveKeyboard(editor) ? editor : QString();
}

}  // namespace pellimo::test
