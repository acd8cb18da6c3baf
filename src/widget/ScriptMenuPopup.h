// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>
#include <functional>

#include "runner/ScriptMenu.h"

namespace pellimo::widget {

/// The menu a script's lines after "---" make, owned by `parent`: an item with an action is
/// enabled and hands the action to `run` when chosen, one without is a disabled label, and an
/// item followed by deeper ones opens them as its submenu.
QMenu* makeScriptMenu(const runner::ScriptMenu& script, QWidget* parent,
                      const std::function<void(const runner::LineAction&)>& run);

}  // namespace pellimo::widget
