// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopWindow.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace pellimo::platform {

namespace {

constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;

xcb_connection_t* connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

bool hasExtension(xcb_connection_t* c, const char* name) {
  xcb_query_extension_reply_t* reply =
      xcb_query_extension_reply(c, xcb_query_extension(c, std::strlen(name), name), nullptr);
  const bool present = reply && reply->present;
  std::free(reply);
  return present;
}

/// The EWMH atoms of the display, fetched once.
xcb_ewmh_connection_t* ewmh() {
  static xcb_ewmh_connection_t atoms;
  static bool ready = [] {
    xcb_connection_t* c = connection();
    if (!c) return false;
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(c, &atoms);
    return xcb_ewmh_init_atoms_replies(&atoms, cookies, nullptr) != 0;
  }();
  return ready ? &atoms : nullptr;
}

/// A state change: by property while the window is not mapped yet (the window manager reads
/// it when the window is mapped), by client message once it is.
void changeState(QWindow* window, xcb_atom_t add, xcb_atom_t remove) {
  xcb_ewmh_connection_t* atoms = ewmh();
  if (!atoms || !window) return;
  const auto id = static_cast<xcb_window_t>(window->winId());
  if (window->isVisible()) {
    if (remove != XCB_ATOM_NONE) {
      xcb_ewmh_request_change_wm_state(atoms, 0, id, XCB_EWMH_WM_STATE_REMOVE, remove,
                                       XCB_ATOM_NONE, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    }
    xcb_ewmh_request_change_wm_state(atoms, 0, id, XCB_EWMH_WM_STATE_ADD, add, XCB_ATOM_NONE,
                                     XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
  } else {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        atoms->connection,
        xcb_get_property(atoms->connection, 0, id, atoms->_NET_WM_STATE, XCB_ATOM_ATOM, 0, 64),
        nullptr);
    std::vector<xcb_atom_t> states;
    if (reply) {
      const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
      const int count = xcb_get_property_value_length(reply) / static_cast<int>(sizeof(xcb_atom_t));
      for (int i = 0; i < count; ++i) {
        if (values[i] != add && values[i] != remove) states.push_back(values[i]);
      }
      free(reply);
    }
    states.push_back(add);
    xcb_ewmh_set_wm_state(atoms, id, static_cast<std::uint32_t>(states.size()), states.data());
  }
  xcb_flush(atoms->connection);
}

}  // namespace

bool hasX11() {
  return connection() != nullptr;
}

unsigned long nativeWindowId(QWindow* window) {
  return window && hasX11() ? static_cast<unsigned long>(window->winId()) : 0;
}

void setWindowLevel(QWindow* window, WindowLevel level) {
  xcb_ewmh_connection_t* atoms = ewmh();
  if (!atoms) return;
  if (level == WindowLevel::Desktop) {
    changeState(window, atoms->_NET_WM_STATE_BELOW, atoms->_NET_WM_STATE_ABOVE);
  } else {
    changeState(window, atoms->_NET_WM_STATE_ABOVE, atoms->_NET_WM_STATE_BELOW);
  }
}

void joinAllDesktops(QWindow* window) {
  xcb_ewmh_connection_t* atoms = ewmh();
  if (!atoms || !window) return;
  const auto id = static_cast<xcb_window_t>(window->winId());
  // openbox ignores the sticky state; all desktops as the window's desktop works there too.
  changeState(window, atoms->_NET_WM_STATE_STICKY, XCB_ATOM_NONE);
  changeState(window, atoms->_NET_WM_STATE_SKIP_TASKBAR, XCB_ATOM_NONE);
  changeState(window, atoms->_NET_WM_STATE_SKIP_PAGER, XCB_ATOM_NONE);
  if (window->isVisible()) {
    xcb_ewmh_request_change_wm_desktop(atoms, 0, id, kAllDesktops,
                                       XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
  } else {
    xcb_ewmh_set_wm_desktop(atoms, id, kAllDesktops);
  }
  xcb_flush(atoms->connection);
}

QString displayPath() {
  xcb_connection_t* c = connection();
  if (!c) return QGuiApplication::platformName();
  // Newer Xwayland announces itself with an extension of its own name; older ones only name
  // their outputs after themselves.
  const auto screens = QGuiApplication::screens();
  const bool xwayland =
      hasExtension(c, "XWAYLAND") || std::any_of(screens.begin(), screens.end(), [](QScreen* s) {
        return s->name().startsWith(QLatin1String("XWAYLAND"));
      });
  return xwayland ? QStringLiteral("xwayland") : QStringLiteral("x11");
}

bool hasX11SystemTray() {
  xcb_connection_t* c = connection();
  if (!c) return false;
  // Qt draws on the display's first screen; multi-screen X displays are long gone.
  constexpr std::string_view name = "_NET_SYSTEM_TRAY_S0";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.data()), nullptr);
  if (!atom) return false;
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
  const bool owned = atom->atom != XCB_ATOM_NONE && owner && owner->owner != XCB_WINDOW_NONE;
  std::free(owner);
  std::free(atom);
  return owned;
}

}  // namespace pellimo::platform
