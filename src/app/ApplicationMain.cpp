// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationMain.h"

#include <malloc.h>
#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <optional>
#include <string_view>

#include "app/EditorLoader.h"
#include "editor/DarkPalette.h"
#include "platform/Bundle.h"
#include "platform/DesktopWindow.h"
#include "platform/FrameText.h"
#include "platform/ModuleObject.h"
#include "platform/QuitSignals.h"
#include "platform/SessionEnd.h"
#include "runner/CodeRunner.h"
#include "widget/AppDelegate.h"
#include "widget/Interface.h"

namespace pellimo::app {

using widget::AppDelegate;
using widget::Interface;
using widget::ViewController;

namespace {

const char* const kUsage = R"(Usage: pellimo-widget [MODULE-DIRECTORY]

The widget module behind `pellimo launch`: one borderless window on the desktop that runs its
script again and again and shows the output, ANSI colours included. It takes its commands (raise,
flat, config, refresh, kill, ...) on the D-Bus session bus; `pellimo send` sends them.

Without MODULE-DIRECTORY it is the built-in module, org.pellimo.widget; with one, the module that
directory holds. A module runs once: a second copy of the same module quits. Start it with
`pellimo launch`, which finds this program and waits until the module takes commands.

Options:
  -h, --help     show this help
  -v, --version  show the version
)";

/// Help and the version need no display, so they are answered before the application connects to
/// one.
std::optional<int> answerInformation(int argc, char* argv[]) {
  if (argc != 2) return std::nullopt;
  const std::string_view arg = argv[1];
  if (arg == "-h" || arg == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (arg == "-v" || arg == "--version") {
    std::fputs("pellimo-widget " PELLIMO_VERSION "\n", stdout);
    return 0;
  }
  return std::nullopt;
}

/// The module's one argument, a module directory, names its bundle; without it the module is
/// the built-in one.
bool chooseBundle(const QStringList& arguments) {
  if (arguments.size() > 2) {
    QTextStream(stderr) << "usage: pellimo-widget [MODULE-DIRECTORY]\n";
    return false;
  }
  if (arguments.size() == 1) return true;
  QString error;
  auto bundle = platform::Bundle::fromDirectory(arguments.at(1), &error);
  if (!bundle) {
    QTextStream(stderr) << "pellimo-widget: " << error << '\n';
    return false;
  }
  platform::Bundle::setMain(*bundle);
  return true;
}

/// What the module shows on the bus of its script's runs.
platform::ModuleObject::RunState runState(const AppDelegate& delegate) {
  platform::ModuleObject::RunState state;
  const runner::CodeRunner* runner = delegate.runner();
  if (!runner) return state;
  state.running = runner->isRunning();
  if (runner->lastRun()) state.lastRun = runner->lastRun()->toMap();
  const QDateTime next = runner->nextReload();
  if (next.isValid()) state.nextReload = next.toUTC().toString(Qt::ISODateWithMs);
  return state;
}

}  // namespace

int applicationMain(int argc, char* argv[]) {
  if (const auto status = answerInformation(argc, argv)) return *status;
  // Window levels and desktop hints exist on X11 only: under Wayland the widget uses XWayland.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY") &&
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  // The few threads Qt starts (X events, D-Bus, painting) allocate little and seldom: memory of
  // their own for each would mostly lie idle.
  ::mallopt(M_ARENA_MAX, 1);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pellimo-widget"));
  QApplication::setQuitOnLastWindowClosed(false);
  // One look for all our windows: the editor's, the colour picker's and the font dialog's.
  QApplication::setPalette(editor::darkPalette());
  // From here on SIGTERM, SIGINT and SIGHUP quit as the "kill" command does, stopping the
  // script's children on the way out; until the event loop runs, they wait in the pipe.
  platform::QuitSignals quitSignals;
  QObject::connect(&quitSignals, &platform::QuitSignals::quitRequested, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  if (!chooseBundle(QApplication::arguments())) return 1;

  platform::ModuleObject moduleObject;
  QObject::connect(&moduleObject, &platform::ModuleObject::quitRequested, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  AppDelegate delegate;
  moduleObject.exportOnBus(platform::Bundle::main().bundleIdentifier());
  if (!delegate.applicationWillFinishLaunching()) return 0;

  ViewController::setEditorFactory(makeEditor);
  Interface interface;
  ViewController& controller = *interface.controller;
  controller.setModuleObject(&moduleObject);
  QObject::connect(&moduleObject, &platform::ModuleObject::refreshRequested, &controller,
                   &ViewController::refresh);
  moduleObject.setDisplayPath(platform::displayPath());
  moduleObject.setCanvasSource([&interface] { return interface.canvas->plainText(); });
  moduleObject.setRunSource([&delegate] { return runState(delegate); });
  moduleObject.setFrameSource(
      [&interface] { return platform::stringFromRect(QRectF(interface.window.geometry())); });
  controller.viewDidLoad();
  // Hints set before the window is mapped are the ones the window manager maps it with.
  interface.window.winId();
  platform::joinAllDesktops(interface.window.windowHandle());
  platform::setWindowLevel(interface.window.windowHandle(), platform::WindowLevel::Floating);
  interface.window.show();
  controller.viewDidAppear();

  delegate.applicationDidFinishLaunching();
  platform::SessionEnd session([&delegate] { delegate.applicationWillTerminate(); });
  QObject::connect(&session, &platform::SessionEnd::busGone, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  const int status = QApplication::exec();
  delegate.applicationWillTerminate();
  return status;
}

}  // namespace pellimo::app
