// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWindow;

namespace pellimo::platform {

/// Where a window stands among the others: on the desktop beneath ordinary windows, or
/// floating above them.
enum class WindowLevel { Desktop, Floating };

/// Whether windows are X11 windows, which the hints below reach. Elsewhere (offscreen,
/// Wayland without XWayland) the hints do nothing and the windows still work.
bool hasX11();

/// Sets the level through _NET_WM_STATE (below or above), on a shown window as well: it is
/// switched in place, never re-created.
void setWindowLevel(QWindow* window, WindowLevel level);

/// On every desktop, out of the taskbar and the pager.
void joinAllDesktops(QWindow* window);

/// How windows reach the screen: "x11" (an X server), "xwayland" (a Wayland compositor's X
/// server), or Qt's platform name for anything else ("offscreen", "wayland").
QString displayPath();

/// Whether an X11 system tray (the owner of the screen's _NET_SYSTEM_TRAY_S selection) runs.
bool hasX11SystemTray();

/// The X window id of a window, or 0 when there is none.
unsigned long nativeWindowId(QWindow* window);

}  // namespace pellimo::platform
