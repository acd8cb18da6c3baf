// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopWindow.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
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

/// The window manager hints used here, interned once: only these, since interning every hint
/// of the standard would cost a round trip's worth of replies the widget never reads.
struct Atoms {
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = XCB_WINDOW_NONE;
  xcb_atom_t wmState = XCB_ATOM_NONE;
  xcb_atom_t above = XCB_ATOM_NONE;
  xcb_atom_t below = XCB_ATOM_NONE;
  xcb_atom_t sticky = XCB_ATOM_NONE;
  xcb_atom_t skipTaskbar = XCB_ATOM_NONE;
  xcb_atom_t skipPager = XCB_ATOM_NONE;
  xcb_atom_t wmDesktop = XCB_ATOM_NONE;
};

const Atoms* atoms() {
  static Atoms atoms;
  static bool ready = [] {
    xcb_connection_t* c = connection();
    if (!c) return false;
    const std::array<std::pair<std::string_view, xcb_atom_t*>, 7> names{{
        {"_NET_WM_STATE", &atoms.wmState},
        {"_NET_WM_STATE_ABOVE", &atoms.above},
        {"_NET_WM_STATE_BELOW", &atoms.below},
        {"_NET_WM_STATE_STICKY", &atoms.sticky},
        {"_NET_WM_STATE_SKIP_TASKBAR", &atoms.skipTaskbar},
        {"_NET_WM_STATE_SKIP_PAGER", &atoms.skipPager},
        {"_NET_WM_DESKTOP", &atoms.wmDesktop},
    }};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string_view name = names[i].first;
      cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.data());
    }
    bool all = true;
    for (std::size_t i = 0; i < names.size(); ++i) {
      xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
      all = all && reply;
      if (reply) *names[i].second = reply->atom;
      std::free(reply);
    }
    atoms.connection = c;
    atoms.root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    return all;
  }();
  return ready ? &atoms : nullptr;
}

/// A request to the window manager about a mapped window: a client message to the root window,
/// from a normal application.
void sendToWindowManager(const Atoms& atoms, xcb_window_t id, xcb_atom_t type,
                         std::array<std::uint32_t, 5> data) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = id;
  event.type = type;
  std::copy(data.begin(), data.end(), event.data.data32);
  xcb_send_event(atoms.connection, 0, atoms.root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&event));
}

// The values of a state change request and of its source.
constexpr std::uint32_t kStateRemove = 0;
constexpr std::uint32_t kStateAdd = 1;
constexpr std::uint32_t kNormalSource = 1;

/// A state change: by property while the window is not mapped yet (the window manager reads
/// it when the window is mapped), by client message once it is.
void changeState(QWindow* window, xcb_atom_t add, xcb_atom_t remove) {
  const Atoms* names = atoms();
  if (!names || !window) return;
  xcb_connection_t* c = names->connection;
  const auto id = static_cast<xcb_window_t>(window->winId());
  if (window->isVisible()) {
    if (remove != XCB_ATOM_NONE)
      sendToWindowManager(*names, id, names->wmState, {kStateRemove, remove, 0, kNormalSource, 0});
    sendToWindowManager(*names, id, names->wmState, {kStateAdd, add, 0, kNormalSource, 0});
  } else {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, names->wmState, XCB_ATOM_ATOM, 0, 64), nullptr);
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
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, names->wmState, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(states.size()), states.data());
  }
  xcb_flush(c);
}

}  // namespace

bool hasX11() {
  return connection() != nullptr;
}

unsigned long nativeWindowId(QWindow* window) {
  return window && hasX11() ? static_cast<unsigned long>(window->winId()) : 0;
}

void setWindowLevel(QWindow* window, WindowLevel level) {
  const Atoms* names = atoms();
  if (!names) return;
  if (level == WindowLevel::Desktop) {
    changeState(window, names->below, names->above);
  } else {
    changeState(window, names->above, names->below);
  }
}

void joinAllDesktops(QWindow* window) {
  const Atoms* names = atoms();
  if (!names || !window) return;
  const auto id = static_cast<xcb_window_t>(window->winId());
  // openbox ignores the sticky state; all desktops as the window's desktop works there too.
  changeState(window, names->sticky, XCB_ATOM_NONE);
  changeState(window, names->skipTaskbar, XCB_ATOM_NONE);
  changeState(window, names->skipPager, XCB_ATOM_NONE);
  if (window->isVisible()) {
    sendToWindowManager(*names, id, names->wmDesktop, {kAllDesktops, kNormalSource, 0, 0, 0});
  } else {
    xcb_change_property(names->connection, XCB_PROP_MODE_REPLACE, id, names->wmDesktop,
                        XCB_ATOM_CARDINAL, 32, 1, &kAllDesktops);
  }
  xcb_flush(names->connection);
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
