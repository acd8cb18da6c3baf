// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EditorLoader.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibrary>

namespace pellimo::app {

namespace {

/// The module sits beside the program, in the build tree as where it is installed.
widget::MakeEditor loadEntryPoint() {
  QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/pellimo-editor.so"));
  // Every symbol is bound at once, so that a module that does not fit this program fails here
  // rather than on some later call; the editor's objects outlive any unloading.
  module.setLoadHints(QLibrary::ResolveAllSymbolsHint | QLibrary::PreventUnloadHint);
  const auto make = reinterpret_cast<widget::MakeEditor>(module.resolve(widget::kMakeEditorSymbol));
  if (!make) {
    qWarning().noquote() << "pellimo-widget: cannot load the editor:" << module.errorString();
  }
  return make;
}

}  // namespace

std::unique_ptr<widget::EditorController> makeEditor(widget::ViewController& host) {
  static widget::MakeEditor make = nullptr;
  if (!make) make = loadEntryPoint();
  if (!make) return nullptr;
  return std::unique_ptr<widget::EditorController>(make(host));
}

}  // namespace pellimo::app
